// The update of a database built from the whole real match data: its results package served by
// a local HTTP server, downloaded, inflated, checked and installed; then an odds package of
// 10 000 rows (half of them matches that have odds already) downloaded and merged. Prints the
// median of each. Goals: the install under 3 s, the odds update under 2 s.
//
// Usage: update_bench DATABASE [RUNS]   (default: $MORVELA_HOME/Morvela.mdb, 5 runs)
// The benchmark works on copies in a scratch folder, so the database itself is not changed.
#include <httplib.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "bench_support.h"
#include "core/cipher.h"
#include "core/helpers.h"
#include "program/program.h"
#include "program/startup.h"
#include "update/database_update.h"
#include "update/odds_update.h"

using namespace morvela;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Deflate(const std::string& bytes) {
  uLongf size = compressBound(bytes.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), Z_DEFAULT_COMPRESSION);
  out.resize(size);
  return out;
}

// An odds database of `rows` KURZY rows with ids first_id, first_id + 1, ...
std::string OddsPackage(const fs::path& file, int64_t first_id, int rows) {
  fs::remove(file);
  Connection c;
  c.OpenFile(file.string(), true);
  std::string columns = "ID INTEGER PRIMARY KEY", values = "i";
  for (size_t k = 0; k < kOddsColumns.size(); ++k) {
    columns += std::string(",") + kOddsColumns[k] + " DECIMAL(6,2)";
    values += ", 1.5 + ((i + " + std::to_string(k) + ") % 40) / 20.0";
  }
  c.ExecuteNative("CREATE TABLE KURZY (" + columns + ")");
  c.ExecuteNative("WITH RECURSIVE n(i) AS (SELECT " + std::to_string(first_id) +
                  " UNION ALL SELECT i + 1 FROM n WHERE i < " +
                  std::to_string(first_id + rows - 1) + ") INSERT INTO KURZY SELECT " + values +
                  " FROM n");
  c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
  c.Close();
  return Deflate(Slurp(file));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string source = bench::DatabaseArgument(argc, argv);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  if (source.empty() || runs < 1) {
    std::fprintf(stderr, "usage: update_bench DATABASE [RUNS] (a database built by import)\n");
    return 2;
  }
  const std::string folder = bench::ScratchCopy(source, "morvela-update-bench");
  const fs::path db = fs::path(folder) / "Morvela.mdb";
  const std::string original = Slurp(source);

  // The server's package is the database itself; the local copy is dated a day earlier.
  const auto packed = std::chrono::steady_clock::now();
  const std::string results = Deflate(original);
  const double pack_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - packed).count();

  bench::SilentUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  bench::OpenProgram(p, folder);
  p.today = SystemToday();
  p.today_text = FormatDateText(p.today);
  Query q(p.dm.ADOConnection1);
  q.Open("SELECT MAX(ID) AS M, COUNT(*) AS N FROM KURZY");
  const int64_t max_odds_id = q.FieldByName("M").AsInteger();
  const int64_t odds_rows = q.FieldByName("N").AsInteger();
  q.Close();
  const std::string odds =
      OddsPackage(fs::path(folder) / "bench-odds.db", max_odds_id - 4999, 10000);

  httplib::Server server;
  server.Get("/results.qvz", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(results, "application/octet-stream");
  });
  server.Get("/odds.qvz", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(odds, "application/octet-stream");
  });
  server.Get("/report", [](const httplib::Request&, httplib::Response& res) { res.status = 200; });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  setenv("MORVELA_UPDATE_URL", ("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), 1);

  Updater updater(p);
  bool ok = true;
  const double install = bench::MedianSeconds(
      runs, [&] { ok = updater.AktualizaciaDB() == InstallResult::kInstalled && ok; });
  const double merge = bench::MedianSeconds(runs, [&] { ok = updater.AktualizaciaKurzy() && ok; });
  server.stop();
  serving.join();

  std::printf("database %s: %.1f MB, package %.1f MB (compressed in %.2f s), %lld odds rows\n",
              source.c_str(), original.size() / 1e6, results.size() / 1e6, pack_seconds,
              static_cast<long long>(odds_rows));
  std::printf("install of the results package: median %.3f s of %d runs (goal < 3 s)\n", install,
              runs);
  std::printf(
      "odds update of 10000 rows (5000 replaced, 5000 new): median %.3f s of %d runs "
      "(goal < 2 s)\n",
      merge, runs);
  if (!ok) std::printf("an update failed; see the messages above\n");
  fs::remove_all(folder);
  return ok ? 0 : 1;
}
