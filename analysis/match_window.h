// The match tip window `TForm5` without its toolkit. It analyses one pairing of the current
// competition: a chart of both teams' ratings through the season (goals in the under/over
// mode), each team's ratings and forms (goal averages and goal forms), the head-to-head record,
// the tip with its tendency, the bookmaker's odds of the coming fixture with the differences
// against the window's percentages, and the link to the bet page.
//
// The window has two states: *choice* (after FormShow: only the choosers and the OK and Back
// buttons) and *analysed* (after ZobrazOkno: full height, every figure shown). A view draws
// everything from here and forwards the clicks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/match_history.h"
#include "analysis/pairing_analysis.h"
#include "analysis/second_opinion.h"
#include "analysis/under_over_analysis.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "rating/competition_teams.h"
#include "tables/league_tables.h"

namespace morvela {

struct Program;
struct PredictionState;
class Connection;
class Messages;

struct ScreenColour {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const ScreenColour&) const = default;
};

inline constexpr ScreenColour kFigureGreen{0, 128, 0};
inline constexpr ScreenColour kFigureRed{255, 0, 0};
inline constexpr ScreenColour kLabelBlue{0, 0, 255};
inline constexpr ScreenColour kLabelBlack{0, 0, 0};
inline constexpr ScreenColour kAwayLineColour{0, 128, 255};

// A text element of the window.
struct WindowLabel {
  std::string text;
  ScreenColour color = kLabelBlack;
  bool bold = false;
  bool large = false;  // the tip line's larger font
  bool visible = false;
};

struct ChartPoint {
  double x = 0;
  double y = 0;
  std::string label;  // the match number
};

struct ChartSeries {
  std::string title;
  ScreenColour color;
  int width = 2;
  bool in_legend = true;
  bool active = false;
  std::vector<ChartPoint> points;
};

// A team chooser: items and the selected index (-1: none).
struct TeamChooser {
  std::vector<TeamItem> items;
  int index = -1;
  const TeamItem* Selected() const {
    return index >= 0 && index < static_cast<int>(items.size()) ? &items[index] : nullptr;
  }
  std::string Text() const { return Selected() ? Selected()->name : std::string(); }
};

// The windows the match window opens: the match history lists ("Latest matches" under a team's
// column, "Show matches" beside the head-to-head line) and the league tables window.
class MatchWindowLinks : public HistoryListLinks {
 public:
  // "Table home" / "Table away": the league tables window with `context` (the home or away
  // standings, or goals in the under/over mode, and the match), zone colouring off, the two
  // teams highlighted.
  virtual void ShowLeagueTable(const TableContext& context) = 0;
};

// The captions both match analysis windows (match tip, live tip) show: the choice band and the
// link buttons.
struct PairingCaptions {
  std::string ok, back, home_head, guest_head;
  std::string show_matches, latest_matches, table_home, table_away;
};
PairingCaptions PairingWindowCaptions(const Messages& messages);

// Element numbers of the window's labels.
enum MatchLabel : int {
  kTipLine = 3,
  kOddsLine = 4,
  kDifferenceLine = 5,
  kHomeRating = 6,
  kAwayRating = 7,
  kHomeVenueRating = 8,
  kAwayVenueRating = 9,
  kHomeForm = 10,
  kAwayForm = 11,
  kHeadToHead = 12,
  kHomeVenueForm = 13,
  kAwayVenueForm = 14,
};

// The chart's series.
enum MatchSeries : int { kHomeLine = 0, kAwayLine = 1, kGoalLine = 2 };

inline constexpr int kChoiceHeight = 108;
inline constexpr int kAnalysedHeight = 572;
inline constexpr int kWindowWidth = 592;
inline constexpr int kRaiseBy = 232;

class TForm5 {
 public:
  explicit TForm5(Program& program);

  TeamChooser home, away;  // ComboBox1, ComboBox2

  // The tips list's hand-over: one item in each chooser, both selected.
  void PresetTeams(const TeamItem& h, const TeamItem& a);
  // While set, FormShow analyses at once with DATUM and ID of the tips list's current row
  // (the data module's Work3).
  void SetOpenedFromTips(bool value) { opened_from_tips_ = value; }
  bool OpenedFromTips() const { return opened_from_tips_; }
  // The reference date of an analysis not opened from the tips list: today when unset.
  void SetReferenceDate(std::optional<Date> date) { reference_ = date; }

  // Opening: captions, the choice state; analyses at once when opened from the tips list.
  void FormShow();
  // OK: ZobrazOkno for the chosen pairing (nothing while a chooser has no selection).
  void Button1Click();
  // The analysis. False when it could not be made (the user has been told why; the window
  // stays in, or returns to, the choice state). Database errors pass through.
  bool ZobrazOkno();

  // The chart hint for the pointer on team line `series` (kHomeLine, kAwayLine) at hit index i
  // (the segment from point i to i + 1, or point i itself). The last point of a line shows the
  // hint of the segment that leads to it: the team's last match. Empty when there is nothing
  // to show (no analysis, no such point, a line without matches).
  std::string Chart1MouseMove(int series, int index) const;

