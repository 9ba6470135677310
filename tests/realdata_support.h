// The real match data beside the repository, imported once into a cached database that every
// real-data test can copy.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace morvela::test {

// MORVELA_DATA, else MORVELA_DATA_DEFAULT (set by the build), else ../shared/data.
std::filesystem::path RealDataFolder();

// True when the data folder holds results and aliases.
bool HaveRealData();

// What building the cached database saw: the import's report in figures and the lines of the
// season preparation. The import test asserts on it, so the data is imported once per build.
struct RealDataBuild {
  std::string path;  // the database
  size_t files = 0;
  int64_t inserted = 0;
  size_t changed_leagues = 0;
  std::vector<std::string> errors;
  std::vector<std::string> preparation_lines;
  double seconds = 0;  // import and preparation
};

// The database holding every league and season of the real data with season starts and
// stored differences, built on first use (under a lock, so parallel tests build it once) and
// kept in the build folder until the test program or the data folder changes. Tests that
// write must work on a copy.
const RealDataBuild& RealDatabaseBuild();
inline std::string RealDatabase() {
  return RealDatabaseBuild().path;
}

}  // namespace morvela::test
