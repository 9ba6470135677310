#include "predict/support_routines.h"

#include <cstdint>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

namespace morvela {
namespace {

constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();

struct RatingCase {
  int32_t (*change)(int32_t, int32_t, int32_t, int32_t);
  int32_t a, b, p, q;
  int32_t expected;
};

TEST(RatingChangeTest, FollowsTheEloFormulaTruncatedTowardZero) {
  const RatingCase cases[] = {
      // Equal ratings: K is 32 for a one-goal margin, 40 from two goals on.
      {RatingChange400, 1500, 1500, 1, 0, 16},
      {RatingChange400, 1500, 1500, 2, 0, 20},
      {RatingChange400, 1500, 1500, 1, 1, 0},
      {RatingChange400, 1500, 1500, 0, 3, -20},
      // The stronger home side: -8.31 truncates to -8 (rounding down would give -9).
      {RatingChange400, 1600, 1400, 0, 0, -8},
      {RatingChange400, 1600, 1400, 0, 1, -24},
      // The weaker home side wins big: 30.39.
      {RatingChange400, 1400, 1600, 3, 0, 30},
      // Scale 200 doubles the weight of the gap: E = 0.909, 2.9 -> 2 (400 would give 7).
      {RatingChange200, 1600, 1400, 1, 0, 2},
      {RatingChange400, 1600, 1400, 1, 0, 7},
      {RatingChange200, 1600, 1400, 0, 0, -13},
      {RatingChange200, 1500, 1500, 1, 0, 16},
      // Extreme ratings and goal counts must not overflow the differences.
      {RatingChange400, kMinInt, kMaxInt, 1, 0, 32},
      {RatingChange400, kMaxInt, kMinInt, 0, 1, -32},
      {RatingChange400, 1500, 1500, kMaxInt, kMinInt, 20},
  };
  for (const RatingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.change == RatingChange200 ? "200" : "400") << " a=" << c.a
                                    << " b=" << c.b << " " << c.p << ":" << c.q);
    EXPECT_EQ(c.change(c.a, c.b, c.p, c.q), c.expected);
  }
}

TEST(PoissonProbabilityTest, UsesTheFixedBaseAndHandlesNoExpectedEvents) {
  struct Case {
    uint8_t k;
    double lambda;
    double expected;
  };
  const Case cases[] = {
      // 1 / 2.71828; with the exact e it would be 0.36787944...
      {0, 1.0, 0.36787968862663156},
      // 2.71828^-2 * 2^2 / 2!
      {2, 2.0, 0.27067093060805475},
      // Nothing expected: certainly zero events, never any other count.
      {0, 0.0, 1.0},
      {1, 0.0, 0.0},
      {0, -1.5, 1.0},
      {2, -1.5, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "k=" << int{c.k} << " lambda=" << c.lambda);
    EXPECT_NEAR(PoissonProbability(c.k, c.lambda), c.expected, 1e-12);
  }
}

TEST(UnderPercentageTest, RoundsTheChanceOfAtMostTwoGoals) {
  const std::pair<double, int32_t> cases[] = {
      {0.0, 100}, {0.5, 99}, {1.0, 92}, {2.0, 68}, {2.5, 54}, {3.0, 42}, {4.0, 24}, {-1.0, 100},
  };
  for (const auto& [lambda, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "lambda=" << lambda);
    EXPECT_EQ(UnderPercentage(lambda), expected);
  }
}

TEST(FactorialTest, ComputesIn16BitArithmetic) {
  const std::pair<uint8_t, uint16_t> cases[] = {
      {0, 1},
      {1, 1},
      {2, 2},
      {8, 40320},
      // 9! = 362880 wraps modulo 65536; from 18! on the product holds 2^16 and wraps to 0.
      {9, 35200},
      {20, 0},
      {255, 0},
  };
  for (const auto& [k, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "k=" << int{k});
    EXPECT_EQ(Factorial(k), expected);
  }
}

}  // namespace
}  // namespace morvela
