// The backtest's report figures: how far the stated percentage of a tip can be trusted and what
// flat stakes would have made, in the shape the charts and the stored calibration use.
//
// Calibration is kept per tip kind (single, double chance, under/over; three-way tips always
// win and stay out) in buckets of five points of the stated percentage. The bank curves follow
// one unit on every priced tip and one unit on every value bet the filter accepts, day by day.
// ROI is broken down by the odds of the staked tip and, for the value bets, by the smallest
// PROFIT staked, alone and crossed with the odds ranges, which is how a user finds a filter.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "predict/tip_selection.h"
#include "tips/backtest.h"
#include "tips/value_tips.h"

namespace morvela {

enum class CalibrationKind : uint8_t { kSingle, kDoubleChance, kUnderOver };
inline constexpr int kCalibrationKinds = 3;

// The calibration kind of a tip; nullopt for three-way tips and no tip.
std::optional<CalibrationKind> CalibrationKindOf(TipKind kind);
// "single", "double_chance", "under_over".
const char* CalibrationKindKey(CalibrationKind kind);

// Buckets of five points: 0-4, 5-9, ..., 90-94, 95-100.
inline constexpr int kFineBuckets = 20;
int FineBucket(int percent);
int FineBucketFrom(int bucket);  // the bucket's lowest percentage
int FineBucketTo(int bucket);    // its highest (100 for the last)

// A range of odds, from included, to excluded.
struct OddsRange {
  double from = 0;
  double to = 0;
  bool Holds(double odds) const { return odds >= from && odds < to; }
  std::string Label() const;  // "1.50-2.00", "6.00+"
};
std::span<const OddsRange> ReportOddsRanges();
std::span<const int> ReportProfitThresholds();

// The running bank at the end of a day on which bets were settled.
struct BankPoint {
  Date day{};
  double bank = 0;
  int bets = 0;  // bets settled so far
};

// A value filter of the grid with what it made.
struct FilterResult {
  int min_profit = 0;
  OddsRange odds;
  BettingRecord record;
};

// The smallest number of bets for which a filter of the grid counts as a candidate for the best.
inline constexpr int kMinFilterBets = 300;

struct BacktestReport {
  std::array<std::array<HitRecord, kFineBuckets>, kCalibrationKinds> calibration{};
  std::vector<BankPoint> tip_bank, value_bank;
  BettingRecord tip_bets, value_bets;          // the totals of the two curves
  std::vector<BettingRecord> tips_by_odds;     // one unit on every priced tip, per odds range
  std::vector<BettingRecord> value_by_profit;  // per threshold, within the filter's odds
  // Every threshold crossed with every odds range: [threshold][range].
  std::vector<std::vector<FilterResult>> value_grid;
  // The grid cell with the highest ROI among those with at least kMinFilterBets bets. Chosen on
  // the same matches it is measured on, so its ROI flatters it.
  std::optional<FilterResult> best_filter;
};

// The figures of a backtest's matches (in date order). `value` picks the value bets of the value
// bank curve; the thresholds of the breakdowns keep its odds range.
BacktestReport BuildBacktestReport(const std::vector<BacktestMatch>& matches,
                                   const ValueFilter& value);

}  // namespace morvela
