// The import command: CSV files into the program folder's database, then the season-start data
// and the replay of every season of the leagues that changed.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "builder/csv_import.h"
#include "builder/csv_text.h"
#include "builder/prepare_seasons.h"
#include "builder/schema.h"
#include "builder/season_start.h"
#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "core/folder_lock.h"
#include "i18n/leagues.h"
#include "program/startup.h"

namespace morvela {

namespace {

struct ImportArgs {
  std::vector<std::string> paths;
  std::string league;
  std::string aliases;
  bool compare_start = false;
  bool force = false;
};

void PrintReport(const ImportReport& report) {
  for (const FileImport& f : report.files) {
    std::cout << f.file << ": ";
    if (f.rejected) {
      std::cout << "not imported\n";
      continue;
    }
    std::cout << f.rows << " rows, " << f.inserted << " new, " << f.updated << " updated, "
              << f.unchanged << " unchanged, " << f.skipped << " skipped\n";
  }
  for (const std::string& e : report.errors) std::cerr << "Error: " << e << "\n";
  for (const std::string& n : report.notes) std::cerr << "Note: " << n << "\n";
  for (const std::string& w : report.warnings) std::cerr << "Warning: " << w << "\n";
}

void PrintComparison(Connection& conn) {
  std::vector<int> all;
  for (int id = 1; id <= kLeagueCount; ++id) all.push_back(id);
  const StartRuleComparison c = CompareStartRules(conn, all);
  char line[200];
  std::snprintf(line, sizeof line,
                "Mean |rating change| over each team's first 5 matches of %d seasons "
                "(%lld team-matches): carried-over start %.3f, constant 1500 start %.3f\n",
                c.seasons, static_cast<long long>(c.changes), c.stored, c.constant);
  std::cout << line;
}

void PrintNotReplayable(const std::vector<std::string>& seasons) {
  for (const std::string& s : seasons)
    std::cerr << "Error: " << s << " (its matches have no rating differences)\n";
}

int RunImport(CliContext& ctx, const ImportArgs& args) {
  ImportOptions options;
  if (!args.league.empty()) {
    options.league = LeagueIdFromCode(args.league);
    if (!options.league) {
      std::cerr << "Error: --league: unknown league " << csv::Quote(args.league) << "\n";
      return kExitUsage;
    }
  }
  if (!args.aliases.empty()) options.aliases = TeamAliases::Load(args.aliases);

  const std::string folder = ctx.Folder();
  // One writer at a time: the importer works from its own copy of the seasons and clubs, read
  // after this lock is taken.
  FolderLock lock(folder, false, "import");
  if (!lock.Held()) {
    std::cerr << "Error: " << FolderLock::BusyMessage(folder) << "\n";
    return kExitError;
  }
  const std::string path = folder + "Morvela.mdb";
  Tdm dm;
  if (int rc = OpenForRealResults(folder, "import", args.force, dm); rc != kExitOk) return rc;
  Messages msgs;
  msgs.NastavJazyk(ctx.Language().value_or(kEnglish));
  auto progress = [](const std::string& line) { std::cout << line << std::endl; };
  std::vector<std::string> not_replayable;

  // An earlier run killed before its replay finished left its seasons marked.
  if (!PendingReplayLeagues(dm.ADOConnection1).empty()) {
    std::cout << "Replaying the seasons an earlier run left unfinished:\n";
    not_replayable = ReplayPendingSeasons(dm, ctx.wait, msgs, progress).not_replayable;
  }

  const ImportReport report = ImportCsv(dm.ADOConnection1, args.paths, options);
  PrintReport(report);
  std::cout << "Imported " << report.files.size() << " file(s): " << report.Inserted()
            << " new matches, " << report.Updated() << " updated, " << report.Skipped()
            << " bad rows skipped\n";

  if (!report.changed_leagues.empty()) {
    const std::vector<int> leagues(report.changed_leagues.begin(), report.changed_leagues.end());
    const PrepareReport prepared = PrepareSeasons(dm, ctx.wait, msgs, leagues, progress);
    not_replayable.insert(not_replayable.end(), prepared.not_replayable.begin(),
                          prepared.not_replayable.end());
  }
  if (args.compare_start) PrintComparison(dm.ADOConnection1);
  dm.ADOConnection1.Close();

  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) {
    char line[64];
    std::snprintf(line, sizeof line, "%.1f MB", static_cast<double>(size) / (1024.0 * 1024.0));
    std::cout << "Database " << path << ": " << line << "\n";
  }
  PrintNotReplayable(not_replayable);
  const bool rejected = std::any_of(report.files.begin(), report.files.end(),
                                    [](const FileImport& f) { return f.rejected; });
  if (rejected || report.Skipped() > 0 || !not_replayable.empty()) return kExitError;
  int rows = 0;
  for (const FileImport& f : report.files) rows += f.rows;
  if (rows == 0) {
    std::cerr << "Warning: nothing to import: "
              << (report.files.empty() ? "no CSV files found" : "the files hold no match rows")
              << "\n";
    return kExitNothing;
  }
  return kExitOk;
}

}  // namespace

