// The second opinion's hot paths on the real data: one league-day fit of the goal model (the
// largest league on a late day of the last season, so the fit sees its full history window),
// every league-day fit of three seasons on its own (the model's share of a backtest), and the
// backtest of those seasons of all leagues with every forecaster. Medians of several runs.
//
// Usage: forecast_bench [DATABASE]   (default: $MORVELA_HOME/Morvela.mdb)
// The benchmark works on a copy, so the database itself is not changed.
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/database.h"
#include "forecast/goal_model.h"
#include "forecast/match_forecast.h"
#include "tips/backtest.h"

using namespace morvela;

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  if (source.empty()) {
    std::fprintf(stderr,
                 "usage: forecast_bench DATABASE (a database built by morvela-cli import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-forecast-bench");
  Connection conn;
  conn.OpenFile(folder + "Morvela.mdb", false);

  // The competition of the last season with the most played matches, and its last match day.
  Query q(conn);
  q.Open(
      "SELECT ID_SUTAZ, COUNT(*) AS N, MAX(DATUM) AS LAST_DAY FROM VYSLEDKY WHERE VYSLEDOK<>\"\" "
      "AND DATUM>=#2024-07-01# GROUP BY ID_SUTAZ ORDER BY 2 DESC");
  if (q.Eof()) {
    std::fprintf(stderr, "the database has no season after July 2024\n");
    return 1;
  }
  const int64_t competition = q.FieldByName("ID_SUTAZ").AsInteger();
  const Date last_day = *q.FieldByName("LAST_DAY").AsDate();

  // One league-day fit: a fresh forecaster each time, with the league's matches already read.
  const int fit_runs = 21;
  GoalForecaster warm(conn);
  warm.ModelOf(competition, last_day);  // reads the league once
  const double fit = bench::MedianSeconds(fit_runs, [&] {
    static int shift = 0;
    // A different day each run, so that the forecaster's cache never answers.
    warm.ModelOf(competition, AddDays(last_day, -(++shift)));
  });
  std::printf(
      "League-day fit of the goal model (competition %lld, history to %s): median %.2f ms "
      "of %d fits\n",
      static_cast<long long>(competition), FormatIsoDate(last_day).c_str(), fit * 1000, fit_runs);

  // Every league-day of three seasons fitted, as the backtest does.
  double all_fits = bench::MedianSeconds(3, [&] {
    GoalForecaster f(conn);
    Query days(conn);
    days.Open(
        "SELECT DISTINCT ID_SUTAZ, DATUM FROM VYSLEDKY WHERE VYSLEDOK<>\"\" AND "
        "DATUM>=#2022-07-01# AND DATUM<=#2025-06-30#");
    for (; !days.Eof(); days.Next())
      f.ModelOf(days.FieldByName("ID_SUTAZ").AsInteger(), *days.FieldByName("DATUM").AsDate());
  });
  std::printf("Every league-day of 2022/23-2024/25 fitted: median %.2f s of 3 runs\n", all_fits);

  BacktestOptions o;
  o.from = *MakeDate(2022, 7, 1);
  o.to = *MakeDate(2025, 6, 30);
  size_t matches = 0;
  const double backtest = bench::MedianSeconds(3, [&] {
    const BacktestRun run = RunBacktest(conn, o);
    matches = run.matches.size();
    ScoreBacktest(run.matches, ValueFilter{5});
  });
  std::printf(
      "Backtest 2022/23-2024/25, all leagues, full time, all forecasters: %zu matches, "
      "median %.2f s of 3 runs\n",
      matches, backtest);
  return 0;
}
