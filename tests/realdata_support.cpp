#include "realdata_support.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "builder/csv_import.h"
#include "builder/prepare_seasons.h"
#include "builder/schema.h"
#include "core/data_module.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"

namespace morvela::test {

namespace fs = std::filesystem;

namespace {

// The cache is the import of one build of the test program over one data folder: a change
// to the importer or the replay must not be tested against an old database.
std::string CacheKey() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const auto size = fs::file_size(self, ec);
  const auto time = fs::last_write_time(self, ec).time_since_epoch().count();
  return std::to_string(size) + ":" + std::to_string(time) + ":" +
         fs::weakly_canonical(RealDataFolder(), ec).string();
}

// The record is "key value" lines; errors and preparation lines may repeat.
void WriteRecord(const fs::path& file, const std::string& key, const RealDataBuild& b) {
  std::ofstream out(file);
  out << "key " << key << "\nfiles " << b.files << "\ninserted " << b.inserted
      << "\nchanged_leagues " << b.changed_leagues << "\nseconds " << b.seconds << "\n";
  for (const std::string& e : b.errors) out << "error " << e << "\n";
  for (const std::string& l : b.preparation_lines) out << "line " << l << "\n";
}

bool ReadRecord(const fs::path& file, const std::string& key, RealDataBuild& b) {
  std::ifstream in(file);
  std::string line;
  if (!std::getline(in, line) || line != "key " + key) return false;
  while (std::getline(in, line)) {
    const size_t space = line.find(' ');
    const std::string name = line.substr(0, space);
    const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
    if (name == "files") b.files = std::stoul(value);
    if (name == "inserted") b.inserted = std::stoll(value);
    if (name == "changed_leagues") b.changed_leagues = std::stoul(value);
    if (name == "seconds") b.seconds = std::stod(value);
    if (name == "error") b.errors.push_back(value);
    if (name == "line") b.preparation_lines.push_back(value);
  }
  return true;
}

RealDataBuild Build(const fs::path& db) {
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db.string() + suffix);
  RealDataBuild b;
  const auto started = std::chrono::steady_clock::now();
  CreateEmptyDatabase(db.string(), true);
  Tdm dm;
  dm.ADOConnection1.OpenFile(db.string(), false);
  ImportOptions options;
  options.aliases = TeamAliases::Load((RealDataFolder() / "team_aliases.csv").string());
  const ImportReport report =
      ImportCsv(dm.ADOConnection1, {(RealDataFolder() / "results").string()}, options);
  NullWaitIndicator wait;
  Messages msgs;
  PrepareSeasons(dm, wait, msgs, {},
                 [&](const std::string& l) { b.preparation_lines.push_back(l); });
  b.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  dm.ADOConnection1.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
  dm.ADOConnection1.Close();
  b.files = report.files.size();
  b.inserted = report.Inserted();
  b.changed_leagues = report.changed_leagues.size();
  b.errors = report.errors;
  return b;
}

}  // namespace

fs::path RealDataFolder() {
  for (const char* name : {"MORVELA_DATA", "MORVELA_DATA_DEFAULT"})
    if (const char* v = std::getenv(name); v && *v) return v;
  return "../shared/data";
}

bool HaveRealData() {
  const fs::path d = RealDataFolder();
  return fs::exists(d / "results") && fs::exists(d / "team_aliases.csv");
}

const RealDataBuild& RealDatabaseBuild() {
  static const RealDataBuild build = [] {
    const char* env = std::getenv("MORVELA_REALDATA_CACHE");
#ifdef MORVELA_REALDATA_CACHE_DEFAULT
    const fs::path fallback = MORVELA_REALDATA_CACHE_DEFAULT;
#else
    const fs::path fallback = fs::temp_directory_path() / "morvela-realdata-cache";
#endif
    const fs::path dir = env && *env ? fs::path(env) : fallback;
    fs::create_directories(dir);
    const fs::path db = dir / "Morvela.mdb";
    const fs::path record = dir / "complete";
    const std::string key = CacheKey();
    int fd = open((dir / "lock").c_str(), O_CREAT | O_RDWR, 0644);
    flock(fd, LOCK_EX);
    RealDataBuild b;
    if (!ReadRecord(record, key, b)) {
      fs::remove(record);
      b = Build(db);
      WriteRecord(record, key, b);
    }
    flock(fd, LOCK_UN);
    close(fd);
    b.path = db.string();
    return b;
  }();
  return build;
}

}  // namespace morvela::test
