#include "bench_support.h"

#include <cstdlib>

namespace morvela::bench {

double MedianSeconds(int runs, const std::function<void()>& fn) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    fn();
    t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

std::string DataFolder() {
  if (const char* env = std::getenv("MORVELA_DATA"); env && *env) return env;
  return std::string(MORVELA_SOURCE_DIR) + "/../shared/data";
}

}  // namespace morvela::bench
