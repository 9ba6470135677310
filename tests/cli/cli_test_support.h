// Running the built morvela-cli as a child process on copies of one demo database, and comparing
// what it prints with the golden files in tests/cli/golden/.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace morvela::test {

// The demo database every CLI test starts from: fixed seed and today, so the same data on every
// machine.
inline constexpr const char* kDemoSeed = "7";
inline constexpr const char* kDemoToday = "2025-10-15";  // a Wednesday

struct CliResult {
  int exit_code = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// What a run gets besides its arguments: its standard input (empty: /dev/null) and variables
// added to the fixed environment ("NAME=value").
struct CliInput {
  std::string stdin_text;
  std::vector<std::string> environment;
};

// Runs morvela-cli with `args` in a fixed environment (no MORVELA_* variables, UTC, C.UTF-8).
CliResult RunCliProcess(const std::vector<std::string>& args, const CliInput& input = {});

// A program folder of its own holding a copy of the demo database (created once per test run).
class DemoHome {
 public:
  // with_database false: an empty program folder.
  explicit DemoHome(bool with_database = true);
  // The folder with a trailing separator, as --home takes it.
  std::string Folder() const { return dir_.Folder(); }
  // Runs morvela-cli on this folder: --home, --today (the demo's unless given), then `args`.
  // The folder's path in stdout and stderr reads "<HOME>/".
  CliResult Run(const std::vector<std::string>& args, const std::string& today = kDemoToday) const;
  // The same with standard input and added variables.
  CliResult Run(const std::vector<std::string>& args, const CliInput& input,
                const std::string& today = kDemoToday) const;
  // Replaces this folder's path in `text` with "<HOME>/", so outputs compare across machines.
  std::string Anonymised(std::string text) const;
  // Transcript of a Run(args): the command line as run, with the folder anonymised.
  static std::string Transcript(const std::vector<std::string>& args, const CliResult& r,
                                const std::string& today = kDemoToday);

 private:
  TempDir dir_;
};

// The run as one readable text: the command line, the exit status, stdout and stderr.
std::string Transcript(const std::vector<std::string>& args, const CliResult& r);

// Transcript of creating the shared demo database (its time left out).
std::string DemoCreationTranscript();

// Compares `actual` with tests/cli/golden/<name>; with MORVELA_REGENERATE_GOLDEN=1 in the
// environment rewrites the file instead (and the test still passes).
void ExpectGolden(const std::string& name, const std::string& actual);

// Whether `text` is one JSON value (RFC 8259: no raw control characters in strings, only the
// defined escapes, numbers in JSON's own form), blanks around it allowed. On failure `why` tells
// where.
bool IsValidJson(std::string_view text, std::string* why = nullptr);

}  // namespace morvela::test
