#include "builder/prepare_seasons.h"

#include <chrono>
#include <cstdio>

#include "builder/csv_import.h"
#include "builder/schema.h"
#include "builder/season_start.h"
#include "core/atomic_file.h"
#include "core/folder_lock.h"
#include "core/kill_point.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "rating/season_replay.h"

namespace morvela {

namespace {

// "1 season", "15 seasons", "1 match", "380 matches".
std::string Counted(size_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : noun.back() == 'h' ? "es" : "s");
}

// Replaying at least half of all matches rewrites so many differences that making their
// indexes again costs less than moving two entries per difference written.
bool ReplaysMostMatches(Connection& conn, const std::vector<int>& leagues) {
  std::string ids;
  for (int id : leagues) ids += (ids.empty() ? "" : ",") + std::to_string(id);
  Query q(conn);
  q.Open("SELECT COUNT(*) AS N FROM VYSLEDKY");
  const int64_t all = q.FieldByName("N").AsInteger();
  q.Open(
      "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE "
      "ID_LIGA IN (" +
      ids + "))");
  return all > 0 && 2 * q.FieldByName("N").AsInteger() >= all;
}

PrepareReport PrepareLeagues(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                             const std::vector<int>& ids,
                             const std::function<void(const std::string&)>& progress) {
  Connection& conn = dm.ADOConnection1;
  PrepareReport result;
  for (int league : ids) {
    const auto started = std::chrono::steady_clock::now();
    const std::vector<CompetitionSeason> competitions = LeagueCompetitions(conn, league);
    if (competitions.empty()) continue;
    InTransaction(conn, [&] { ComputeSeasonStarts(conn, league); });
    size_t matches = 0;
    // A replay writes one row per match and pass; inside one transaction those writes cost
    // one commit instead of thousands.
    for (const CompetitionSeason& c : competitions) {
      const ReplayReport report = InTransaction(conn, [&] {
        ReplayReport r = ReplaySeason(dm, wait, msgs, std::to_string(c.id));
        conn.ExecuteNative("DELETE FROM REPLAY_PENDING WHERE ID_SUTAZ=" + std::to_string(c.id));
        return r;
      });
      matches += static_cast<size_t>(report.rows_rated);
      if (report.over_limits) {
        std::string why;
        for (const std::string& p : report.problems) why += (why.empty() ? "" : "; ") + p;
        result.not_replayable.push_back(LeagueName(league, kEnglish) + " " + SeasonLabel(c.season) +
                                        ": not replayable: " + why);
        if (progress) progress("  " + result.not_replayable.back());
      }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (progress) {
      char time[32];
      std::snprintf(time, sizeof time, "%.1f s", seconds);
      progress(LeagueName(league, kEnglish) + ": " + Counted(competitions.size(), "season") + ", " +
               Counted(matches, "match") + ", " + time);
    }
  }
  return result;
}

}  // namespace

PrepareReport PrepareSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                             const std::vector<int>& leagues,
                             std::function<void(const std::string&)> progress) {
  std::vector<int> ids = leagues;
  if (ids.empty())
    for (int id = 1; id <= kLeagueCount; ++id) ids.push_back(id);
  Connection& conn = dm.ADOConnection1;
  EnsureBuilderTables(conn);
  const bool set_aside = ReplaysMostMatches(conn, ids);
  if (set_aside) {
    DropDifferenceIndexes(conn);
  } else {
    RestoreDifferenceIndexes(conn);
  }
  try {
    PrepareReport result = PrepareLeagues(dm, wait, msgs, ids, progress);
    KillPoint("prepare:replayed");
    if (set_aside) CreateDifferenceIndexes(conn);
    return result;
  } catch (...) {
    if (set_aside) {
      try {
        CreateDifferenceIndexes(conn);
      } catch (const DatabaseError&) {
        // the next start makes them (RestoreDifferenceIndexes)
      }
    }
    throw;
  }
}

void RestoreDifferenceIndexes(Connection& conn) {
  if (!DifferenceIndexesComplete(conn)) CreateDifferenceIndexes(conn);
}

void MarkLeagueForReplay(Connection& conn, int league) {
  conn.ExecuteNative(
      "INSERT OR IGNORE INTO REPLAY_PENDING (ID_SUTAZ) SELECT ID FROM SUTAZ WHERE "
      "ID_LIGA=" +
      std::to_string(league));
}

std::vector<int> PendingReplayLeagues(Connection& conn) {
  EnsureBuilderTables(conn);
  std::vector<int> leagues;
  Query q(conn);
  q.Open(
      "SELECT DISTINCT SUTAZ.ID_LIGA AS LEAGUE FROM REPLAY_PENDING INNER JOIN SUTAZ ON "
      "SUTAZ.ID=REPLAY_PENDING.ID_SUTAZ ORDER BY SUTAZ.ID_LIGA");
  for (; !q.Eof(); q.Next())
    leagues.push_back(static_cast<int>(q.FieldByName("LEAGUE").AsInteger()));
  return leagues;
}

PrepareReport ReplayPendingSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                                   std::function<void(const std::string&)> progress) {
  Connection& conn = dm.ADOConnection1;
  const std::vector<int> leagues = PendingReplayLeagues(conn);
  // Marks of competitions deleted since are of no use.
  conn.ExecuteNative("DELETE FROM REPLAY_PENDING WHERE ID_SUTAZ NOT IN (SELECT ID FROM SUTAZ)");
  if (leagues.empty()) return {};
  return PrepareSeasons(dm, wait, msgs, leagues, std::move(progress));
}

PrepareReport ReplayPendingAtStartup(Program& program) {
  Connection& conn = program.dm.ADOConnection1;
  FolderLock lock(program.folder, false, "replay");
  if (!lock.Held()) return {};  // the writer at work cleans up and replays itself
  // What a killed install or import left beside the database (a half-inflated package can be
  // gigabytes) goes now, not at the next install.
  RemoveStaleTemporaryFiles(program.DatabasePath());
  try {
    RestoreDifferenceIndexes(conn);
  } catch (const DatabaseError&) {
    // A file that cannot be written answers without them, only slower.
  }
  // Start-up only reads: a database that never saw an import has no marks to keep.
  Query table(conn);
  table.Open("SELECT name FROM sqlite_master WHERE type=\"table\" AND name=\"REPLAY_PENDING\"");
  if (table.Eof()) return {};
  if (PendingReplayLeagues(conn).empty()) return {};
  WaitScope busy(program.wait, 0, program.messages.Msg(msg::kReplayingUnfinished));
  return ReplayPendingSeasons(program.dm, program.wait, program.messages, nullptr);
}

}  // namespace morvela
