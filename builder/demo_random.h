// The random source of the demo database. The engine is std::mt19937_64, whose output the
// standard fixes exactly; the distributions are our own, because the standard library's
// distributions may differ between library versions, and the demo promises the same data for
// the same seed.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace morvela {

class DemoRandom {
 public:
  explicit DemoRandom(uint64_t seed) : engine_(seed) {}

  // A seed for an independent stream: `seed` mixed with `stream` (splitmix64), so that each
  // league draws from its own stream and its data does not depend on the other leagues.
  static uint64_t StreamSeed(uint64_t seed, uint64_t stream);

  double Uniform();  // in [0, 1), 53 random bits
  double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
  int Below(int n);  // in [0, n); n > 0
  bool Chance(double p) { return Uniform() < p; }
  double Normal(double mean, double sd);  // Box-Muller, one value per call
  int Poisson(double mean);               // Knuth's product of uniforms; mean <= 30
  // The index drawn with probability proportional to its weight.
  int Weighted(const std::vector<double>& weights);

  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
      std::swap(items[static_cast<size_t>(i)], items[static_cast<size_t>(Below(i + 1))]);
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace morvela
