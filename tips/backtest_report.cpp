#include "tips/backtest_report.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace morvela {

namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();
constexpr OddsRange kOddsRanges[] = {{1.0, 1.5}, {1.5, 2.0}, {2.0, 2.5},  {2.5, 3.0},
                                     {3.0, 4.0}, {4.0, 6.0}, {6.0, kOpen}};
constexpr int kProfitThresholds[] = {0, 2, 5, 8, 10, 15, 20};

std::string Odds(double v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// Adds the day's bets to a curve: one point per day, the last bet of the day sets it.
void Extend(std::vector<BankPoint>& curve, const Date& day, const BettingRecord& r) {
  const BankPoint p{day, r.Profit(), r.Bets()};
  if (!curve.empty() && curve.back().day == day) {
    curve.back() = p;
  } else {
    curve.push_back(p);
  }
}

}  // namespace

std::optional<CalibrationKind> CalibrationKindOf(TipKind kind) {
  switch (kind) {
    case TipKind::Single:
      return CalibrationKind::kSingle;
    case TipKind::DoubleChance:
      return CalibrationKind::kDoubleChance;
    case TipKind::Under:
    case TipKind::Over:
      return CalibrationKind::kUnderOver;
    case TipKind::ThreeWay:
    case TipKind::None:
      break;
  }
  return std::nullopt;
}

const char* CalibrationKindKey(CalibrationKind kind) {
  static constexpr const char* kKeys[] = {"single", "double_chance", "under_over"};
  return kKeys[static_cast<size_t>(kind)];
}

int FineBucket(int percent) {
  return std::clamp(percent / 5, 0, kFineBuckets - 1);
}
int FineBucketFrom(int bucket) {
  return bucket * 5;
}
int FineBucketTo(int bucket) {
  return bucket + 1 < kFineBuckets ? bucket * 5 + 4 : 100;
}

std::string OddsRange::Label() const {
  return to == kOpen ? Odds(from) + "+" : Odds(from) + "-" + Odds(to);
}

std::span<const OddsRange> ReportOddsRanges() {
  return kOddsRanges;
}
std::span<const int> ReportProfitThresholds() {
  return kProfitThresholds;
}

BacktestReport BuildBacktestReport(const std::vector<BacktestMatch>& matches,
                                   const ValueFilter& value) {
  BacktestReport r;
  const std::span<const OddsRange> ranges = ReportOddsRanges();
  const std::span<const int> thresholds = ReportProfitThresholds();
  r.tips_by_odds.resize(ranges.size());
  r.value_by_profit.resize(thresholds.size());
  for (int t : thresholds) {
    std::vector<FilterResult>& row = r.value_grid.emplace_back();
    for (const OddsRange& o : ranges) row.push_back({t, o, {}});
  }

  for (const BacktestMatch& m : matches) {
    const std::optional<CalibrationKind> kind = CalibrationKindOf(KindOfTip(m.tip));
    if (kind) {
      r.calibration[static_cast<size_t>(*kind)][FineBucket(m.tip_percent)].Add(m.tip_percent,
                                                                               m.won);
      if (m.odds) {
        r.tip_bets.Add(*m.odds, m.won);
        Extend(r.tip_bank, m.date, r.tip_bets);
        for (size_t i = 0; i < ranges.size(); ++i)
          if (ranges[i].Holds(*m.odds)) r.tips_by_odds[i].Add(*m.odds, m.won);
      }
    }
    for (const BacktestBet& b : m.bets) {
      if (value.Accepts(b.profit, b.odds)) {
        r.value_bets.Add(b.odds, b.won);
        Extend(r.value_bank, m.date, r.value_bets);
      }
      for (size_t t = 0; t < thresholds.size(); ++t) {
        if (b.profit < thresholds[t]) continue;
        if (value.OddsWithin(b.odds)) r.value_by_profit[t].Add(b.odds, b.won);
        for (FilterResult& cell : r.value_grid[t])
          if (cell.odds.Holds(b.odds)) cell.record.Add(b.odds, b.won);
      }
    }
  }

  for (const std::vector<FilterResult>& row : r.value_grid) {
    for (const FilterResult& cell : row) {
      if (cell.record.Bets() < kMinFilterBets) continue;
      if (!r.best_filter || cell.record.Roi() > r.best_filter->record.Roi()) r.best_filter = cell;
    }
  }
  return r;
}

}  // namespace morvela
