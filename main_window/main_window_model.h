// The main window `TForm1` without its toolkit: where the user picks a league (and, if wanted,
// a past season of it) and a result mode, and from where the functions start. It holds what a
// view draws — captions, hints, enable and visible flags, where each league button stands, the
// status line, the season chooser and the result-mode tabs — and what every click does. The
// current selection it changes lives in the program (program.selection), where every other
// window reads it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/result_mode.h"
#include "i18n/leagues.h"
#include "update/database_update.h"

namespace morvela {

struct Program;
class TipsListView;
class ResultsBrowserView;

// A button as the view draws it.
struct ButtonState {
  std::string caption;
  std::string hint;
  bool enabled = true;
  bool visible = true;
};

// A league button: the league it loads, its flag and where it stands in the four rows of five.
struct LeagueButton {
  int league = 0;         // ID_LIGA
  std::string_view name;  // the control's name, e.g. "BitBtn8"
  int flag = 0;           // picture index in the flag set
  int row = 0;            // 0..3
  int column = 0;         // 0..4
  int left = 0, top = 0;  // position in the window's design, in pixels
  ButtonState state;
};

// The functions, numbered as their buttons `Button1` .. `Button10`.
enum FunctionButton : int {
  kArchiveButton = 1,
  kTablesButton = 2,
  kResultsButton = 3,
  kFormButton = 4,
  kTipForTodayButton = 5,
  kTipsForTheWeekButton = 6,
  kTippingALeagueButton = 7,
  kSearchForTipButton = 8,
  kValueTipsButton = 9,
  kLiveTipButton = 10,
};
inline constexpr int kFunctionButtonCount = 10;

// The league buttons' columns and rows in the window's design.
inline constexpr std::array<int, 5> kLeagueColumnsPx = {0, 119, 238, 357, 476};
inline constexpr std::array<int, 4> kLeagueRowsPx = {143, 174, 205, 236};

class TForm1 {
 public:
  explicit TForm1(Program& program);

  // Captions and hints of every control in the program's language, the league buttons in that
  // language's order, the four result-mode tabs; selects tab 0.
  void ApplyLanguage();

  // The state start-up leaves: no league, the functions switched off, the season chooser
  // hidden with its confirm button disabled, the status line "Select a League".
  void NoLeagueState();

  // A league button: status line, current league, its "Active" season loaded, the functions
  // on, the season chooser hidden. Database errors pass through (the selection then holds the
  // league with an empty competition and the functions stay as they were).
  void LeagueButtonClick(int league);

  // "Archive": hides the tip buttons, fills the season list with the league's seasons in their
  // order (the last one selected) and shows the chooser with its confirm button disabled.
  void Button1Click();
  // A click in the season list: selects entry `index` and enables the confirm button when the
  // list then shows a non-empty label.
  void SeasonListClick(int index);
  // The chooser's confirm button: loads the selected season, hides the chooser, switches the
  // functions on and, for a past season, disables "Search for tip" and "LIVE tip"; the status
  // line names the season.
  void BitBtn13Click();

  // Selects a result-mode tab (0 full time .. 3 under/over): the program's result mode.
  void SelectTab(int index);

  // The tip buttons run their tip run, which shows its list through `view`. False when the
  // run found nothing to tip (it has told the user).
  bool Button5Click(TipsListView& view);  // Tip for today
  bool Button6Click(TipsListView& view);  // Tips for the week
  bool Button7Click(TipsListView& view);  // Tipping a League
  bool Button9Click(TipsListView& view);  // Value tips

  // "Results": the browser with the current competition's own list, shown through `view`; the
  // under/over mode shows full time while it is open.
  void Button3Click(ResultsBrowserView& view);

  // The program's web page in the user's language: the address NASTAVENIE holds for it, or
  // the program's default address for that language when the column is empty.
  std::string WebPageAddress();
  // The web page button: opens WebPageAddress() in the browser.
  void TBHelpClick();

  // The "Update" button: asks the server for its database date, offers a newer results
  // database, or with a current one the odds update. After an install the window is back in
  // its no-league state. kEndProgram: no database is connected any more and the program must
  // end.
  UpdateOutcome TBUpdateClick();
  // "Find a new version" of the settings dialog.
  void FindNewVersion() { updater_.FindNewVersion(); }
  // The checks once the window is on screen (the start-up's posted message): the compulsory
  // install, the program version and the database date. False when the program must end.
  bool StartupUpdateCheck();
  // The update checks' steps, for a window that asks the server on a worker thread.
  Updater& Updates() { return updater_; }
  // Shows what the start-up checks found (Updater::ShowStartupFindings); after an install the
  // window is back in its no-league state, as after the "Update" button. False when the
  // program must end.
  bool ShowStartupFindings(const ServerCheckPlan& plan, const ServerCheckResult& found);

  const std::string& Caption() const;
  // The window's title: the caption, then the loaded league in the program's language and,
  // for a past season, that season ("  Morvela 1.0  -  England 2008/2009").
  std::string WindowTitle() const;
  // The league buttons in their arrangement order, left to right and top to bottom.
  const std::array<LeagueButton, kLeagueCount>& LeagueButtons() const { return leagues_; }
  // Button1 .. Button10.
  const ButtonState& Function(int button) const;
  const ButtonState& HelpButton() const { return help_; }
  const ButtonState& SettingsButton() const { return settings_; }
  const ButtonState& UpdateButton() const { return update_; }
  const std::string& Status() const { return status_; }
  const std::array<std::string, kResultModeCount>& TabCaptions() const { return tabs_; }
  int Tab() const;

  // The season chooser.
  bool ChooserVisible() const { return chooser_visible_; }
  const std::string& ChooserLabel() const { return chooser_label_; }
  const std::vector<std::string>& Seasons() const { return seasons_; }
  int SeasonIndex() const { return season_index_; }  // -1 when the list is empty
  const ButtonState& ConfirmButton() const { return confirm_; }

 private:
  // The enable state of the functions (on: the league functions enabled; either way the tip
  // buttons visible).
  void SwitchFunctions(bool on);
  ButtonState& Button(int button);
  std::string SelectedSeason() const;

  Program& p_;
  std::array<LeagueButton, kLeagueCount> leagues_{};
  std::array<ButtonState, kFunctionButtonCount> functions_{};
  ButtonState help_, settings_, update_;
  std::string status_;
  std::array<std::string, kResultModeCount> tabs_{};
  bool chooser_visible_ = false;
  std::string chooser_label_;
  std::vector<std::string> seasons_;
  int season_index_ = -1;
  ButtonState confirm_;
  Updater updater_;
};

}  // namespace morvela
