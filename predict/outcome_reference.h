// An in-memory reference for the list search of the outcome frequency search. It reads every
// played, non-forfeit match of one result mode once, keeps the differences sorted per league
// and overall with running outcome counts, and answers a list search with binary-searched
// window counts instead of one SQL statement per width.
//
// It applies the very same rules as FindOutcomeFrequencies (starting widths, widening limits,
// minimum of matches, fallbacks, exact rounding, averaging), so both give identical prediction
// state percentages. The benchmarks measure the SQL search against it, and the real-data tests
// cross-check the two.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/database.h"
#include "predict/outcome_search.h"
#include "program/prediction_state.h"

namespace morvela {

class OutcomeReference {
 public:
  // Loads, with one query, the league, difference and outcome of every match whose outcome of
  // the result mode (0 full time, 1 first half, 2 second half) is not empty, that is no forfeit
  // and has a stored difference. A match whose competition is missing from SUTAZ counts only
  // for all leagues, as in the SQL search. Throws std::invalid_argument for another mode.
  OutcomeReference(Connection& conn, ResultMode result_mode);

  // What FindOutcomeFrequencies writes for a list search of a fixture of league with
  // difference d: the final and the league-pass percentages (Tip, TipPercent and LikelyScore
  // stay as they are).
  void ListSearch(PredictionState& state, int64_t league, int32_t d) const;

  int64_t MatchCount() const { return static_cast<int64_t>(all_.differences.size()); }

 private:
  // Differences in ascending order; home[i], draw[i], away[i] count the outcomes among the
  // first i of them.
  struct SortedMatches {
    std::vector<int32_t> differences;
    std::vector<int64_t> home{0}, draw{0}, away{0};
    void Append(int32_t difference, std::optional<int64_t> outcome);
    OutcomeTally Window(int64_t lo, int64_t hi) const;
  };

  OutcomePercentages Pass(const SortedMatches* matches, int32_t d, int start, int limit) const;

  std::unordered_map<int64_t, SortedMatches> leagues_;
  SortedMatches all_;
};

}  // namespace morvela
