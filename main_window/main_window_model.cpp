#include "main_window/main_window_model.h"

#include "core/helpers.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/selection.h"
#include "results/results_browser.h"
#include "tips/tip_runs.h"
#include "tips/value_tips.h"

namespace morvela {

namespace {

constexpr const char* kActiveSeason = "Active";

// Message-table entries of the function buttons' captions, Button1 .. Button10.
constexpr std::array<MessageId, kFunctionButtonCount> kFunctionCaptions = {
    msg::kArchive,     msg::kTables,         msg::kResults,        msg::kForm,
    msg::kTipForToday, msg::kTipsForTheWeek, msg::kTippingALeague, msg::kSearchForTip,
    msg::kValueTips,   msg::kLiveTip};
// Message-table entries of the result-mode tabs.
constexpr std::array<MessageId, kResultModeCount> kTabCaptions = {
    msg::kFullTime, msg::kFirstHalf, msg::kSecondHalf, msg::kUnderOver};

}  // namespace

TForm1::TForm1(Program& program) : p_(program), updater_(program) {
  ApplyLanguage();
  NoLeagueState();
}

void TForm1::ApplyLanguage() {
  const Messages& m = p_.messages;
  const std::array<int, kLeagueCount> order = ButtonOrder(m.Language());
  for (int i = 0; i < kLeagueCount; ++i) {
    const LeagueInfo& info = League(order[static_cast<size_t>(i)]);
    LeagueButton& b = leagues_[static_cast<size_t>(i)];
    b.league = info.id;
    b.name = info.button;
    b.flag = info.flag;
    b.row = i / 5;
    b.column = i % 5;
    b.left = kLeagueColumnsPx[static_cast<size_t>(b.column)];
    b.top = kLeagueRowsPx[static_cast<size_t>(b.row)];
    b.state.caption = m.Msg(MessageId{info.caption_message});
    b.state.hint = m.Msg(MessageId{info.hint_message});
  }
  for (int n = 1; n <= kFunctionButtonCount; ++n)
    Button(n).caption = m.Msg(kFunctionCaptions[static_cast<size_t>(n - 1)]);
  help_.hint = m.Msg(msg::kWebPageHint);
  settings_.hint = m.Msg(msg::kSettingHint);
  update_.hint = m.Msg(msg::kUpdateHint);
  for (int t = 0; t < kResultModeCount; ++t)
    tabs_[static_cast<size_t>(t)] =
        "  " + UpperCaseText(m.Msg(kTabCaptions[static_cast<size_t>(t)])) + "  ";
  chooser_label_ = "      " + m.Msg(msg::kChooseSeason);
  confirm_.caption = m.Msg(msg::kOk);
  SelectTab(0);
}

UpdateOutcome TForm1::TBUpdateClick() {
  const UpdateOutcome outcome = updater_.TBUpdateClick();
  // A new database may number its competitions differently: the loaded season is gone, and
  // the user picks a league again.
  if (outcome == UpdateOutcome::kInstalled) {
    p_.selection = Selection{};
    NoLeagueState();
  }
  return outcome;
}

bool TForm1::StartupUpdateCheck() {
  return updater_.StartupUpdateCheck() != InstallResult::kEndProgram;
}

bool TForm1::ShowStartupFindings(const ServerCheckPlan& plan, const ServerCheckResult& found) {
  const UpdateOutcome outcome = updater_.ShowStartupFindings(plan, found);
  // The user may have loaded a league while the server was asked.
  if (outcome == UpdateOutcome::kInstalled) {
    p_.selection = Selection{};
    NoLeagueState();
  }
  return outcome != UpdateOutcome::kEndProgram;
}

void TForm1::NoLeagueState() {
  SwitchFunctions(false);
  chooser_visible_ = false;
  confirm_.enabled = false;
  status_ = p_.messages.Msg(msg::kSelectALeague);
}

void TForm1::SwitchFunctions(bool on) {
  for (int n : {1, 2, 3, 4, 7, 8, 10}) Button(n).enabled = on;
  for (int n = 5; n <= 10; ++n) Button(n).visible = true;
}

ButtonState& TForm1::Button(int button) {
  return functions_.at(static_cast<size_t>(button - 1));
}

const ButtonState& TForm1::Function(int button) const {
  return functions_.at(static_cast<size_t>(button - 1));
}

const std::string& TForm1::Caption() const {
  return p_.caption;
}

std::string TForm1::WindowTitle() const {
  if (p_.selection.league.empty() || p_.selection.competition.empty()) return Caption();
  std::string title =
      Caption() + "  -  " + LeagueName(std::stoi(p_.selection.league), p_.messages.Language());
  if (p_.selection.season != kActiveSeason) title += " " + p_.selection.season;
  return title;
}

int TForm1::Tab() const {
  return static_cast<int>(ModeIndex(p_.selection.result_mode));
}

void TForm1::SelectTab(int index) {
  if (auto mode = ResultModeFromIndex(index)) p_.selection.result_mode = *mode;
}

void TForm1::LeagueButtonClick(int league) {
  status_ = p_.messages.Msg(MessageId{League(league).status_message});
  p_.selection.league = std::to_string(league);
  NacitajIDsutaz(p_.dm, p_.selection, kActiveSeason);
  SwitchFunctions(true);
  chooser_visible_ = false;
}

void TForm1::Button1Click() {
  for (int n = 5; n <= 10; ++n) Button(n).visible = false;
  seasons_.clear();
  Query q(p_.dm.ADOConnection1);
  q.Open("SELECT ROCNIK FROM SUTAZ WHERE ID_LIGA=" + p_.selection.league + " ORDER BY ID_POR");
  for (; !q.Eof(); q.Next())
    seasons_.push_back(std::string(TrimSpaces(q.FieldByName("ROCNIK").AsString())));
  season_index_ = static_cast<int>(seasons_.size()) - 1;
  chooser_visible_ = true;
  confirm_.enabled = false;
}

std::string TForm1::SelectedSeason() const {
  if (season_index_ < 0 || season_index_ >= static_cast<int>(seasons_.size())) return "";
  return seasons_[static_cast<size_t>(season_index_)];
}

void TForm1::SeasonListClick(int index) {
  if (index >= 0 && index < static_cast<int>(seasons_.size())) season_index_ = index;
  if (!SelectedSeason().empty()) confirm_.enabled = true;
}

void TForm1::BitBtn13Click() {
  const std::string label = SelectedSeason();
  NacitajIDsutaz(p_.dm, p_.selection, label);
  chooser_visible_ = false;
  SwitchFunctions(true);
  if (label != kActiveSeason) {
    Button(kSearchForTipButton).enabled = false;
    Button(kLiveTipButton).enabled = false;
  }
  status_ = p_.messages.NastavJazykPar(msg::kSeasonLoadedCase, label);
}

bool TForm1::Button5Click(TipsListView& view) {
  return RunTodayTips(p_, view);
}

bool TForm1::Button6Click(TipsListView& view) {
  return RunWeekTips(p_, view);
}

bool TForm1::Button7Click(TipsListView& view) {
  return RunLeagueTips(p_, view);
}

bool TForm1::Button9Click(TipsListView& view) {
  return RunValueTips(p_, view);
}

void TForm1::Button3Click(ResultsBrowserView& view) {
  OpenResultsBrowser(p_, view);
}

std::string TForm1::WebPageAddress() {
  const int lang = p_.messages.Language();
  const char* sql = lang == kGerman   ? "SELECT WEB_DE AS WEB FROM NASTAVENIE"
                    : lang == kSlovak ? "SELECT WEB FROM NASTAVENIE"
                                      : "SELECT WEB_EN AS WEB FROM NASTAVENIE";
  Query q(p_.dm.ADOConnection1);
  q.Open(sql);
  const std::string address =
      q.Eof() ? "" : std::string(TrimSpaces(q.FieldByName("WEB").AsString()));
  if (!address.empty()) return address;
  return lang == kGerman   ? kDefaultWebAddressDe
         : lang == kSlovak ? kDefaultWebAddress
                           : kDefaultWebAddressEn;
}

void TForm1::TBHelpClick() {
  p_.ui.OpenUrl(WebPageAddress());
}

}  // namespace morvela
