// The demo command: a complete database of invented clubs for a first look at the program.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#include "builder/demo_database.h"
#include "builder/schema.h"
#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "core/folder_lock.h"

namespace morvela {

namespace {

int RunDemo(CliContext& ctx, uint64_t seed, bool force) {
  const auto started = std::chrono::steady_clock::now();
  DemoOptions options;
  options.seed = seed;
  options.today = ctx.Today().value_or(SystemToday());
  Messages msgs;
  msgs.NastavJazyk(ctx.Language().value_or(kEnglish));
  FolderLock lock(ctx.Folder(), false, "demo");
  if (!lock.Held()) {
    std::cerr << "Error: " << FolderLock::BusyMessage(ctx.Folder()) << "\n";
    return kExitError;
  }
  const std::string path = ctx.Folder() + "Morvela.mdb";
  RemoveStaleTemporaryFiles(path);  // left by a killed run; we hold the lock
  const DemoSummary s =
      CreateDemoDatabase(path, options, force, ctx.wait, msgs,
                         [](const std::string& line) { std::cout << line << std::endl; });
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char time[32];
  std::snprintf(time, sizeof time, "%.1f", seconds);
  std::cout << "Created " << path << " (seed " << seed << ", today " << FormatIsoDate(options.today)
            << ")\n"
            << "  leagues         " << s.leagues << "\n"
            << "  seasons         " << s.seasons << "\n"
            << "  clubs           " << s.clubs << "\n"
            << "  matches         " << s.matches << "\n"
            << "  fixtures        " << s.fixtures << "\n"
            << "  fixtures today  " << s.fixtures_today << "\n"
            << "  seconds         " << time << "\n";
  return kExitOk;
}

}  // namespace

void RegisterDemoCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* demo = app.add_subcommand(
      "demo", "Create a demo database of invented clubs in all twenty leagues, standing at today");
  auto seed = std::make_shared<uint64_t>(1);
  demo->add_option("--seed", *seed, "Random seed: the same seed and today give the same data")
      ->capture_default_str();
  bool& force = ctx.Flag();
  demo->add_flag("--force", force, "Replace an existing database");
  demo->callback([&ctx, &exit_code, &force, seed] { exit_code = RunDemo(ctx, *seed, force); });
}

}  // namespace morvela
