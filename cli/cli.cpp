#include "cli/cli.h"

#include <iostream>

#include "cli/cli_context.h"
#include "core/cipher.h"
#include "core/database.h"

namespace morvela {

int RunCli(int argc, char** argv) {
  CliContext ctx;
  ctx.exe_path = argc > 0 ? argv[0] : "morvela-cli";
  CLI::App app{"Morvela: football match tips from rating differences (command line)",
               "morvela-cli"};
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--home", ctx.home, "Program folder (database, settings, Export/)");
  app.add_option("--today", ctx.today_text, "Take this date (YYYY-MM-DD) as today");
  app.add_option("--lang", ctx.lang, "Language of this run")
      ->check(CLI::IsMember({"en", "de", "sk", "it"}));
  app.add_option("--mode", ctx.mode, "Result mode: full time, 1st half, 2nd half, under/over")
      ->check(CLI::IsMember({"ft", "1h", "2h", "uo"}));

  int exit_code = kExitOk;
  RegisterBasicCommands(app, ctx, exit_code);
  RegisterEngineCommands(app, ctx, exit_code);
  RegisterBuilderCommands(app, ctx, exit_code);
  RegisterDemoCommands(app, ctx, exit_code);
  RegisterTipsCommands(app, ctx, exit_code);
  RegisterBacktestCommands(app, ctx, exit_code);
  RegisterMatchCommands(app, ctx, exit_code);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  } catch (const DatabaseError& e) {
    std::cerr << "Error: " << e.what() << "\n";
    return kExitError;
  } catch (const CipherError& e) {
    std::cerr << "Error: " << e.what() << "\n";
    return kExitError;
  } catch (const std::exception& e) {
    std::cerr << "Error: " << e.what() << "\n";
    return kExitError;
  }
  return exit_code;
}

}  // namespace morvela
