// The real match data beside the repository, imported once into a cached database that every
// real-data test can copy.
#pragma once

#include <filesystem>
#include <string>

namespace morvela::test {

// MORVELA_DATA, else MORVELA_DATA_DEFAULT (set by the build), else ../shared/data.
std::filesystem::path RealDataFolder();

// True when the data folder holds results and aliases.
bool HaveRealData();

// The path of a database holding every league and season of the real data with season starts
// and stored differences, built on first use (under a lock, so parallel tests build it once)
// and kept in the build folder. Tests that write must work on a copy.
std::string RealDatabase();

}  // namespace morvela::test
