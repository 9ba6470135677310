#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "program/selection.h"

namespace morvela::bench {

double MedianSeconds(int runs, const std::function<void()>& fn) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    fn();
    t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

std::string DatabaseArgument(int argc, char** argv) {
  std::string source;
  if (argc > 1) {
    source = argv[1];
  } else if (const char* home = std::getenv("MORVELA_HOME")) {
    source = std::string(home) + "/Morvela.mdb";
  }
  return !source.empty() && std::filesystem::exists(source) ? source : std::string();
}

std::string ScratchCopy(const std::string& database, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy_file(database, dir / "Morvela.mdb");
  return dir.string() + "/";
}

void SilentUi::ShowMessage(MessageKind, const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

void OpenProgram(Program& p, const std::string& folder) {
  p.folder = folder;
  p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(p.folder, ""));
  p.dm.ADOConnection1.Open();
  p.messages.NastavJazyk(kEnglish);
}

long long ChooseLargestSeason(Program& p, bool active_only) {
  Query q(p.dm.ADOConnection1);
  q.Open(std::string("SELECT TOP 1 SUTAZ.ID_LIGA AS L, SUTAZ.ROCNIK AS R, (SELECT COUNT(*) FROM "
                     "VYSLEDKY WHERE VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND VYSLEDKY.HOME_GOAL IS NOT "
                     "NULL) AS N FROM SUTAZ ") +
         (active_only ? "WHERE ROCNIK=\"Active\" " : "") + "ORDER BY 3 DESC");
  if (q.Eof()) return -1;
  p.selection.league = q.FieldByName("L").AsString();
  NacitajIDsutaz(p.dm, p.selection, q.FieldByName("R").AsString());
  return q.FieldByName("N").AsInteger();
}

std::string DataFolder() {
  if (const char* env = std::getenv("MORVELA_DATA"); env && *env) return env;
  return std::string(MORVELA_SOURCE_DIR) + "/../shared/data";
}

}  // namespace morvela::bench
