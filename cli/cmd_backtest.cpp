// The backtest commands.
#include "cli/cli_context.h"

namespace morvela {

void RegisterBacktestCommands(CLI::App&, CliContext&, int&) {}

}  // namespace morvela
