// Runs the command line in this process, as `morvela-cli ARGS...`, and keeps what it printed.
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace morvela::test {

struct CliRun {
  int rc = 0;
  std::string out, err;
};

inline CliRun RunCliInProcess(std::vector<std::string> args) {
  args.insert(args.begin(), "morvela-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  std::streambuf* old_out = std::cout.rdbuf(out.rdbuf());
  std::streambuf* old_err = std::cerr.rdbuf(err.rdbuf());
  CliRun r;
  r.rc = RunCli(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(old_out);
  std::cerr.rdbuf(old_err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace morvela::test
