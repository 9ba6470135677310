// Timing helpers for the benchmark programs: medians of repeated runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace morvela::bench {

// Runs fn `runs` times and returns the median wall time in seconds.
double MedianSeconds(int runs, const std::function<void()>& fn);

// The real match data folder: MORVELA_DATA, else ../shared/data beside the repository.
std::string DataFolder();

}  // namespace morvela::bench
