// The settings command (show or change the settings file) and the package command (the files an
// update server publishes).
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "builder/update_package.h"
#include "cli/cli_context.h"
#include "core/helpers.h"
#include "i18n/message_ids.h"
#include "program/setting_arguments.h"
#include "program/settings.h"

namespace morvela {

namespace {

void ShowSettings(const std::string& path) {
  const Settings s = ReadSettings(path);
  const UpdateServerSettings server = ReadUpdateServerSettings(path);
  const int lang_names[] = {msg::kEnglishLanguage, msg::kGermanLanguage, msg::kSlovakLanguage,
                            msg::kItalianLanguage};
  std::cout << "Settings file: " << path << "\n";
  std::cout << "Dni=" << s.Dni << "\n";
  std::cout << "3tip=" << (s.Tip3 ? 1 : 0) << "\n";
  std::cout << "Dbf=" << s.Dbf << "\n";
  std::cout << "App=" << s.App << "\n";
  std::cout << "Lang=" << s.Lang;
  if (s.Lang >= 1 && s.Lang <= 4)
    std::cout << " (" << MessageText(lang_names[s.Lang - 1], kEnglish) << ")";
  else
    std::cout << " (not chosen)";
  std::cout << "\n";
  std::cout << "Server=" << server.server << "\n";
  if (const char* env = std::getenv("MORVELA_UPDATE_URL"); env && *env)
    std::cout << "  (MORVELA_UPDATE_URL overrides it in this environment: " << env << ")\n";
  std::cout << "User=" << server.user << "\n";
  std::cout << "Password " << (server.password.empty() ? "not set" : "set") << "\n";
}

int RunSettings(CliContext& ctx, const std::vector<std::string>& arguments) {
  const std::string path = ctx.Folder() + "Nastavenie.ini";
  if (arguments.empty()) {
    ShowSettings(path);
    return kExitOk;
  }
  const SettingChanges changes = ParseSettingArguments(arguments);
  if (!changes.error.empty()) {
    std::cerr << "Error: " << changes.error << "; the settings file was not changed\n";
    return kExitUsage;
  }
  // A new file gets every default first, as the program's first start would write it.
  if (!EnsureSettingsFile(path) || !WriteSettingValues(path, changes.values)) {
    std::cerr << "Error: cannot write " << path << "\n";
    return kExitError;
  }
  for (const SettingValue& v : changes.values) {
    std::cout << "Set " << v.key;
    if (v.key != "Password" && v.key != "User") std::cout << "=" << v.text;
    std::cout << "\n";
  }
  return kExitOk;
}

int RunPackage(CliContext& ctx, const std::string& out, const std::string& date_text) {
  const std::string database = ctx.Folder() + "Morvela.mdb";
  if (!std::filesystem::exists(database)) {
    std::cerr << "Error: no database at " << database << "\n";
    return kExitError;
  }
  const Date today = ctx.Today().value_or(SystemToday());
  std::string date;
  if (date_text.empty()) {
    date = DefaultPackageDate(database, today);
  } else {
    const std::optional<Date> d = ParseShortDate(date_text);
    if (!d) {
      std::cerr << "Error: --date: \"" << date_text << "\" is not a date DD.MM.YYYY\n";
      return kExitUsage;
    }
    date = FormatDateText(*d);
  }
  const PackageReport r = WriteUpdatePackages(database, out, date, today);
  std::cout << "Wrote " << out << ": check.txt (" << r.date << "), results.qvz (" << r.results_bytes
            << " bytes from " << r.database_bytes << "), odds.qvz (" << r.odds_rows << " rows, "
            << r.odds_bytes << " bytes), version.txt\n";
  return kExitOk;
}

}  // namespace

void RegisterSettingsCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* settings = app.add_subcommand(
      "settings",
      "Show the settings, or change them: KEY=VALUE with the keys Dni, 3tip, Dbf, "
      "App, Lang (1-4 or en/de/sk/it), Server, User, Password");
  std::vector<std::string>& arguments = ctx.List();
  settings->add_option("assignments", arguments, "KEY=VALUE");
  settings->callback([&ctx, &exit_code, &arguments] { exit_code = RunSettings(ctx, arguments); });

  auto* package =
      app.add_subcommand("package",
                         "Write the update server's files (check.txt, results.qvz, odds.qvz, "
                         "version.txt) from the database");
  std::string& out = ctx.Text();
  std::string& date = ctx.Text();
  package->add_option("--out", out, "Folder to write the files into")->required();
  package->add_option("--date", date,
                      "Database date the check answers (DD.MM.YYYY; default: DAT_DB or today)");
  package->callback([&ctx, &exit_code, &out, &date] { exit_code = RunPackage(ctx, out, date); });
}

}  // namespace morvela
