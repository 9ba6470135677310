// The fetch command: the current results, fixtures and odds from the public results site into
// the program folder's database (update/public_source.h), then the replay of what changed.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "builder/csv_text.h"
#include "builder/league_rules.h"
#include "builder/schema.h"
#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "core/folder_lock.h"
#include "i18n/leagues.h"
#include "program/startup.h"
#include "update/public_source.h"

namespace morvela {

namespace {

struct FetchArgs {
  std::string source;
  std::vector<std::string> leagues;
  int seasons = 3;
  std::string aliases;
  bool force = false;
};

void PrintSummary(const FetchReport& r) {
  for (const FileImport& f : r.import.files) {
    if (f.rejected) {
      std::cout << f.file << ": not imported\n";
      continue;
    }
    std::cout << f.file << ": " << f.rows - f.ignored << " rows, " << f.inserted << " new, "
              << f.updated << " updated, " << f.fixtures << " fixtures, " << f.skipped
              << " skipped\n";
  }
  for (const std::string& e : r.import.errors) std::cerr << "Error: " << e << "\n";
  for (const std::string& n : r.import.notes) std::cerr << "Note: " << n << "\n";
  for (const std::string& w : r.import.warnings) std::cerr << "Warning: " << w << "\n";
  for (const std::string& w : r.warnings) std::cerr << "Warning: " << w << "\n";
  std::cout << "Files: " << r.files_new << " new, " << r.files_changed << " changed, "
            << r.files_unchanged << " unchanged";
  if (r.files_failed > 0) std::cout << ", " << r.files_failed << " not available";
  std::cout << "\n";
  if (r.NothingNew()) {
    std::cout << "Nothing new\n";
    return;
  }
  int fixtures = 0;
  for (const auto& [league, c] : r.import.leagues) fixtures += c.fixtures;
  std::cout << "Matches: " << r.import.Inserted() << " added, " << r.import.Updated()
            << " updated; " << fixtures << " fixture rows\n";
  for (const auto& [league, c] : r.import.leagues)
    std::cout << "  " << LeagueName(league, kEnglish) << ": " << c.inserted << " added, "
              << c.updated << " updated, " << c.fixtures << " fixtures\n";
}

// "Fetching 3 of 40: mmz4281/2526/E0.csv" on one line of a terminal.
std::function<void(int, int, const std::string&)> TerminalProgress() {
  if (!isatty(STDERR_FILENO)) return {};
  return [](int done, int total, const std::string& path) {
    if (path.empty()) {
      std::cerr << "\r\033[K" << std::flush;
      return;
    }
    std::cerr << "\r\033[KFetching " << done + 1 << " of " << total << ": " << path << std::flush;
  };
}

int RunFetch(CliContext& ctx, const FetchArgs& args) {
  if (args.seasons < 0 || args.seasons > 30) {
    std::cerr << "Error: --seasons: give a number of past seasons from 0 to 30\n";
    return kExitUsage;
  }
  const std::string folder = ctx.Folder();
  FetchOptions options;
  for (const std::string& l : args.leagues) {
    const auto id = LeagueIdFromCode(l);
    if (!id) {
      std::cerr << "Error: --league: unknown league " << csv::Quote(l) << "\n";
      return kExitUsage;
    }
    if (!SourceLeagueOf(*id)) {
      std::cerr << "Error: --league: the public source has no files for "
                << LeagueName(*id, kEnglish) << "\n";
      return kExitUsage;
    }
    options.leagues.push_back(*id);
  }
  const SourceAddress address = ReadSourceAddress(folder + "Nastavenie.ini", args.source);
  if (!address.error.empty()) {
    std::cerr << "Error: " << address.error << "\n";
    return args.source.empty() ? kExitError : kExitUsage;
  }
  options.base_url = address.url;
  options.seasons = args.seasons;
  options.today = ctx.Today().value_or(SystemToday());
  const std::string aliases = !args.aliases.empty() ? args.aliases
                              : std::filesystem::exists(folder + "team_aliases.csv")
                                  ? folder + "team_aliases.csv"
                                  : "";
  if (!aliases.empty()) options.aliases = TeamAliases::Load(aliases);
  options.progress = TerminalProgress();
  options.replay_progress = [](const std::string& line) { std::cout << line << std::endl; };

  FolderLock lock(folder, false, "fetch");
  if (!lock.Held()) {
    std::cerr << "Error: " << FolderLock::BusyMessage(folder) << "\n";
    return kExitError;
  }
  Tdm dm;
  if (int rc = OpenForRealResults(folder, "fetch", args.force, dm); rc != kExitOk) return rc;
  Messages msgs;
  msgs.NastavJazyk(ctx.Language().value_or(kEnglish));
  std::cout << "Source: " << options.base_url << "\n";
  const FetchReport report = FetchFromSource(dm, folder, ctx.wait, msgs, options);
  dm.ADOConnection1.Close();
  PrintSummary(report);
  for (const std::string& s : report.not_replayable)
    std::cerr << "Error: " << s << " (its matches have no rating differences)\n";

  const bool rejected = std::any_of(report.import.files.begin(), report.import.files.end(),
                                    [](const FileImport& f) { return f.rejected; });
  const int had = report.files_new + report.files_changed + report.files_unchanged;
  if (had == 0 || rejected || report.import.Skipped() > 0 || !report.not_replayable.empty())
    return kExitError;
  return report.NothingNew() ? kExitNothing : kExitOk;
}

}  // namespace

void RegisterFetchCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* fetch = app.add_subcommand(
      "fetch",
      "Download the current results, fixtures and odds from the public results site, import "
      "what changed and replay");
  auto args = std::make_shared<FetchArgs>();
  fetch->add_option("--source", args->source,
                    "Base address of the source (default: MORVELA_SOURCE_URL, Source/Url of "
                    "the settings, or " +
                        std::string(kDefaultSourceUrl) + ")");
  fetch->add_option("--league", args->leagues,
                    "Only this league (code, division or country name); may repeat");
  fetch->add_option("--seasons", args->seasons,
                    "Past seasons besides the current one on a first fetch (default 3)");
  fetch->add_option("--aliases", args->aliases,
                    "CSV of club name variants (default: team_aliases.csv of the program folder "
                    "when there is one)");
  fetch->add_flag("--force", args->force, "Fetch even into the demo database");
  fetch->callback([&ctx, &exit_code, args] { exit_code = RunFetch(ctx, *args); });
}

}  // namespace morvela
