// The update command: the results database and the odds from the update server, as the main
// window's "Update" button brings them.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/cli_context.h"
#include "core/cipher.h"
#include "update/database_update.h"
#include "update/server_settings.h"

namespace morvela {

namespace {

struct UpdateArgs {
  bool check = false;
  bool yes = false;
  bool odds = false;
};

// "Downloading 1.2 of 3.4 MB" on one line of a terminal, at most every tenth of a megabyte.
DownloadProgress TerminalProgress() {
  if (!isatty(STDERR_FILENO)) return {};
  auto last = std::make_shared<uint64_t>(0);
  return [last](uint64_t received, uint64_t total) {
    if (received != total && received - *last < 100'000) return;
    *last = received;
    char line[96];
    if (total > 0) {
      std::snprintf(line, sizeof line, "\rDownloading %.1f of %.1f MB ", received / 1e6,
                    total / 1e6);
    } else {
      std::snprintf(line, sizeof line, "\rDownloading %.1f MB ", received / 1e6);
    }
    std::cerr << line << (received == total && total > 0 ? "\n" : "") << std::flush;
  };
}

int RunUpdate(CliContext& ctx, const UpdateArgs& args) {
  if (args.check && (args.odds || args.yes)) {
    std::cerr << "Error: --check only looks; it takes neither --odds nor --yes\n";
    return kExitUsage;
  }
  // A refused address (credentials in it, or not http(s)) ends the command before any request.
  const UpdateServer server = ReadUpdateServer(ctx.Folder() + "Nastavenie.ini");
  if (!server.error.empty()) {
    std::cerr << "Error: " << server.error << "\n";
    return kExitError;
  }
  if (const std::string warning = PlainHttpPasswordWarning(server.base_url, server.user);
      !warning.empty())
    std::cerr << "Warning: " << warning << "\n";
  ctx.ui.assume_yes = args.yes;
  ctx.ui.ask_on_terminal = true;
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  UpdateOptions options;
  options.progress = TerminalProgress();
  Updater updater(p, std::move(options));
  std::cout << "Update server: " << updater.Server().base_url << "\n";

  if (args.check) {
    const int r = updater.AktualizovatDB(1);
    if (r == kCheckFailed) return kExitError;
    std::cout << "Local database:  " << DecipherText(p.db_date, /*soft=*/true) << "\n"
              << "Server database: " << updater.ServerDateText() << "\n"
              << (r == kServerNewer ? "A newer results database is available\n"
                                    : "The results database is current\n");
    return kExitOk;
  }
  if (args.odds) return updater.AktualizaciaKurzy() ? kExitOk : kExitError;
  switch (updater.TBUpdateClick()) {
    case UpdateOutcome::kFailed:
    case UpdateOutcome::kEndProgram:
      return kExitError;
    default:
      return kExitOk;
  }
}

}  // namespace

void RegisterUpdateCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* update = app.add_subcommand(
      "update",
      "Bring the results database (or with --odds the odds) up to date from the update server");
  auto args = std::make_shared<UpdateArgs>();
  update->add_flag("--check", args->check, "Only ask the server whether it has a newer database");
  update->add_flag("--yes", args->yes, "Answer every question with Yes (install without asking)");
  update->add_flag("--odds", args->odds, "Update only the odds of the coming matches");
  update->callback([&ctx, &exit_code, args] { exit_code = RunUpdate(ctx, *args); });
}

}  // namespace morvela