int RunReplayPending(CliContext& ctx) {
  const std::string folder = ctx.Folder();
  FolderLock lock(folder, false, "replay");
  if (!lock.Held()) {
    std::cerr << "Error: " << FolderLock::BusyMessage(folder) << "\n";
    return kExitError;
  }
  const std::string path = folder + "Morvela.mdb";
  if (!std::filesystem::exists(path)) {
    std::cerr << "Error: no database " << path << "\n";
    return kExitError;
  }
  Tdm dm;
  dm.ADOConnection1.SetConnectionString(MakeConnectionString(folder, DatabasePassword()));
  dm.ADOConnection1.Open();
  if (PendingReplayLeagues(dm.ADOConnection1).empty()) {
    std::cout << "No season waits for a replay\n";
    return kExitOk;
  }
  Messages msgs;
  msgs.NastavJazyk(ctx.Language().value_or(kEnglish));
  const PrepareReport r = ReplayPendingSeasons(
      dm, ctx.wait, msgs, [](const std::string& line) { std::cout << line << std::endl; });
  dm.ADOConnection1.Close();
  PrintNotReplayable(r.not_replayable);
  return r.not_replayable.empty() ? kExitOk : kExitError;
}

int OpenForRealResults(const std::string& folder, const std::string& verb, bool force, Tdm& dm) {
  const std::string path = folder + "Morvela.mdb";
  RemoveStaleTemporaryFiles(path);  // left by a killed run; the caller holds the lock
  if (!std::filesystem::exists(path)) {
    CreateEmptyDatabase(path, false);
    std::cout << "Created " << path << "\n";
  }
  dm.ADOConnection1.SetConnectionString(MakeConnectionString(folder, DatabasePassword()));
  dm.ADOConnection1.Open();
  RestoreDifferenceIndexes(dm.ADOConnection1);  // a replay killed with them set aside
  if (DatabaseOrigin(dm.ADOConnection1) == "demo" && !force) {
    std::string capital = verb;
    capital[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capital[0])));
    std::cerr << "Error: " << path
              << " is the demo database of invented clubs; real results would be mixed into "
                 "its invented seasons. "
              << capital
              << " into another folder (--home FOLDER), or replace it with an empty database "
                 "first (init --force), or add --force to "
              << verb << " anyway.\n";
    return kExitError;
  }
  return kExitOk;
}

void RegisterBuilderCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* import = app.add_subcommand(
      "import",
      "Import football-data style CSV files (files or folders) into the program folder's "
      "database, then compute season starts and replay every season of the changed leagues");
  // The options are bound to one ImportArgs that the callback keeps alive as long as the app.
  auto holder = std::make_shared<ImportArgs>();
  ImportArgs& args = *holder;
  import->add_option("paths", args.paths, "CSV files or folders (searched recursively)")
      ->required();
  import->add_option("--league", args.league,
                     "Put every row into this league (code, division or country name)");
  import->add_option("--aliases", args.aliases,
                     "CSV of club name variants (cc,Div,name_footystats_style,"
                     "name_football_data): variants are stored under the second name");
  import->add_flag("--force", args.force,
                   "Import even into the demo database (mixing real and invented seasons)");
  import->add_flag("--compare-start", args.compare_start,
                   "Print how well carried-over season starts fit compared with a constant 1500");
  import->callback([&ctx, &exit_code, holder] { exit_code = RunImport(ctx, *holder);
});
}  // namespace morvela

}  // namespace morvela
