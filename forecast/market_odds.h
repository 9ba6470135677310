// The market's probabilities: a bookmaker's decimal odds with the margin taken out.
//
// The inverse odds of a market's outcomes sum to more than 1; the surplus is the bookmaker's
// margin. Taking it out in proportion keeps the odds' ratios but leaves the favourite-longshot
// bias in: bookmakers load more of their margin onto long shots, so proportional removal
// overrates outsiders. The power method and Shin's method put more of the margin on the long
// shots and take it back from there.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace morvela {

enum class MarginMethod {
  kProportional,  // p_i = (1/o_i) / sum(1/o_j)
  kPower,         // p_i = (1/o_i)^k with k chosen so that the p_i sum to 1
  kShin,          // Shin's model of a market with a share z of insiders
};
inline constexpr MarginMethod kMarginMethods[] = {MarginMethod::kProportional, MarginMethod::kPower,
                                                  MarginMethod::kShin};

// "proportional", "power", "shin"; the names the command line takes.
std::string_view MarginMethodName(MarginMethod method);
std::optional<MarginMethod> MarginMethodFromName(std::string_view name);

// The method the program uses where nothing else is asked for: the power method, which scored
// best of the three on the backtest of earlier seasons (README, "How good are the tips?").
inline constexpr MarginMethod kDefaultMarginMethod = MarginMethod::kPower;

// Probabilities of the outcomes, in the order of `odds`, summing to 1. nullopt unless there are
// at least two outcomes and every one has odds above 1. A market quoted without margin (inverse
// odds summing to 1 or less) is taken in proportion by every method.
std::optional<std::vector<double>> RemoveMargin(std::span<const double> odds, MarginMethod method);

// The same for odds that may be missing: nullopt when any is.
std::optional<std::vector<double>> RemoveMargin(std::span<const std::optional<double>> odds,
                                                MarginMethod method);

}  // namespace morvela
