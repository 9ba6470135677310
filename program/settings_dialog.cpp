#include "program/settings_dialog.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/cipher.h"
#include "i18n/message_ids.h"
#include "program/program.h"

namespace morvela {

namespace {

int ToRange(int value, int lo, int hi) {
  return std::clamp(value, lo, hi);
}

// The days field as a whole number 0..365; a value that is no number reads as 0.
int WholeDays(double days) {
  if (!std::isfinite(days)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(days, 0.0, double(kMaxDaysAhead))));
}

}  // namespace

TfNastavenie::TfNastavenie(Program& program, std::function<void()> app_restart,
                           std::function<void()> find_new_version)
    : p_(program),
      app_restart_(std::move(app_restart)),
      find_new_version_(std::move(find_new_version)),
      write_key_([this](std::string_view key, int value) {
        return WriteSettingValues(p_.SettingsPath(),
                                  {{SettingSection(key), key, std::to_string(value)}});
      }) {}

void TfNastavenie::FormShow() {
  const Messages& m = p_.messages;
  texts_.caption = "  " + m.Msg(msg::kProgramSetting);
  texts_.ok = m.Msg(msg::kOk);
  texts_.back = m.Msg(msg::kBack);
  texts_.tabs = {m.Msg(msg::kTipsTab), m.Msg(msg::kLanguageTab), m.Msg(msg::kUpdateHint),
                 m.Msg(msg::kVersionTab)};
  texts_.tipping_for = m.Msg(msg::kTippingALeagueFor);
  texts_.days_ahead = m.Msg(msg::kDaysAhead);
  texts_.three_way = m.Msg(msg::kShowThreeWayTips);
  texts_.select_language = m.Msg(msg::kSelectProgramLanguage);
  texts_.languages = {m.Msg(msg::kEnglishLanguage), m.Msg(msg::kGermanLanguage),
                      m.Msg(msg::kSlovakLanguage), m.Msg(msg::kItalianLanguage)};
  texts_.database_check = m.Msg(msg::kUpdateResultsDatabase);
  texts_.program_check = m.Msg(msg::kCheckNewProgramVersion);
  texts_.check_choices = {m.Msg(msg::kWhenProgramStarts), m.Msg(msg::kManually)};
  texts_.version = m.NastavJazykPar(msg::kProgramVersionCase, kProgramVersion);
  texts_.database_version =
      m.NastavJazykPar(msg::kDatabaseVersionCase, DecipherText(p_.db_date, true));
  texts_.find_new_version = m.Msg(msg::kFindNewVersion);
  shifted_ = m.Language() == kItalian;

  const Settings& s = p_.settings;
  controls_.days = s.Dni;
  controls_.database_check = s.Dbf;
  controls_.program_check = s.App;
  controls_.three_way = s.Tip3;
  controls_.language_button = p_.messages.Language() - 1;
  controls_.tab = kTipsTab;
  failed_key_.clear();
  open_ = true;
}

void TfNastavenie::btnUlozClick() {
  const SettingsDialogControls& c = controls_;
  const int chosen = c.language_button >= 0 && c.language_button < kLanguageCount
                         ? c.language_button + 1
                         : p_.messages.Language();
  Settings& s = p_.settings;
  // Left on the running language, the stored one stays: a run in another language for once
  // (--lang) must not become the stored choice because the user saved the days.
  const int lang_to_store =
      chosen == p_.messages.Language() && s.Lang >= 1 && s.Lang <= kLanguageCount ? s.Lang : chosen;
  // Each step writes its key and, once it is in the file, takes it over into memory.
  struct Step {
    std::string_view key;
    int value;
    std::function<void(int)> take_over;
  };
  const Step steps[] = {
      {"Dni", WholeDays(c.days), [&s](int v) { s.Dni = v; }},
      {"Dbf", ToRange(c.database_check, 0, 1), [&s](int v) { s.Dbf = v; }},
      {"App", ToRange(c.program_check, 0, 1), [&s](int v) { s.App = v; }},
      {"Lang", lang_to_store, nullptr},  // this run keeps the language it started with
      {"3tip", c.three_way ? 1 : 0, [&s](int v) { s.Tip3 = v != 0; }},
  };
  failed_key_.clear();
  for (const Step& step : steps) {
    if (!write_key_(step.key, step.value)) {
      failed_key_ = step.key;
      break;
    }
    if (step.take_over) step.take_over(step.value);
  }
  open_ = false;
  if (!failed_key_.empty()) {
    // Closing silently would let the user believe the settings were kept.
    p_.ui.ShowMessage(MessageKind::kError,
                      p_.messages.Filled(msg::kSettingsNotWritten, {p_.SettingsPath()}));
    // Without Lang in the file a restart would come up in the old language again.
    const bool lang_written = failed_key_ == "3tip";
    if (!lang_written) return;
  }
  if (chosen != p_.messages.Language()) {
    p_.ui.ShowMessage(MessageKind::kInformation, MessageText(msg::kRestartForLanguage, chosen));
    if (app_restart_) app_restart_();
  }
}

void TfNastavenie::btnKoniecClick() {
  open_ = false;
}

void TfNastavenie::JvTransparentButton1Click() {
  if (find_new_version_) {
    find_new_version_();
  } else {
    p_.ui.ShowMessage(MessageKind::kInformation, p_.messages.Msg(msg::kNotAvailable));
  }
}

}  // namespace morvela
