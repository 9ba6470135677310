// Statements per second through the dialect layer: the league-pass statement of the outcome
// search on a table of 100 000 matches, against the same query prepared once and bound directly
// in SQLite (the floor the layer can reach).
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "bench_support.h"
#include "builder/schema.h"
#include "core/database.h"

using namespace morvela;

int main() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "morvela-dialect-bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "Morvela.mdb").string();
  CreateEmptyDatabase(path, false);

  Connection conn;
  conn.OpenFile(path, false);
  std::mt19937 rng(7);
  std::normal_distribution<double> diff(0, 220);
  conn.Begin();
  for (int c = 1; c <= 200; ++c)
    conn.Execute("INSERT INTO SUTAZ (ID_LIGA,ROCNIK,ID_POR,POCET) VALUES (" +
                 std::to_string(1 + c % 20) + ",\"S" + std::to_string(c) + "\"," +
                 std::to_string(c) + ",18)");
  const char* outcomes[] = {"\"1\"", "\"0\"", "\"2\""};
  for (int i = 0; i < 100000; ++i) {
    conn.Execute(
        "INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK,ELO_ROZDIEL) "
        "VALUES (" +
        std::to_string(1 + i % 200) + ",#2015-01-01#,1,2,1,0," + outcomes[rng() % 3] + "," +
        std::to_string(static_cast<int>(diff(rng))) + ")");
  }
  conn.Commit();
  conn.ExecuteNative("ANALYZE");

  const int n = 20000;
  std::vector<std::pair<int, int>> windows;  // (d, w)
  for (int i = 0; i < n; ++i)
    windows.emplace_back(static_cast<int>(diff(rng)), static_cast<int>(rng() % 6));
  auto statement = [](int d, int w, int league) {
    return "SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=" +
           std::to_string(d - w) + " AND ELO_ROZDIEL<=" + std::to_string(d + w) +
           " AND VYSLEDOK<>\"\" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE "
           "ID_LIGA=" +
           std::to_string(league) + ")";
  };
  long rows = 0;
  double layer = bench::MedianSeconds(5, [&] {
    for (int i = 0; i < n; ++i)
      rows += static_cast<long>(
          conn.Select(statement(windows[i].first, windows[i].second, 1 + i % 20)).rows.size());
  });

  sqlite3* db = conn.Handle();
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(
      db,
      "SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=? AND ELO_ROZDIEL<=? "
      "AND VYSLEDOK<>'' AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=?)",
      -1, &st, nullptr);
  long raw_rows = 0;
  double raw = bench::MedianSeconds(5, [&] {
    for (int i = 0; i < n; ++i) {
      sqlite3_reset(st);
      sqlite3_bind_int(st, 1, windows[i].first - windows[i].second);
      sqlite3_bind_int(st, 2, windows[i].first + windows[i].second);
      sqlite3_bind_int(st, 3, 1 + i % 20);
      while (sqlite3_step(st) == SQLITE_ROW) {
        sqlite3_column_text(st, 0);
        sqlite3_column_int64(st, 1);
        sqlite3_column_int64(st, 2);
        ++raw_rows;
      }
    }
  });
  sqlite3_finalize(st);

  std::printf("league-pass statement on 100 000 matches, %d statements per run, median of 5 runs\n",
              n);
  std::printf("  through the dialect layer : %8.3f s  %9.0f statements/s  (%ld rows)\n", layer,
              n / layer, rows / 5);
  std::printf("  prepared once, raw SQLite : %8.3f s  %9.0f statements/s\n", raw, n / raw);
  std::printf("  ratio layer / raw         : %8.2f\n", layer / raw);
  std::printf("  statements compiled       : %llu of %llu\n",
              static_cast<unsigned long long>(conn.Stats().prepared),
              static_cast<unsigned long long>(conn.Stats().statements));
  conn.Close();
  if (!std::getenv("KEEP_BENCH_DB")) fs::remove_all(dir);
}
