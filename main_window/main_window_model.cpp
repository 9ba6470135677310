#include "main_window/main_window_model.h"

#include "core/helpers.h"
#include "program/program.h"
#include "program/selection.h"
#include "tips/tip_runs.h"
#include "tips/value_tips.h"

namespace morvela {

namespace {

constexpr const char* kActiveSeason = "Active";

// Message-table entries of the function buttons' captions, Button1 .. Button10.
constexpr std::array<int, kFunctionButtonCount> kFunctionCaptions = {69, 70, 71, 162, 72,
                                                                     73, 74, 75, 169, 171};
// Message-table entries of the result-mode tabs.
constexpr std::array<int, kResultModeCount> kTabCaptions = {155, 156, 157, 181};
constexpr int kChooseSeasonMessage = 17;
constexpr int kConfirmMessage = 100;
constexpr int kSelectALeagueMessage = 76;
constexpr int kWebPageHint = 42;
constexpr int kSettingHint = 43;
constexpr int kUpdateHint = 44;
constexpr int kSeasonLoadedCase = 1;

std::string Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// The upper-case partner of a code point of Latin-1 or Latin Extended-A; others stay.
char32_t UpperCodePoint(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  // Latin Extended-A pairs its letters upper-lower; two runs start their pairs on an odd point.
  const bool odd_run = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  const bool even_run = (c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177);
  if (even_run && c % 2 == 1) return c - 1;
  if (odd_run && c % 2 == 0) return c - 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string UpperCaseText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    // Two-byte sequences cover every letter that has a partner here; the rest is copied.
    if ((b & 0xE0) == 0xC0 && i + 1 < text.size()) {
      const char32_t c =
          (char32_t{b & 0x1Fu} << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      AppendUtf8(out, UpperCodePoint(c));
      i += 2;
    } else {
      out += b < 0x80 ? static_cast<char>(UpperCodePoint(b)) : text[i];
      ++i;
    }
  }
  return out;
}

TForm1::TForm1(Program& program) : p_(program) {
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
    b.state.caption = m.Msg(info.caption_message);
    b.state.hint = m.Msg(info.hint_message);
  }
  for (int n = 1; n <= kFunctionButtonCount; ++n)
    Button(n).caption = m.Msg(kFunctionCaptions[static_cast<size_t>(n - 1)]);
  help_.hint = m.Msg(kWebPageHint);
  settings_.hint = m.Msg(kSettingHint);
  update_.hint = m.Msg(kUpdateHint);
  for (int t = 0; t < kResultModeCount; ++t)
    tabs_[static_cast<size_t>(t)] =
        "  " + UpperCaseText(m.Msg(kTabCaptions[static_cast<size_t>(t)])) + "  ";
  chooser_label_ = "      " + m.Msg(kChooseSeasonMessage);
  confirm_.caption = m.Msg(kConfirmMessage);
  SelectTab(0);
}

void TForm1::NoLeagueState() {
  SwitchFunctions(false);
  chooser_visible_ = false;
  confirm_.enabled = false;
  status_ = p_.messages.Msg(kSelectALeagueMessage);
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

int TForm1::Tab() const {
  return static_cast<int>(ModeIndex(p_.selection.result_mode));
}

void TForm1::SelectTab(int index) {
  if (auto mode = ResultModeFromIndex(index)) p_.selection.result_mode = *mode;
}

void TForm1::LeagueButtonClick(int league) {
  status_ = p_.messages.Msg(League(league).status_message);
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
  for (; !q.Eof(); q.Next()) seasons_.push_back(Trim(q.FieldByName("ROCNIK").AsString()));
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
  status_ = p_.messages.NastavJazykPar(kSeasonLoadedCase, label);
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

std::string TForm1::WebPageAddress() {
  const int lang = p_.messages.Language();
  const char* sql = lang == kGerman   ? "SELECT WEB_DE AS WEB FROM NASTAVENIE"
                    : lang == kSlovak ? "SELECT WEB FROM NASTAVENIE"
                                      : "SELECT WEB_EN AS WEB FROM NASTAVENIE";
  Query q(p_.dm.ADOConnection1);
  q.Open(sql);
  const std::string address = q.Eof() ? "" : Trim(q.FieldByName("WEB").AsString());
  if (!address.empty()) return address;
  return lang == kGerman   ? kDefaultWebAddressDe
         : lang == kSlovak ? kDefaultWebAddress
                           : kDefaultWebAddressEn;
}

void TForm1::TBHelpClick() {
  p_.ui.OpenUrl(WebPageAddress());
}

}  // namespace morvela
