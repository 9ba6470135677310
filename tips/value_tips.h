// The value-tip run: for every unplayed fixture from today on that has a KURZY row, every bet
// the bookmaker prices becomes a TIPY row with the program's percentage for it and its margin
// against the odds (the percentage minus the percentage the odds imply). The tips list then
// puts the bets with the largest margin on top. Tip selection is not used: a fixture gives up
// to six rows (home, draw, away and the three double chances), or two in under/over mode.
#pragma once

#include <limits>
#include <optional>
#include <string_view>

#include "tips/tip_runs.h"

namespace morvela {

// Which value bets a user stakes: PROFIT at least min_profit and odds from odds_min (included)
// up to odds_max (excluded), the same half-open ranges as the backtest's breakdown by odds, so
// that a range read off the report can be given as it stands. The default lets every bet
// through. The value-tip run keeps only the bets it accepts, and the backtest stakes only those,
// so a filter chosen on past seasons is the one applied to the coming matches.
struct ValueFilter {
  int min_profit = std::numeric_limits<int>::min();
  double odds_min = 0;
  double odds_max = std::numeric_limits<double>::infinity();
  bool OddsWithin(double odds) const { return odds >= odds_min && odds < odds_max; }
  bool Accepts(int profit, double odds) const { return profit >= min_profit && OddsWithin(odds); }
};

// Reads an odds range "MIN-MAX" ("1.5-3", "2-" for 2 and above, "-2.5" for up to 2.5; a decimal
// point or comma). nullopt for anything else, for a negative bound and unless MIN lies below
// MAX.
std::optional<std::pair<double, double>> ParseOddsRange(std::string_view text);

// Runs the value tips in the program's result mode. Without a fixture that has odds it shows
// message 170 as a warning, leaves TIPY as it was and returns false. Otherwise it replaces TIPY
// with one row per fixture and bet whose odds are a number greater than 0, sets TipRunKind to
// 4, leaves the tip and percentage of the last stored row in the prediction state, shows the
// list through `view` and returns true. Database errors pass through.
// Only bets the filter accepts are stored; without a filter every priced bet.
bool RunValueTips(Program& program, TipsListView& view, const ValueFilter& filter);

// Whose probability a value bet is measured with: the program's percentages (the tip run's); the
// goal model's (fitted on the league's matches before the fixture's day); the market's (the
// odds without their margin, by the default method); or the blend of the three, pooled with the
// weights the last `backtest --store` fitted for the latest season start on or before the
// fixture's season (so learnt on earlier seasons only; BlendWeightsFor). Without such weights
// the blend is the market alone, as the fit itself answers without earlier matches. Against
// anything but the tips the rows carry that forecaster's percentages, and fixtures it cannot
// rate are left out.
enum class ValueAgainst { kTips, kModel, kMarket, kBlend };
bool RunValueTips(Program& program, TipsListView& view, const ValueFilter& filter,
                  ValueAgainst against);
bool RunValueTips(Program& program, TipsListView& view);

}  // namespace morvela
