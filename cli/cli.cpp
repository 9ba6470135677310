#include "cli/cli.h"

#include <iostream>

#include "cli/cli_context.h"
#include "core/cipher.h"
#include "core/database.h"
#include "program/front_end_options.h"

namespace morvela {

int RunCli(int argc, char** argv) {
  CliContext ctx;
  ctx.exe_path = argc > 0 ? argv[0] : "morvela-cli";
  CLI::App app{"Morvela: football match tips from rating differences (command line)",
               "morvela-cli"};
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--home", ctx.home, "Program folder (database, settings, Export/)");
  // The global values are checked as the desktop program checks them, with its messages.
  app.add_option("--today", ctx.today_text, "Take this date (YYYY-MM-DD) as today")
      ->each([](const std::string& s) { DateOption("--today", s); });
  app.add_option("--lang", ctx.lang, "Language of this run: en, de, sk or it")
      ->each([](const std::string& s) { LanguageOption(s); });
  app.add_option("--mode", ctx.mode,
                 "Result mode: ft full time, 1h 1st half, 2h 2nd half, uo under/over")
      ->each([](const std::string& s) { ModeOption(s); });

  int exit_code = kExitOk;
  RegisterBasicCommands(app, ctx, exit_code);
  RegisterEngineCommands(app, ctx, exit_code);
  RegisterBuilderCommands(app, ctx, exit_code);
  RegisterDemoCommands(app, ctx, exit_code);
  RegisterTipsCommands(app, ctx, exit_code);
  RegisterBacktestCommands(app, ctx, exit_code);
  RegisterTableCommands(app, ctx, exit_code);
  RegisterMatchCommands(app, ctx, exit_code);
  RegisterLiveCommands(app, ctx, exit_code);
  RegisterResultsCommands(app, ctx, exit_code);
  RegisterSettingsCommands(app, ctx, exit_code);
  RegisterUpdateCommands(app, ctx, exit_code);
  RegisterFetchCommands(app, ctx, exit_code);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  } catch (const OptionError& e) {
    std::cerr << "Error: " << e.what() << "\n";
    return kExitUsage;
  } catch (const Error& e) {
    std::cerr << "Error: " << e.what() << "\n";
    if (!e.Reason().empty()) std::cerr << "Reason: " << e.Reason() << "\n";
    return kExitError;
  } catch (const std::exception& e) {
    std::cerr << "Error: " << e.what() << "\n";
    return kExitError;
  }
  return exit_code;
}

}  // namespace morvela
