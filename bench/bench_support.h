// Timing helpers for the benchmark programs: medians of repeated runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/user_interface.h"
#include "program/program.h"

namespace morvela::bench {

// Runs fn `runs` times and returns the median wall time in seconds.
double MedianSeconds(int runs, const std::function<void()>& fn);

// The database a benchmark reads: argv[1], else $MORVELA_HOME/Morvela.mdb; empty when neither
// names an existing file.
std::string DatabaseArgument(int argc, char** argv);

// A scratch folder `name` under the system's temp folder holding a fresh copy of `database`, so
// that a benchmark never changes the user's file. Returns the folder with a trailing separator.
std::string ScratchCopy(const std::string& database, const std::string& name);

// A user interface for benchmarks: messages go to stderr, questions are answered No.
class SilentUi : public UserInterface {
 public:
  void ShowMessage(MessageKind, const std::string& text) override;
  bool AskYesNo(const std::string&) override { return false; }
  int ChooseLanguage() override { return 1; }
  std::optional<std::string> AskSaveFile(const std::string&, const std::string&,
                                         const std::string&) override {
    return std::nullopt;
  }
  void OpenUrl(const std::string&) override {}
};

// Connects `program` to the database in `folder` and speaks English, as a window would find it.
void OpenProgram(Program& program, const std::string& folder);

// Chooses the season with the most played matches (only active seasons when `active_only`)
// as the program's league and season, as the league button and season list would. The number
// of played matches, or -1 when the database has no such season.
long long ChooseLargestSeason(Program& program, bool active_only);

// The real match data folder: MORVELA_DATA, else ../shared/data beside the repository.
std::string DataFolder();

}  // namespace morvela::bench
