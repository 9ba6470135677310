// The live tip window `TfLive` without its toolkit. For a match under way whose half-time score
// is known it shows the full-time analysis before the match (ratings, forms, head-to-head
// record, the pre-match tip, the fixture's odds and the difference line) and a second tip from
// the live search, which only counts past matches with the same half-time score, for a
// difference whose head-to-head part prefers the pair's meetings with that half-time score.
// A small calculator compares the six in-play odds the user types with the live percentages.
//
// The window works in full time only: while it is open the main window's result mode is full
// time, and the remembered mode returns when it closes. States: *choice* (after FormShow: the
// choosers, the half-time score, OK and Back) and *analysed* (after OK: both sections shown).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/match_window.h"
#include "analysis/pairing_analysis.h"
#include "core/result_mode.h"
#include "program/prediction_state.h"
#include "tables/league_tables.h"

namespace morvela {

struct Program;

// Element numbers of the live window's labels beyond those it shares with the match window
// (Label3 to Label14).
enum LiveLabel : int {
  kHalfTimeHead = 15,   // "Enter Halftime result"
  kBeforeMatch = 16,    // "Information before the match"
  kAfterHalfTime = 17,  // "Tip after halftime 1:0"
  kLiveHeadToHead = 18,
  kLiveTipLine = 19,
  kEnterOdds = 20,
  kDifferencesHead = 27,
  kFirstLiveDifference = 28,  // 28..33: the differences of 1, 0, 2, 10, 02, 12
};

inline constexpr int kLiveChoiceHeight = 150;
inline constexpr int kLiveAnalysedHeight = 488;
inline constexpr int kLiveRaiseBy = 170;
inline constexpr int kLiveOddsCount = 6;
inline constexpr int kMaxHalfTimeGoals = 9;
inline constexpr double kMinLiveOdds = 1.00;
inline constexpr double kMaxLiveOdds = 99.99;

// Which meetings moved the live difference.
enum class LiveMeetings : uint8_t {
  kNone,         // no earlier meeting of any kind: D2 = D0
  kSameScore,    // meetings with the entered half-time score
  kSameOutcome,  // meetings with the same half-time outcome (lead, draw, deficit)
  kAllMeetings,  // every meeting at this venue
};

// The colour of a live difference: red below 0, green above, black at 0.
ScreenColour LiveDifferenceColour(int difference);

// A live percentage minus the percentage the in-play odds imply.
int LiveDifference(int percent, double odds);

// The percentages of the outcomes 1, 0, 2, 10, 02, 12 from a prediction state.
std::array<int, kLiveOddsCount> OutcomePercents(const PredictionState& s);

class TfLive {
 public:
  explicit TfLive(Program& program);

  TeamChooser home, away;  // ComboBox1, ComboBox2

  // Opening from the main window: remembers its result mode and switches under/over to full
  // time, fills both choosers with the current competition's teams (first and second item
  // selected). Closed() gives the remembered mode back.
  void Open();
  void Closed();

  // Opening: captions, full time, the choice state; odds entries 1.00, differences "0".
  void FormShow();
  // OK: ZobrazOkno. Back: the view closes the window and calls Closed().
  void Button1Click() { ZobrazOkno(); }
  // The analysis. False when it could not be made (the user has been told why; the window
  // stays in, or returns to, the choice state). Database errors pass through.
  bool ZobrazOkno();

  // The half-time score (PB1, PB2): 0 to 9 each; false (nothing changed) outside.
  bool SetHalfTime(int home_goals, int away_goals);
  int HalfTimeHome() const { return pb1_; }
  int HalfTimeAway() const { return pb2_; }
  // An odds entry (PBS1..PBS6, index 0..5): 1.00 to 99.99; false (nothing changed) outside.
  // The entry's live difference is recomputed at once.
  bool SetOdds(int index, double odds);
  double Odds(int index) const { return odds_.at(static_cast<size_t>(index)); }

