// The settings command (show or change the settings file) and the package command (the files an
// update server publishes).
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "builder/update_package.h"
#include "cli/cli_context.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/server_address.h"
#include "program/setting_arguments.h"
#include "program/settings.h"
#include "update/server_settings.h"

namespace morvela {

namespace {

// Where the settings command takes the password from besides a Password=VALUE argument.
struct PasswordSource {
  bool from_stdin = false;     // --password-stdin: one line of standard input
  bool from_terminal = false;  // --password: typed at a prompt, not echoed
};

// Switches the terminal's echo off for its lifetime, so a typed password is not shown.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (::tcgetattr(fd_, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_) ::tcsetattr(fd_, TCSAFLUSH, &saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

// One line of standard input without its line end (LF or CR LF); nullopt at the end of input.
std::optional<std::string> ReadLine() {
  std::string line;
  if (!std::getline(std::cin, line) && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// The password from the source the options name; nullopt after saying on stderr why there is
// none.
std::optional<std::string> ReadPassword(const PasswordSource& source) {
  if (source.from_terminal) {
    if (!::isatty(STDIN_FILENO)) {
      std::cerr << "Error: --password asks on a terminal, and standard input is none; give the "
                   "password with --password-stdin\n";
      return std::nullopt;
    }
    std::optional<std::string> line;
    {
      // Echo goes off before the prompt, so nothing typed after the prompt is ever shown.
      EchoOff quiet(STDIN_FILENO);
      std::cerr << "Password: " << std::flush;
      line = ReadLine();
    }
    std::cerr << "\n";
    if (!line) std::cerr << "Error: no password was typed\n";
    return line;
  }
  std::optional<std::string> line = ReadLine();
  if (!line) std::cerr << "Error: --password-stdin: standard input holds no line\n";
  return line;
}

bool IsPasswordArgument(const std::string& argument) {
  const size_t eq = argument.find('=');
  return eq != std::string::npos &&
         EqualsIgnoringAsciiCase(std::string_view(argument).substr(0, eq), "Password");
}

// The warning of the update server settings in the file: basic authentication over plain http.
void WarnOfPlainHttp(const UpdateServerSettings& server) {
  const std::string warning = PlainHttpPasswordWarning(server.server, server.user);
  if (!warning.empty()) std::cerr << "Warning: " << warning << "\n";
}

void ShowSettings(const std::string& path) {
  const Settings s = ReadSettings(path);
  const UpdateServerSettings server = ReadUpdateServerSettings(path);
  const MessageId lang_names[] = {msg::kEnglishLanguage, msg::kGermanLanguage, msg::kSlovakLanguage,
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
  std::cout << "Server=" << MaskedAddress(server.server) << "\n";
  if (const char* env = std::getenv("MORVELA_UPDATE_URL"); env && *env)
    std::cout << "  (MORVELA_UPDATE_URL overrides it in this environment: " << MaskedAddress(env)
              << ")\n";
  std::cout << "User=" << server.user << "\n";
  std::cout << "Password " << (server.password.empty() ? "not set" : "set") << "\n";
  // An older file may hold an address the requests refuse (credentials written into it).
  const UpdateServer used = ReadUpdateServer(path);
  if (!used.error.empty())
    std::cerr << "Warning: " << used.error << "\n";
  else
    WarnOfPlainHttp(server);
}

int RunSettings(CliContext& ctx, std::vector<std::string> arguments, const PasswordSource& source) {
  const std::string path = ctx.Folder() + "Nastavenie.ini";
  const bool on_command_line = std::any_of(arguments.begin(), arguments.end(), IsPasswordArgument);
  if (source.from_stdin && source.from_terminal) {
    std::cerr << "Error: give the password with --password-stdin or --password, not both\n";
    return kExitUsage;
  }
  if ((source.from_stdin || source.from_terminal) && on_command_line) {
    std::cerr << "Error: a Password=VALUE argument and --password-stdin or --password both give "
                 "the password; give it once\n";
    return kExitUsage;
  }
  // Clearing the password (Password=) shows nobody anything.
  if (std::any_of(arguments.begin(), arguments.end(),
                  [](const std::string& a) { return IsPasswordArgument(a) && a.back() != '='; }))
    std::cerr << "Warning: a password on the command line can be read by other users of this "
                 "machine (in the process list) and stays in the shell's history; give it with "
                 "--password-stdin or --password\n";
  if (source.from_stdin || source.from_terminal) {
    const std::optional<std::string> password = ReadPassword(source);
    if (!password) return kExitUsage;
    arguments.push_back("Password=" + *password);
  }
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
  FolderLock lock(ctx.Folder(), kWriterPatience, "settings");
  if (!lock.Held()) {
    std::cerr << "Error: " << FolderLock::BusyMessage(ctx.Folder())
              << "; the settings file was not changed\n";
    return kExitError;
  }
  if (!EnsureSettingsFile(path) || !WriteSettingValues(path, changes.values)) {
    std::cerr << "Error: cannot write " << path << "\n";
    return kExitError;
  }
  for (const SettingValue& v : changes.values) {
    std::cout << "Set " << v.key;
    if (v.key != "Password" && v.key != "User") std::cout << "=" << v.text;
    std::cout << "\n";
  }
  WarnOfPlainHttp(ReadUpdateServerSettings(path));
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
  auto source = std::make_shared<PasswordSource>();
  settings->add_option("assignments", arguments, "KEY=VALUE");
  settings->add_flag("--password-stdin", source->from_stdin,
                     "Read the update server's password from the first line of standard input");
  settings->add_flag("--password", source->from_terminal,
                     "Ask for the update server's password on the terminal (not echoed)");
  settings->callback(
      [&ctx, &exit_code, &arguments, source] { exit_code = RunSettings(ctx, arguments, *source); });

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
