// The second opinion the analysis windows show beside the tip: the goal model's and the market's
// probabilities of the pairing's match, and for the LIVE window the model's chances from the
// half-time score. The model is fitted on the league's matches played before the reference day;
// the market is the match's KURZY row (the tip's match, else the pairing's next fixture) with
// the margin removed by the default method.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "forecast/match_forecast.h"

namespace morvela {

class Connection;
class Messages;

struct SecondOpinion {
  std::optional<ModelForecast> model;
  std::optional<std::vector<double>> market_outcomes;    // full time: home, draw, away
  std::optional<std::vector<double>> market_under_over;  // under, over 2.5
};

// The figures of `home` against `away` of `competition` on `day`. `match_id` names the match
// whose odds count; without it the pairing's next unplayed fixture of the competition.
SecondOpinion FindSecondOpinion(Connection& conn, int64_t competition, int64_t home, int64_t away,
                                const Date& day, std::optional<int64_t> match_id);

// Probabilities as the windows write them: whole percentages joined by "-" ("45-27-28").
std::string PercentTriple(const std::vector<double>& p);

// The window's two lines: the model's (1-0-2, under-over, the three likely scores) and the
// market's; "not available" in the user's language where a figure is missing.
std::string SecondOpinionModelLine(const Messages& m, const SecondOpinion& s);
std::string SecondOpinionMarketLine(const Messages& m, const SecondOpinion& s);
// The LIVE window's line: the model's chances of the final result from the half-time score.
std::string InPlayModelLine(const Messages& m, const SecondOpinion& s, int home_goals,
                            int away_goals);

}  // namespace morvela
