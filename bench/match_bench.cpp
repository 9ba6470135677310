// One match analysis as the match tip window runs it (pairing analysis or under/over analysis,
// the match search, the odds lookup) on the real season with the most matches, full time and
// under/over, as the median of many runs over different pairings.
//
// Usage: match_bench [DATABASE]   (default: $MORVELA_HOME/Morvela.mdb)
// The benchmark works on a copy, so the database itself is not changed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/match_window.h"
#include "bench_support.h"
#include "core/helpers.h"
#include "program/program.h"
#include "program/startup.h"

using namespace morvela;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  if (source.empty()) {
    std::fprintf(stderr, "usage: match_bench DATABASE (a database built by morvela-cli import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-match-bench");

  bench::SilentUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  bench::OpenProgram(p, folder);
  p.today = *MakeDate(2024, 6, 1);

  // The season with the most played matches within the window's limits (25 teams).
  Query q(p.dm.ADOConnection1);
  q.Open(
      "SELECT TOP 1 SUTAZ.ID AS ID, SUTAZ.ID_LIGA AS ID_LIGA, SUTAZ.ROCNIK AS ROCNIK, (SELECT "
      "COUNT(*) FROM VYSLEDKY WHERE VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND VYSLEDOK<>\"\") AS N, (SELECT "
      "COUNT(*) FROM SUTAZ_MUZSTVA WHERE SUTAZ_MUZSTVA.ID_SUTAZ=SUTAZ.ID) AS T FROM SUTAZ WHERE "
      "(SELECT COUNT(*) FROM SUTAZ_MUZSTVA WHERE SUTAZ_MUZSTVA.ID_SUTAZ=SUTAZ.ID)<=25 ORDER BY 4 "
      "DESC");
  if (q.Eof()) {
    std::fprintf(stderr, "the database has no season\n");
    return 1;
  }
  p.selection.league = q.FieldByName("ID_LIGA").AsString();
  p.selection.competition = q.FieldByName("ID").AsString();
  std::printf("Season: league %s, %s, %lld played matches, %lld teams\n",
              p.selection.league.c_str(), q.FieldByName("ROCNIK").AsString().c_str(),
              static_cast<long long>(q.FieldByName("N").AsInteger()),
              static_cast<long long>(q.FieldByName("T").AsInteger()));
  const std::vector<TeamItem> teams =
      CompetitionTeams(p.dm.ADOConnection1, p.selection.competition, kEnglish);

  TForm5 w(p);
  p.WindowRaised = true;
  for (int mode : {0, 3}) {
    p.selection.result_mode = static_cast<ResultMode>(mode);
    size_t pair = 0;
    int failures = 0;
    auto one = [&] {
      const TeamItem& h = teams[pair % teams.size()];
      const TeamItem& a = teams[(pair / teams.size() + pair + 1) % teams.size()];
      ++pair;
      w.PresetTeams(h, a);
      w.FormShow();
      if (!w.ZobrazOkno()) ++failures;
    };
    one();  // warm the statement cache
    const int runs = 101;
    const double median = bench::MedianSeconds(runs, one);
    std::printf("%-10s one analysis: median %.2f ms over %d pairings%s\n",
                mode == 0 ? "full time" : "under/over", median * 1000, runs,
                failures ? " (some failed)" : "");
  }
  return 0;
}
