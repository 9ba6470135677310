// The calibration kept in the database: for each result mode, league, season (competition), tip
// kind and five-point bucket of the stated percentage, how many backtested tips there were and
// how many won, with the first and last match day the season's row counts.
//
// The rows come from a backtest, whose tips are leak-free already (each from the matches before
// its day). What a tip is told about tips like it must be leak-free as well: a row counts for a
// tip on day D only when its last match day lies strictly before D. So no match of the tip's own
// day or later is ever in the figure it is shown, and a season still running counts only for
// tips after the last day it was stored up to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "tips/backtest.h"
#include "tips/backtest_report.h"

namespace morvela {

// One stored row.
struct CalibrationRow {
  int league = 0;
  int64_t competition = 0;
  CalibrationKind kind = CalibrationKind::kSingle;
  int bucket = 0;  // FineBucket of the stated percentage
  int tips = 0;
  int won = 0;
  Date first_day{}, last_day{};  // the competition's first and last tested match day
};

// The rows of a backtest's matches: one per competition, kind and non-empty bucket. Every row of
// a competition carries the competition's first and last tested day.
std::vector<CalibrationRow> CalibrationRows(const std::vector<BacktestMatch>& matches);

// Replaces, in one transaction, the stored rows of the result mode for every competition that
// the matches cover with the rows of those matches; the rows of other competitions stay.
// Adds the table to a database made before it existed. Returns the number of competitions.
int StoreCalibration(Connection& conn, ResultMode mode, const std::vector<BacktestMatch>& matches);

// What the stored calibration says about tips like one: same result mode, league, kind and
// five-point bucket, from the rows whose last day lies before `day`.
struct PastRecord {
  int tips = 0;
  int won = 0;
  Date first_day{}, last_day{};  // the span of the counted rows
  // The share won as a whole percentage, rounded half to even.
  int Percent() const;
};

// nullopt when nothing is stored for such tips before `day` (or the database has no table).
std::optional<PastRecord> PastHitRate(Connection& conn, ResultMode mode, int league,
                                      CalibrationKind kind, int percent, const Date& day);

// Whether the database holds any calibration row of the result mode.
bool HasCalibration(Connection& conn, ResultMode mode);

// The blend's weights a backtest fitted, kept per result mode and season start (table
// BLEND_WEIGHTS, created on first store), so that the value-tip run pools the forecasts with
// weights learnt on earlier seasons. Each row was fitted on the matches before its season start
// only, with the market's margin removed by `margin`.
struct StoredBlend {
  Date season_start{};
  BlendWeights weights{};
  int training_matches = 0;
  MarginMethod margin = kDefaultMarginMethod;
};

// Replaces the stored rows of the result mode for the runs' season starts. Returns the number of
// rows written.
int StoreBlendWeights(Connection& conn, ResultMode mode, MarginMethod margin,
                      const std::vector<SeasonBlend>& blends);

// Fewer earlier matches than this leave weights too unsure to be used.
inline constexpr int kMinBlendTraining = 200;

// The weights for a match of the season that starts on `season_start`: the stored row of the
// result mode with the latest season start on or before it that learnt from at least
// kMinBlendTraining matches. So nothing of that season or later went into them. nullopt when
// there is no such row (or no table).
std::optional<StoredBlend> BlendWeightsFor(Connection& conn, ResultMode mode,
                                           const Date& season_start);

}  // namespace morvela