  // The link buttons. The history lists take the main window's result mode and the chosen
  // teams; nothing happens while a chooser has no selection.
  void LatestMatchesClick(bool home_column, MatchWindowLinks& links) const;
  void ShowMatchesClick(MatchWindowLinks& links) const;
  void TableClick(bool home_table, MatchWindowLinks& links) const;
  // "Bet on match": opens BetLink() in the browser.
  void BetClick() const;

  // Where the window stands: the view reports its top and the screen's top; the first
  // expansion after WindowRaised was cleared moves it up by 232 pixels, not above the screen.
  void SetTop(int top, int screen_top) {
    top_ = top;
    screen_top_ = screen_top;
  }
  int Top() const { return top_; }

  // What the view draws.
  bool Analysed() const { return analysed_; }
  int ClientHeight() const { return analysed_ ? kAnalysedHeight : kChoiceHeight; }
  int ClientWidth() const { return kWindowWidth; }
  const std::string& Caption() const { return caption_; }
  // The second opinion beside the tip (after an analysis): the goal model's and the market's
  // figures, and the two lines the window shows under the difference line.
  const SecondOpinion& SecondOpinionFigures() const { return second_opinion_; }
  const std::vector<std::string>& SecondOpinionLines() const { return second_opinion_lines_; }
  const PairingCaptions& Captions() const { return captions_; }
  const std::string& BetCaption() const { return bet_caption_; }
  const std::string& BottomAxisTitle() const { return bottom_axis_; }
  const std::string& LeftAxisTitle() const { return left_axis_; }
  const WindowLabel& Label(int n) const { return labels_.at(static_cast<size_t>(n)); }
  const ChartSeries& Series(int s) const { return series_.at(static_cast<size_t>(s)); }
  // The link buttons and the tip panel are visible in the analysed state; "Bet on match" only
  // with an event id.
  bool LinksVisible() const { return analysed_; }
  bool BetVisible() const { return analysed_ && !bet_event_id_.empty(); }

  // Figures of the latest analysis.
  ResultMode Mode() const { return mode_; }
  const std::string& BetEventId() const { return bet_event_id_; }
  const std::string& OddsLine() const { return odds_line_; }
  const std::string& DifferenceLine() const { return difference_line_; }
  std::string BetLink() const;
  const PairingFigures& Pairing() const { return pairing_; }
  const GoalFigures& Goals() const { return goal_figures_; }
  const TeamTable& Teams() const { return teams_; }
  const GoalTable& GoalSlots() const { return goals_; }
  Date Reference() const { return reference_used_; }

 private:
  void ChoiceState();
  void RatingFigures();
  void GoalFiguresAndChart();
  void Odds(const std::optional<int64_t>& match_id);
  std::string TipLine() const;
  void Expand();

  Program& p_;
  bool opened_from_tips_ = false;
  std::optional<Date> reference_;
  bool analysed_ = false;
  ResultMode mode_ = ResultMode::kFullTime;
  int top_ = 0, screen_top_ = 0;

  std::string caption_, bet_caption_, bottom_axis_, left_axis_;
  PairingCaptions captions_;
  std::array<WindowLabel, 15> labels_{};
  std::array<ChartSeries, 3> series_{};

  TeamTable teams_{};
  GoalTable goals_{};
  PairingFigures pairing_;
  GoalFigures goal_figures_;
  Date reference_used_{};
  std::string bet_event_id_, odds_line_, difference_line_;
  SecondOpinion second_opinion_;
  std::vector<std::string> second_opinion_lines_;
};

// The rating figures of a full-time or half analysis (Label6 to Label14) with their colours:
// ratings green above 1499, forms green from 0; the head-to-head line blue and bold. `labels`
// is indexed by element number.
struct RatingFigureValues {
  uint16_t rating_h = 0, rating_a = 0, rating_home_h = 0, rating_away_a = 0;
};
void FillRatingLabels(const Messages& m, const RatingFigureValues& r, const PairingFigures& f,
                      std::span<WindowLabel> labels);

// The odds of a fixture and the differences against the window's percentages.
struct FixtureOdds {
  std::string odds_line;        // "Not available" when there is no row or all odds are 0
  std::string difference_line;  // empty without a row
  std::string bet_event_id;
};
// The odds row of the tip's match (`match_id`) or else of the pairing's next unplayed fixture
// in `competition`, in the columns of `mode`; the differences use the percentages of `s`.
FixtureOdds FindFixtureOdds(Connection& conn, const Messages& m, ResultMode mode,
                            const std::string& competition, int64_t home, int64_t away,
                            const std::optional<int64_t>& match_id, const PredictionState& s);

// "Tip: " + tip + "    " + "The tendency (win-draw-lose) %:  " + the three percentages.
std::string TendencyTipLine(const Messages& m, const PredictionState& s);

// Whether both choosers name one team, which the analysis windows do not analyse: then the
// error "The same two teams are selected !" (the result editor's) has been shown.
bool RefuseSameTeams(Program& program, const TeamItem& home, const TeamItem& away);

// The tip search (FindTip): fills both choosers of `window` with the teams of the current
// competition in the user's language (sorted by name), selects the first in the home chooser
// and the second in the away chooser (none when there is no second), and clears WindowRaised.
// The caller then centres the window on the main window and shows it modally.
void FindTip(Program& program, TForm5& window);

}  // namespace morvela
