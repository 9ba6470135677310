// The goal model's forecast of a match, fitted on the league's matches played before the day of
// the forecast, and the market's probabilities of the match from its KURZY row.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "forecast/goal_model.h"
#include "forecast/market_odds.h"

namespace morvela {

struct ModelForecast {
  double home_rate = 0, away_rate = 0;  // expected goals of the whole match
  double rho = 0;
  double first_half_share = 0.45;      // the league's share of goals scored before half time
  std::array<double, 3> full_time{};   // home win, draw, away win
  std::array<double, 2> under_over{};  // 2 goals or fewer, 3 or more
  std::vector<ScoreMatrix::Score> likely_scores;  // the three most likely, most likely first

  // The probabilities in the order of a result mode's outcomes (home, draw, away; in under/over
  // under and over). The halves are the matrices of their share of the goal rates, without the
  // low-score correction (fitted on full-time scores only).
  std::vector<double> InMode(ResultMode mode) const;
  // The final result's chances from a half-time score: the second half's goals at the model's
  // second-half rates, added to the score. Home, draw, away and under, over.
  std::array<double, 3> FullTimeFromHalfTime(int home_goals, int away_goals) const;
  std::array<double, 2> UnderOverFromHalfTime(int home_goals, int away_goals) const;
};

// Fits and caches the goal model of each competition's league per day. Reads the league's
// played matches once; every forecast uses only those dated before its day.
class GoalForecaster {
 public:
  explicit GoalForecaster(Connection& conn, GoalModelOptions options = {});
  ~GoalForecaster();

  // nullopt when the competition is unknown or its league has fewer than ten played matches
  // before `day`.
  std::optional<ModelForecast> Forecast(int64_t competition, int64_t home, int64_t away,
                                        const Date& day);

  // The model of the competition's league on `day` (fitted on first use); nullptr as above.
  const GoalModel* ModelOf(int64_t competition, const Date& day);

 private:
  struct League;
  struct Fitted {
    GoalModel model;
    double first_half_share = 0.45;
  };
  const std::map<int64_t, int>& LoadCompetitions();
  League& LeagueOf(int64_t competition);
  const Fitted* FittedOf(int64_t competition, const Date& day);

  Connection& conn_;
  GoalModelOptions options_;
  bool competitions_loaded_ = false;
  std::map<int64_t, int> league_of_competition_;
  std::map<int, std::unique_ptr<League>> leagues_;
  std::map<std::pair<int64_t, int64_t>, Fitted> fitted_;  // (competition, day)
};

// The market's probabilities of a match in a result mode from its KURZY row (1X2 of the mode,
// or under/over 2.5), the margin removed by `method`; nullopt without a single row with every
// price.
std::optional<std::vector<double>> MarketProbabilities(Connection& conn, int64_t match,
                                                       ResultMode mode, MarginMethod method);

}  // namespace morvela
