// The league tables on the largest season of a database built from the real match data: every
// view (standings, form, goals, goal form on three sides, the three rating tables) computed
// many times; prints the median time of each. Goal: under 10 ms each.
//
// Usage: tables_bench [DATABASE] [RUNS]   (default: $MORVELA_HOME/Morvela.mdb, 50 runs)
// The benchmark works on a copy, so the database itself is not changed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "program/program.h"
#include "program/selection.h"
#include "program/startup.h"
#include "tables/league_tables.h"

using namespace morvela;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
  if (source.empty() || runs < 1) {
    std::fprintf(stderr,
                 "usage: tables_bench DATABASE [RUNS] (a database built by morvela-cli "
                 "import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-tables-bench");

  bench::SilentUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  bench::OpenProgram(p, folder);

  const long long played = bench::ChooseLargestSeason(p, /*active_only=*/false);
  if (played < 0) {
    std::fprintf(stderr, "the database has no season\n");
    return 1;
  }
  std::printf("season: league %s, %s, %lld played matches, %d teams; median of %d runs\n",
              p.selection.league.c_str(), p.selection.season.c_str(), played,
              p.selection.team_count, runs);

  struct View {
    const char* name;
    int mode;
    uint8_t kind;
    int button;
  };
  const View views[] = {
      {"standings home", 0, 3, 1},
      {"standings away", 0, 3, 2},
      {"standings together", 0, 3, 3},
      {"elo", 0, 3, 4},
      {"elo home", 0, 3, 5},
      {"elo away", 0, 3, 6},
      {"form home", 0, 9, 1},
      {"form away", 0, 9, 2},
      {"form together", 0, 9, 3},
      {"goals home", 3, 12, 1},
      {"goals away", 3, 12, 2},
      {"goals together", 3, 12, 3},
      {"goal form home", 3, 15, 1},
      {"goal form away", 3, 15, 2},
      {"goal form together", 3, 15, 3},
  };
  double worst = 0;
  for (const View& v : views) {
    p.selection.result_mode = static_cast<ResultMode>(v.mode);
    TForm2 t(p, {static_cast<TableKind>(v.kind)});
    t.FormShow();
    const double s = bench::MedianSeconds(runs, [&] {
      switch (v.button) {
        case 1:
          t.Button1Click();
          break;
        case 2:
          t.Button2Click();
          break;
        case 3:
          t.Button3Click();
          break;
        case 4:
          t.Button4Click();
          break;
        case 5:
          t.Button5Click();
          break;
        default:
          t.Button6Click();
          break;
      }
    });
    worst = std::max(worst, s);
    std::printf("%-20s %7.3f ms  (%d rows)\n", v.name, s * 1000, t.RowCount() - 1);
    t.Close();
  }
  std::printf("slowest view: %.3f ms (goal: under 10 ms)\n", worst * 1000);
  fs::remove_all(folder);
  return worst < 0.010 ? 0 : 1;
}
