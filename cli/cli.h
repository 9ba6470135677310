// The command-line front end: parses the arguments and runs one command.
#pragma once

namespace morvela {

// Runs morvela-cli with the given arguments; returns the process exit status.
int RunCli(int argc, char** argv);

}  // namespace morvela