  // The history lists, in full time, their rows told apart by the choosers' texts: "Latest
  // matches" under a team's column, "Show matches" after the pre-match head-to-head line, and
  // "Show matches" after the live head-to-head line (the meetings with the entered half-time
  // score). Nothing happens while a chooser has no selection.
  void LatestMatchesClick(bool home_column, HistoryListLinks& links) const;
  void ShowMatchesClick(HistoryListLinks& links) const;
  void ShowLiveMatchesClick(HistoryListLinks& links) const;

  // "Table home" / "Table away": the league tables window with kind 1 or 2 and this window's
  // pairing as the match context.
  void TableClick(bool home_table, LeagueTablesView& view) const;

  void SetTop(int top, int screen_top) {
    top_ = top;
    screen_top_ = screen_top;
  }
  int Top() const { return top_; }

  // What the view draws.
  bool Analysed() const { return analysed_; }
  int ClientHeight() const { return analysed_ ? kLiveAnalysedHeight : kLiveChoiceHeight; }
  int ClientWidth() const { return kWindowWidth; }
  const std::string& Caption() const { return caption_; }
  const PairingCaptions& Captions() const { return captions_; }
  const WindowLabel& Label(int n) const { return labels_.at(static_cast<size_t>(n)); }
  // The goal model's chances of the final result from the entered half-time score (the second
  // half's goals at the model's rates), and the line the window shows; empty before an analysis.
  const SecondOpinion& SecondOpinionFigures() const { return second_opinion_; }
  const std::string& InPlayLine() const { return in_play_line_; }
  // The odds entries are enabled while a live tip exists.
  bool OddsEnabled() const { return analysed_ && live_tip_; }

  // Figures of the latest analysis.
  int32_t D0() const { return pairing_.difference; }
  int32_t D1() const { return pairing_.adjusted; }
  int32_t D2() const { return d2_; }
  LiveMeetings LiveMeetingsUsed() const { return live_meetings_; }
  int LiveMeetingCount() const { return live_meeting_count_; }
  bool LiveTip() const { return live_tip_; }
  const PairingFigures& Pairing() const { return pairing_; }
  const LiveTeamTable& Teams() const { return teams_; }
  // The pre-match search's results (the prediction state holds the live ones).
  const PredictionState& PreMatch() const { return pre_match_; }
  const PredictionState& Live() const { return live_; }
  const std::string& OddsLine() const { return odds_line_; }
  const std::string& DifferenceLine() const { return difference_line_; }
  int LiveWins() const { return live_wins_; }
  int LiveDraws() const { return live_draws_; }
  int LiveLosses() const { return live_losses_; }

 private:
  void ChoiceState();
  void LiveDifferenceOf(int index);

  Program& p_;
  ResultMode remembered_ = ResultMode::kFullTime;
  bool analysed_ = false;
  bool live_tip_ = false;
  int pb1_ = 0, pb2_ = 0;
  std::array<double, kLiveOddsCount> odds_{};
  int top_ = 0, screen_top_ = 0;

  std::string caption_;
  PairingCaptions captions_;
  std::array<WindowLabel, kFirstLiveDifference + kLiveOddsCount> labels_{};
  SecondOpinion second_opinion_;
  std::string in_play_line_;

  LiveTeamTable teams_{};
  PairingFigures pairing_;
  int32_t d2_ = 0;
  LiveMeetings live_meetings_ = LiveMeetings::kNone;
  int live_meeting_count_ = 0;
  int live_wins_ = 0, live_draws_ = 0, live_losses_ = 0;
  PredictionState pre_match_, live_;
  std::string odds_line_, difference_line_;
};

// The statements of the live head-to-head adjustment, in the order they are tried: meetings
// with the same half-time score, with the same half-time outcome, all meetings.
std::array<std::string, 3> LiveMeetingStatements(int64_t home, int64_t away, const Date& date,
                                                 int ht_home, int ht_away);

}  // namespace morvela
