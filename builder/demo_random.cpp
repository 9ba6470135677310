#include "builder/demo_random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvela {

uint64_t DemoRandom::StreamSeed(uint64_t seed, uint64_t stream) {
  uint64_t z = seed + 0x9E3779B97F4A7C15ull * (stream + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double DemoRandom::Uniform() {
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

int DemoRandom::Below(int n) {
  return static_cast<int>(engine_() % static_cast<uint64_t>(n));
}

double DemoRandom::Normal(double mean, double sd) {
  const double u1 = 1.0 - Uniform();  // in (0, 1]: the logarithm stays finite
  const double u2 = Uniform();
  return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

int DemoRandom::Poisson(double mean) {
  const double limit = std::exp(-std::clamp(mean, 0.0, 30.0));
  int k = 0;
  for (double product = Uniform(); product > limit; product *= Uniform()) ++k;
  return k;
}

int DemoRandom::Weighted(const std::vector<double>& weights) {
  double total = 0;
  for (double w : weights) total += w;
  double x = Uniform() * total;
  for (size_t i = 0; i + 1 < weights.size(); ++i) {
    if (x < weights[i]) return static_cast<int>(i);
    x -= weights[i];
  }
  return static_cast<int>(weights.size()) - 1;
}

}  // namespace morvela
