#include "predict/support_routines.h"

#include <cmath>
#include <cstdlib>

#include "core/rounding.h"

namespace morvela {

namespace {

// Shared body of both rating changes; scale is the rating gap at which the stronger side's
// expected score is ten times the weaker side's.
int32_t RatingChange(int32_t a, int32_t b, int32_t p, int32_t q, double scale) {
  double actual = p > q ? 1.0 : (p == q ? 0.5 : 0.0);
  // Differences in 64 bits: extreme ratings or goal counts must not overflow the subtraction.
  double factor = std::llabs(int64_t{p} - q) >= 2 ? 40.0 : 32.0;
  double gap = static_cast<double>(int64_t{b} - a);
  double expected = 1.0 / (std::pow(10.0, gap / scale) + 1.0);
  // Rating changes truncate toward zero; the conversion does exactly that.
  return static_cast<int32_t>((actual - expected) * factor);
}

// The program's approximation of e, kept so that its under percentages do not change.
constexpr double kEulerApprox = 2.71828;

}  // namespace

int32_t RatingChange400(int32_t a, int32_t b, int32_t p, int32_t q) {
  return RatingChange(a, b, p, q, 400.0);
}

int32_t RatingChange200(int32_t a, int32_t b, int32_t p, int32_t q) {
  return RatingChange(a, b, p, q, 200.0);
}

double PoissonProbability(uint8_t k, double lambda) {
  if (lambda <= 0) return k == 0 ? 1.0 : 0.0;
  return std::pow(kEulerApprox, -lambda) * std::pow(lambda, k) / Factorial(k);
}

int32_t UnderPercentage(double lambda) {
  long double sum = 0;
  for (uint8_t goals = 0; goals <= 2; ++goals) sum += PoissonProbability(goals, lambda);
  return static_cast<int32_t>(RoundHalfEven(static_cast<double>(sum * 100)));
}

uint16_t Factorial(uint8_t k) {
  uint16_t result = 1;
  for (int i = 2; i <= k; ++i) result = static_cast<uint16_t>(result * i);
  return result;
}

}  // namespace morvela
