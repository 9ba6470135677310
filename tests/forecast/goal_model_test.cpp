// The goal model against cases worked out by hand: the closed-form strengths of a two-club
// league, the low-score factor, the decay weights, the score matrix's sums, the in-play matrix
// and the start of a promoted club.
#include <gtest/gtest.h>

#include <cmath>

#include "forecast/goal_model.h"

namespace morvela {
namespace {

GoalModelOptions PlainPoisson() {
  GoalModelOptions o;
  o.decay_per_day = 0;
  o.fit_rho = false;
  return o;
}

// Club 1 beats club 2 2-1 at home and draws 1-1 away. The Poisson likelihood's maximum has
// the home advantage g = (2 + 1) / (1 + 1) = 1.5 and the products a1*d2 = (2 + 1) / 2.5 = 1.2,
// a2*d1 = (1 + 1) / 2.5 = 0.8, so 1 at home scores 1.8 and concedes 0.8, 2 at home scores 1.2
// and concedes 1.2. A match on the day of the fit or later is not seen.
TEST(GoalModelTest, TwoClubsGiveTheClosedFormRates) {
  const std::vector<PlayedGoals> matches = {
      {100, 1, 2, 2, 1}, {107, 2, 1, 1, 1}, {120, 1, 2, 9, 0}, {130, 2, 1, 0, 9}};
  const GoalModel m = GoalModel::Fit(matches, 120, PlainPoisson());
  EXPECT_NEAR(m.HomeAdvantage(), 1.5, 1e-5);
  EXPECT_NEAR(m.ExpectedGoals(1, 2).home, 1.8, 1e-5);
  EXPECT_NEAR(m.ExpectedGoals(1, 2).away, 0.8, 1e-5);
  EXPECT_NEAR(m.ExpectedGoals(2, 1).home, 1.2, 1e-5);
  EXPECT_NEAR(m.ExpectedGoals(2, 1).away, 1.2, 1e-5);
}

TEST(GoalModelTest, DecayWeightsHalveEveryHalfLife) {
  const double decay = std::log(2.0) / 365;
  const struct {
    double days, weight;
  } cases[] = {{0, 1}, {365, 0.5}, {730, 0.25}, {182.5, std::sqrt(0.5)}};
  for (const auto& c : cases) EXPECT_NEAR(DecayWeight(c.days, decay), c.weight, 1e-12) << c.days;
  // An older match counts less: club 1's home 0-3 a year before its two 3-0 wins weighs half,
  // so club 1 at home is expected to score more than with equal weights.
  GoalModelOptions o = PlainPoisson();
  o.decay_per_day = decay;
  const std::vector<PlayedGoals> matches = {{0, 1, 2, 0, 3}, {365, 1, 2, 3, 0}, {365, 2, 1, 0, 3}};
  EXPECT_GT(GoalModel::Fit(matches, 366, o).ExpectedGoals(1, 2).home,
            GoalModel::Fit(matches, 366, PlainPoisson()).ExpectedGoals(1, 2).home + 0.1);
}

TEST(GoalModelTest, LowScoreCorrectionOfTheFourLowScores) {
  const double lambda = 1.2, mu = 0.8, rho = -0.1;
  const struct {
    int x, y;
    double tau;
  } cases[] = {{0, 0, 1.096}, {0, 1, 0.88}, {1, 0, 0.92}, {1, 1, 1.1}, {2, 0, 1}, {2, 2, 1}};
  const ScoreMatrix matrix(lambda, mu, rho);
  for (const auto& c : cases) {
    EXPECT_NEAR(LowScoreCorrection(c.x, c.y, lambda, mu, rho), c.tau, 1e-12) << c.x << c.y;
    // The corrections move probability among the four scores and keep the total, so each score
    // is tau times the two Poisson terms (up to the renormalised tail beyond ten goals).
    const double poisson = std::exp(-lambda - mu) * std::pow(lambda, c.x) * std::pow(mu, c.y) /
                           std::tgamma(c.x + 1.0) / std::tgamma(c.y + 1.0);
    EXPECT_NEAR(matrix.At(c.x, c.y), c.tau * poisson, 1e-7) << c.x << c.y;
  }
}

TEST(GoalModelTest, ScoreMatrixSumsToOutcomesAndGoalLines) {
  // Independent rates 1 and 1: two goals or fewer has Poisson(2)'s 5 e^-2; the four lowest
  // scores tie at e^-2 and the lower total, then the home side's goals, come first.
  const ScoreMatrix even(1, 1, 0);
  const std::array<double, 3> o = even.Outcomes();
  EXPECT_NEAR(o[0] + o[1] + o[2], 1, 1e-12);
  EXPECT_NEAR(o[0], o[2], 1e-12);
  EXPECT_NEAR(even.UnderOver()[0], 5 * std::exp(-2.0), 1e-7);
  const auto likely = even.LikelyScores(3);
  ASSERT_EQ(likely.size(), 3u);
  EXPECT_EQ(likely[0].home * 10 + likely[0].away, 0);
  EXPECT_EQ(likely[1].home * 10 + likely[1].away, 10);
  EXPECT_EQ(likely[2].home * 10 + likely[2].away, 1);

  // From a half-time 1-1 with half a goal a side to come, the draw is e^-1 * I0(1) and two
  // goals or fewer means no further goal.
  const ScoreMatrix rest(0.5, 0.5, 0, 1, 1);
  EXPECT_NEAR(rest.Outcomes()[1], std::exp(-1.0) * 1.2660658777520082, 1e-7);
  EXPECT_NEAR(rest.Outcomes()[0], rest.Outcomes()[2], 1e-12);
  EXPECT_NEAR(rest.UnderOver()[0], std::exp(-1.0), 1e-7);
  EXPECT_EQ(rest.At(0, 3), 0);
}

// Clubs 1, 2, 3 played a season; club 4 replaces club 3 and has played nothing: it starts with
// club 3's strengths. A club the model knows nothing of gets the lowest quarter.
TEST(GoalModelTest, ANewClubStartsFromTheClubItReplaces) {
  std::vector<PlayedGoals> matches;
  const int scores[3][3] = {{0, 3, 4}, {1, 0, 2}, {0, 1, 0}};
  int64_t day = 0;
  for (int h = 1; h <= 3; ++h)
    for (int a = 1; a <= 3; ++a)
      if (h != a) matches.push_back({++day, h, a, scores[h - 1][a - 1], scores[a - 1][h - 1]});
  GoalModel::Promotion promotion{{4}, {3}};
  const GoalModel m = GoalModel::Fit(matches, 100, PlainPoisson(), promotion);
  EXPECT_NEAR(m.ExpectedGoals(1, 4).home, m.ExpectedGoals(1, 3).home, 1e-5);
  EXPECT_NEAR(m.ExpectedGoals(4, 2).away, m.ExpectedGoals(3, 2).away, 1e-5);
  const ClubStrength low = m.LowestQuarter();
  EXPECT_NEAR(m.ExpectedGoals(99, 1).home,
              low.attack * m.Strengths().at(1).defence * m.HomeAdvantage(), 1e-12);
}

// Three seasons of a ten-club league with goals drawn from known strengths. The fit settles
// well before its iteration limit (the scale the updates move is not counted as change), and a
// fit started from the previous match day's model reaches the same rates in fewer rounds.
TEST(GoalModelTest, FitsSettleAndAWarmStartReachesTheSameRates) {
  std::vector<PlayedGoals> matches;
  uint32_t seed = 7;
  auto goals = [&seed](double rate) {  // a Poisson draw from a small linear congruential source
    int k = 0;
    for (double p = std::exp(-rate), u = 1;; ++k) {
      seed = seed * 1664525u + 1013904223u;
      u *= (seed >> 8) / 16777216.0;
      if (u < p) return k;
    }
  };
  int64_t day = 0;
  for (int season = 0; season < 3; ++season)
    for (int h = 1; h <= 10; ++h, day += 7)
      for (int a = 1; a <= 10; ++a)
        if (h != a) matches.push_back({day, h, a, goals(0.9 + h * 0.08), goals(1.6 - a * 0.07)});
  GoalModelOptions o;
  o.max_iterations = 10000;
  const GoalModel before = GoalModel::Fit(matches, day - 7, o);
  const GoalModel cold = GoalModel::Fit(matches, day, o);
  const GoalModel warm = GoalModel::Fit(matches, day, o, {}, &before);
  EXPECT_LT(cold.Iterations(), 300);
  EXPECT_LT(warm.Iterations(), cold.Iterations());
  for (int h = 1; h <= 10; ++h)
    for (int a = 1; a <= 10; ++a)
      if (h != a) {
        EXPECT_NEAR(warm.ExpectedGoals(h, a).home, cold.ExpectedGoals(h, a).home, 1e-6);
        EXPECT_NEAR(warm.ExpectedGoals(h, a).away, cold.ExpectedGoals(h, a).away, 1e-6);
      }
  EXPECT_NEAR(warm.Rho(), cold.Rho(), 1e-6);
}

// Rho maximises the low scores' likelihood over [-0.3, 0.3] at the fitted rates: no point of a
// fine grid does better, whether the low scores lean to draws, to one-goal wins, or so far to
// draws that the bound holds it.
TEST(GoalModelTest, RhoIsTheBestLowScoreFactorWithinItsBounds) {
  const struct {
    const char* lean;
    std::vector<std::pair<int, int>> scores;  // one round's results, repeated
  } cases[] = {{"draws", {{0, 0}, {1, 1}, {2, 1}, {1, 0}, {0, 2}, {3, 1}}},
               {"one-goal wins", {{1, 0}, {0, 1}, {2, 2}, {0, 0}, {2, 1}, {1, 3}}},
               {"only draws", {{0, 0}, {1, 1}, {0, 0}, {1, 1}, {2, 2}, {0, 0}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lean);
    std::vector<PlayedGoals> matches;
    int64_t day = 0;
    for (int round = 0; round < 20; ++round)
      for (size_t k = 0; k < c.scores.size(); ++k, ++day)
        matches.push_back({day, int64_t(1 + k % 4), int64_t(1 + (k + 1 + round % 3) % 4),
                           c.scores[k].first, c.scores[k].second});
    GoalModelOptions o;
    o.decay_per_day = 0;
    const GoalModel m = GoalModel::Fit(matches, day, o);
    auto likelihood = [&](double rho) {
      double sum = 0;
      for (const PlayedGoals& g : matches) {
        const GoalModel::Rates r = m.ExpectedGoals(g.home, g.away);
        sum += std::log(LowScoreCorrection(g.home_goals, g.away_goals, r.home, r.away, rho));
      }
      return sum;
    };
    ASSERT_GE(m.Rho(), -0.3);
    ASSERT_LE(m.Rho(), 0.3);
    for (double rho = -0.3; rho <= 0.3; rho += 1e-4)
      EXPECT_GE(likelihood(m.Rho()), likelihood(rho) - 1e-9) << rho;
  }
}

}  // namespace
}  // namespace morvela
