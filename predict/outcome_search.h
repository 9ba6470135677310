// The outcome frequency search: how did past matches with a rating difference close to a coming
// match's difference end? The search looks first among the past matches of one league, then
// among those of all leagues, each time widening a window around the difference until enough
// matches are found, and writes the home-win, draw and away-win percentages of both passes,
// averaged, into the prediction state. Tip selection turns them into a tip afterwards.
//
// Besides FindOutcomeFrequencies itself, the header offers the building blocks of the search
// (starting widths, statements, the widening loop, the percentages of a pass and their
// combination), so that the in-memory reference computation (predict/outcome_reference.h)
// follows exactly the same rules instead of restating them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "program/prediction_state.h"

namespace morvela {

enum class SearchMode : uint8_t {
  kList = 1,   // tip runs and value tips: the league of the fixture row the run stands on
  kMatch = 2,  // match tip window: the current league; full time also finds the likely score
  kLive = 3,   // live tip: one half-time score only, full-time outcomes, 5 matches suffice
};

// What the search reads besides its mode and difference.
struct SearchContext {
  // Full time or a half (under/over has no outcome search; a live search counts full-time
  // outcomes whatever the mode).
  ResultMode result_mode = ResultMode::kFullTime;
  // League of the league pass as decimal text, pasted into the SQL as it is: in list search the
  // ID_LIGA of the caller's fixture row, in match and live search the current league.
  std::string league;
  // The half-time score the user entered for a live search.
  int ht_home = 0, ht_away = 0;
  // Backtests only: when set, every statement gets " AND DATUM<#yyyy-mm-dd#" appended, so that
  // only matches played strictly before that day are counted and a backtest never sees the
  // results it is meant to predict. Normal runs leave it unset and send the statements
  // unchanged.
  std::optional<Date> before;
};

// The half-widths each pass tried, in order, and the number of statements run.
struct SearchTrace {
  std::vector<int> league_widths;
  std::vector<int> all_widths;
  int statements = 0;
  uint16_t all_home = 0, all_draw = 0, all_away = 0;  // percentages of the all-leagues pass
};

// Runs the search for a match with rating difference d and writes HomePercent, DrawPercent,
// AwayPercent and the three League...Percent fields of state; in match search with full-time
// result mode it also writes LikelyScore (the most frequent full-time score of the matches
// found in both passes, ties to fewer home goals, then fewer away goals; "0:0" when none).
// Every other call leaves LikelyScore as it was.
//
// The statements run through conn.Select one after the other; no cursor of the caller moves.
// Database errors pass through. Throws std::invalid_argument for a list or match search in
// result mode 3 (under/over tips come from the fixture's UNDER field, not from this search),
// and for a result mode outside 0..3.
void FindOutcomeFrequencies(Connection& conn, PredictionState& state, const SearchContext& ctx,
                            SearchMode mode, int32_t d, SearchTrace* trace = nullptr);

// ---- Building blocks shared with the in-memory reference ----

// Widths never grow past these half-widths (league pass, all-leagues pass).
inline constexpr int kLeagueWidthLimit = 89;
inline constexpr int kAllLeaguesWidthLimit = 55;

// Starting half-width of each pass for difference d, from q = |d| div 100:
//   q               0  1  2  3  4  5   6   7   8   9  10
//   league pass     0  1  2  3  5  8  13  21  34  55  89
//   all leagues     0  0  1  2  3  5   8  13  21  34  55
// Differences of 1100 or more in magnitude start at the last column (89 and 55): such a match
// is already beyond every tabulated distance, and the widest window is the one that still
// finds comparable matches for it.
int LeagueStartWidth(int32_t d);
int AllLeaguesStartWidth(int32_t d);

// Matches a pass needs before it stops widening: 5 in live search, 12 otherwise.
int MinimumMatches(SearchMode mode);

// The statement of each pass for the window lo..hi (lo = d - w, hi = d + w), including the
// `before` restriction when set. Throws std::invalid_argument where the search is undefined.
std::string LeaguePassStatement(const SearchContext& ctx, SearchMode mode, int64_t lo, int64_t hi);
std::string AllLeaguesPassStatement(const SearchContext& ctx, SearchMode mode, int64_t lo,
                                    int64_t hi);

// The widening loop of a pass: count_at(w) is evaluated for w = start, start + 1, ... until it
// returns at least minimum or w has reached limit (a start beyond the limit is tried once).
// Returns the last width tried; only that window's matches are counted.
template <class CountAt>
int WidenWindow(int start, int limit, int minimum, CountAt&& count_at) {
  int w = start;
  while (count_at(w) < minimum && w < limit) ++w;
  return w;
}

// The outcome value of a row: the trimmed text read as an integer; nullopt when it is not one.
// Only 1 (home win), 0 (draw) and 2 (away win) go into a counter; any other row still counts
// in the pass's number of matches.
std::optional<int64_t> OutcomeValue(const Field& field);

// The matches of one pass's last window.
struct OutcomeTally {
  int64_t matches = 0;
  int64_t home = 0, draw = 0, away = 0;
  void Add(std::optional<int64_t> outcome);
};

struct OutcomePercentages {
  uint16_t home = 0, draw = 0, away = 0;
  bool AllZero() const { return home == 0 && draw == 0 && away == 0; }
};

// Percentages of a pass: counter * 100 / matches, rounded exactly with ties to even. A pass
// without matches gives 0/0/0 in live search, otherwise 100/0/0 for d > 0, 0/0/100 for d < 0
// and 0/0/0 for d = 0.
OutcomePercentages PassPercentages(const OutcomeTally& tally, SearchMode mode, int32_t d);

// The final percentages: each the mean of the two passes, rounded with ties to even. A live
// search whose league pass is 0/0/0 takes the all-leagues pass as it is, and one whose
// all-leagues pass is 0/0/0 the league pass.
OutcomePercentages CombinePasses(const OutcomePercentages& league, const OutcomePercentages& all,
                                 SearchMode mode);

}  // namespace morvela
