// Taking the margin out of odds and pooling forecasts.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "forecast/blend.h"
#include "forecast/market_odds.h"

namespace morvela {
namespace {

TEST(MarketOddsTest, EveryMethodGivesADistributionAndCorrectsTheLongShots) {
  const std::vector<std::vector<double>> markets = {
      {1.25, 6.0, 12.0}, {2.1, 3.4, 3.6}, {2.0, 3.5, 4.0}, {1.85, 1.95}, {1.02, 15, 41}};
  for (const auto& odds : markets) {
    const auto prop = RemoveMargin(odds, MarginMethod::kProportional);
    for (MarginMethod method : kMarginMethods) {
      SCOPED_TRACE(std::string(MarginMethodName(method)) + " " + std::to_string(odds[0]));
      const auto p = RemoveMargin(odds, method);
      ASSERT_TRUE(p.has_value());
      EXPECT_NEAR(std::accumulate(p->begin(), p->end(), 0.0), 1, 1e-12);
      if (method == MarginMethod::kProportional) continue;
      // The favourite (shortest odds, first here or shortest of the two) gains over the
      // proportional share, the longest shot loses.
      const size_t fav = std::min_element(odds.begin(), odds.end()) - odds.begin();
      const size_t longest = std::max_element(odds.begin(), odds.end()) - odds.begin();
      EXPECT_GT((*p)[fav], (*prop)[fav]);
      EXPECT_LT((*p)[longest], (*prop)[longest]);
    }
  }
  // 2.0 / 3.5 / 4.0 have inverse odds summing to 1.0357; proportional divides by that.
  const auto prop = RemoveMargin(std::vector<double>{2.0, 3.5, 4.0}, MarginMethod::kProportional);
  EXPECT_NEAR((*prop)[0], 0.5 / (0.5 + 1 / 3.5 + 0.25), 1e-12);
}

// With two outcomes Shin's z has the closed form that takes the margin off each side equally,
// p_i = 1/o_i - (booksum - 1) / 2; the power method's exponent k solves 1/o1^k + 1/o2^k = 1.
TEST(MarketOddsTest, TwoOutcomeMarketsMatchTheirClosedForms) {
  const double o1 = 1.5, o2 = 2.5;
  const double booksum = 1 / o1 + 1 / o2;
  const auto shin = RemoveMargin(std::vector<double>{o1, o2}, MarginMethod::kShin);
  EXPECT_NEAR((*shin)[0], 1 / o1 - (booksum - 1) / 2, 1e-9);
  const auto power = RemoveMargin(std::vector<double>{o1, o2}, MarginMethod::kPower);
  const double k = std::log((*power)[0]) / std::log(1 / o1);
  EXPECT_NEAR(std::pow(1 / o2, k), (*power)[1], 1e-9);
}

TEST(MarketOddsTest, MissingOrImpossibleOddsGiveNothingAndFairOddsStay) {
  EXPECT_FALSE(RemoveMargin(std::vector<double>{2.0, 1.0, 3.0}, MarginMethod::kPower));
  EXPECT_FALSE(RemoveMargin(std::vector<double>{2.0}, MarginMethod::kShin));
  const std::vector<std::optional<double>> missing = {2.0, std::nullopt, 3.0};
  EXPECT_FALSE(RemoveMargin(missing, MarginMethod::kProportional));
  for (MarginMethod method : kMarginMethods) {
    const auto p = RemoveMargin(std::vector<double>{2.0, 4.0, 4.0}, method);
    EXPECT_NEAR((*p)[0], 0.5, 1e-12);
    EXPECT_EQ(MarginMethodFromName(MarginMethodName(method)), method);
  }
  EXPECT_FALSE(MarginMethodFromName("additive"));
}

TEST(BlendTest, LogPoolIsTheNormalisedWeightedGeometricMean) {
  std::array<std::optional<std::vector<double>>, kBlendMembers> members = {
      std::vector<double>{0.5, 0.5}, std::vector<double>{0.9, 0.1}, std::nullopt};
  const auto p = LogPool(members, {0.5, 0.5, 1});
  ASSERT_TRUE(p.has_value());
  EXPECT_NEAR((*p)[0], 0.75, 1e-12);  // sqrt(.45) : sqrt(.05) = 3 : 1
  const auto model_alone = LogPool(members, {0, 1, 0});
  EXPECT_NEAR((*model_alone)[0], 0.9, 1e-12);
  EXPECT_FALSE(LogPool(members, {0, 0, 1}).has_value());
}

// The model is exactly calibrated on these matches and the tips carry a constant lean: the fit
// gives the model weight 1 and the tips none. The market is uniform, so it cannot matter.
TEST(BlendTest, FittedWeightsFindTheCalibratedMember) {
  std::vector<BlendSample> samples;
  const std::vector<double> uniform = {1 / 3.0, 1 / 3.0, 1 / 3.0}, lean = {0.5, 0.3, 0.2};
  for (const auto& [model, counts] :
       {std::pair{std::vector<double>{0.6, 0.3, 0.1}, std::array<int, 3>{6, 3, 1}},
        std::pair{std::vector<double>{0.1, 0.3, 0.6}, std::array<int, 3>{1, 3, 6}}})
    for (size_t outcome = 0; outcome < 3; ++outcome)
      for (int i = 0; i < counts[outcome]; ++i)
        samples.push_back({{uniform, model, lean}, outcome});
  const BlendWeights w = FitBlendWeights(samples);
  EXPECT_NEAR(w[1], 1, 0.01);
  EXPECT_NEAR(w[2], 0, 0.01);
  EXPECT_LT(MeanPoolLogLoss(samples, w), MeanPoolLogLoss(samples, {0, 0, 1}));
  EXPECT_EQ(FitBlendWeights({}), (BlendWeights{1, 0, 0}));
}

}  // namespace
}  // namespace morvela
