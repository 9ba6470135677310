#include "builder/prepare_seasons.h"

#include <chrono>
#include <cstdio>

#include "builder/csv_import.h"
#include "builder/season_start.h"
#include "i18n/leagues.h"
#include "rating/season_replay.h"

namespace morvela {

namespace {

// "1 season", "15 seasons", "1 match", "380 matches".
std::string Counted(size_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : noun.back() == 'h' ? "es" : "s");
}

}  // namespace

void PrepareSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                    const std::vector<int>& leagues,
                    std::function<void(const std::string&)> progress) {
  std::vector<int> ids = leagues;
  if (ids.empty())
    for (int id = 1; id <= kLeagueCount; ++id) ids.push_back(id);
  Connection& conn = dm.ADOConnection1;
  for (int league : ids) {
    const auto started = std::chrono::steady_clock::now();
    const std::vector<CompetitionSeason> competitions = LeagueCompetitions(conn, league);
    if (competitions.empty()) continue;
    InTransaction(conn, [&] { ComputeSeasonStarts(conn, league); });
    size_t matches = 0;
    // A replay writes one row per match and pass; inside one transaction those writes cost
    // one commit instead of thousands.
    for (const CompetitionSeason& c : competitions) {
      const ReplayReport report =
          InTransaction(conn, [&] { return ReplaySeason(dm, wait, msgs, std::to_string(c.id)); });
      matches += static_cast<size_t>(report.rows_rated);
      if (report.over_limits && progress) {
        std::string why;
        for (const std::string& p : report.problems) why += (why.empty() ? "" : "; ") + p;
        progress("  " + LeagueName(league, kEnglish) + " " + SeasonLabel(c.season) +
                 ": not replayable: " + why);
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
}

}  // namespace morvela
