// The engine's hot paths on a database built from the real match data: one replay of a full
// active season, 300 list searches for fixtures spread over all leagues, and the same 300
// searches answered by the in-memory reference (sorted differences, binary-searched windows).
//
// Usage: engine_bench [DATABASE]   (default: $MORVELA_HOME/Morvela.mdb)
// Build the database first, e.g.
//   morvela-cli --home /tmp/real import --aliases ../shared/data/team_aliases.csv
//   ../shared/data/results
// The benchmark works on a copy, so the database itself is not changed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/data_module.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"
#include "predict/outcome_reference.h"
#include "predict/outcome_search.h"
#include "program/startup.h"
#include "rating/season_replay.h"

using namespace morvela;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  if (source.empty()) {
    std::fprintf(stderr, "usage: engine_bench DATABASE (a database built by morvela-cli import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-engine-bench");

  Tdm dm;
  dm.ADOConnection1.SetConnectionString(MakeConnectionString(folder, ""));
  dm.ADOConnection1.Open();
  Messages msgs;
  msgs.NastavJazyk(1);
  NullWaitIndicator wait;

  // The active season with the most matches (a full season of 18 teams has 306).
  Query q(dm.ADOConnection1);
  q.Open(
      "SELECT TOP 1 SUTAZ.ID AS ID, SUTAZ.ID_LIGA AS ID_LIGA, (SELECT COUNT(*) FROM VYSLEDKY WHERE "
      "VYSLEDKY.ID_SUTAZ=SUTAZ.ID) AS N FROM SUTAZ WHERE ROCNIK=\"Active\" ORDER BY 3 DESC");
  if (q.Eof()) {
    std::fprintf(stderr, "the database has no active season\n");
    return 1;
  }
  const std::string competition = q.FieldByName("ID").AsString();
  const int64_t season_matches = q.FieldByName("N").AsInteger();
  const double replay = bench::MedianSeconds(5, [&] { ReplaySeason(dm, wait, msgs, competition); });

  // 300 fixtures spread over all leagues: the last matches of every league's active season,
  // taken in turn until 300 are found.
  struct Probe {
    int64_t league;
    int32_t d;
  };
  std::vector<Probe> probes;
  q.Open(
      "SELECT VYSLEDKY.ELO_ROZDIEL AS D, SUTAZ.ID_LIGA AS L FROM VYSLEDKY, SUTAZ WHERE "
      "VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND SUTAZ.ROCNIK=\"Active\" AND VYSLEDKY.ELO_ROZDIEL IS NOT NULL "
      "ORDER BY VYSLEDKY.DATUM DESC, VYSLEDKY.ID");
  for (; !q.Eof() && probes.size() < 300; q.Next())
    probes.push_back(
        {q.FieldByName("L").AsInteger(), static_cast<int32_t>(q.FieldByName("D").AsInteger())});

  std::vector<PredictionState> sql_states(probes.size());
  const uint64_t before = dm.ADOConnection1.Stats().statements;
  const double sql = bench::MedianSeconds(5, [&] {
    for (size_t i = 0; i < probes.size(); ++i) {
      SearchContext ctx;
      ctx.league = std::to_string(probes[i].league);
      FindOutcomeFrequencies(dm.ADOConnection1, sql_states[i], ctx, SearchMode::kList, probes[i].d);
    }
  });
  const uint64_t statements = (dm.ADOConnection1.Stats().statements - before) / 5;

  double load = 0;
  std::unique_ptr<OutcomeReference> ref;
  load = bench::MedianSeconds(3, [&] {
    ref = std::make_unique<OutcomeReference>(dm.ADOConnection1, ResultMode::kFullTime);
  });
  std::vector<PredictionState> ref_states(probes.size());
  const double memory = bench::MedianSeconds(5, [&] {
    for (size_t i = 0; i < probes.size(); ++i)
      ref->ListSearch(ref_states[i], probes[i].league, probes[i].d);
  });
  int differ = 0;
  for (size_t i = 0; i < probes.size(); ++i) {
    const auto& a = sql_states[i];
    const auto& b = ref_states[i];
    if (a.HomePercent != b.HomePercent || a.DrawPercent != b.DrawPercent ||
        a.AwayPercent != b.AwayPercent || a.LeagueHomePercent != b.LeagueHomePercent ||
        a.LeagueDrawPercent != b.LeagueDrawPercent || a.LeagueAwayPercent != b.LeagueAwayPercent)
      ++differ;
  }

  std::printf("database: %s (%lld matches searched by the reference)\n", source.c_str(),
              static_cast<long long>(ref->MatchCount()));
  std::printf("replay of competition %s (%lld matches and fixtures): median %.3f s\n",
              competition.c_str(), static_cast<long long>(season_matches), replay);
  std::printf(
      "%zu list searches, SQL path     : median %.3f s (%llu statements, %.0f statements/s)\n",
      probes.size(), sql, static_cast<unsigned long long>(statements), statements / sql);
  std::printf(
      "%zu list searches, in memory    : median %.4f s (+ %.3f s to load the reference once)\n",
      probes.size(), memory, load);
  std::printf(
      "ratio SQL / in-memory          : %.1f (searches only), %.1f (with the reference's load)\n",
      sql / memory, sql / (memory + load));
  std::printf("searches whose percentages differ: %d\n", differ);
  dm.ADOConnection1.Close();
  fs::remove_all(folder);
  return differ == 0 ? 0 : 1;
}
