// The second opinion of a tip: how likely the goal model and the market (odds without margin)
// rate the tip's outcome. The model is fitted on the league's matches before the match's day.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/database.h"
#include "core/result_mode.h"
#include "forecast/match_forecast.h"

namespace morvela {

// The percentage (rounded, ties to even) of a tip's outcomes from probabilities in the result
// mode's order (home, draw, away; under, over): "1", "10", "02", "<" ... (blanks ignored).
// nullopt for a tip that names no outcome of the mode.
std::optional<int> TipPercentOf(const std::vector<double>& p, ResultMode mode,
                                std::string_view tip);

class TipSecondOpinions {
 public:
  TipSecondOpinions(Connection& conn, ResultMode mode);

  struct Figures {
    std::optional<std::vector<double>> model, market;  // in the mode's order
    std::optional<int> model_percent, market_percent;  // of the tip's outcomes
  };
  // The figures of the match with VYSLEDKY.ID `match_id` (nothing for an unknown match).
  Figures Of(int64_t match_id, std::string_view tip);

 private:
  Connection& conn_;
  ResultMode mode_;
  GoalForecaster forecaster_;
};

}  // namespace morvela
