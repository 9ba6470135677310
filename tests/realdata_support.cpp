#include "realdata_support.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

#include "builder/csv_import.h"
#include "builder/prepare_seasons.h"
#include "builder/schema.h"
#include "core/data_module.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"

namespace morvela::test {

namespace fs = std::filesystem;

fs::path RealDataFolder() {
  for (const char* name : {"MORVELA_DATA", "MORVELA_DATA_DEFAULT"})
    if (const char* v = std::getenv(name); v && *v) return v;
  return "../shared/data";
}

bool HaveRealData() {
  const fs::path d = RealDataFolder();
  return fs::exists(d / "results") && fs::exists(d / "team_aliases.csv");
}

std::string RealDatabase() {
  const char* env = std::getenv("MORVELA_REALDATA_CACHE");
  const fs::path dir =
      env && *env ? fs::path(env) : fs::temp_directory_path() / "morvela-realdata-cache";
  fs::create_directories(dir);
  const fs::path db = dir / "Morvela.mdb";
  const fs::path done = dir / "complete";
  int fd = open((dir / "lock").c_str(), O_CREAT | O_RDWR, 0644);
  flock(fd, LOCK_EX);
  if (!fs::exists(done)) {
    CreateEmptyDatabase(db.string(), true);
    Tdm dm;
    dm.ADOConnection1.OpenFile(db.string(), false);
    ImportOptions options;
    options.aliases = TeamAliases::Load((RealDataFolder() / "team_aliases.csv").string());
    ImportCsv(dm.ADOConnection1, {(RealDataFolder() / "results").string()}, options);
    NullWaitIndicator wait;
    Messages msgs;
    PrepareSeasons(dm, wait, msgs, {}, [](const std::string&) {});
    dm.ADOConnection1.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
    dm.ADOConnection1.Close();
    std::FILE* f = std::fopen(done.c_str(), "w");
    if (f) std::fclose(f);
  }
  flock(fd, LOCK_UN);
  close(fd);
  return db.string();
}

}  // namespace morvela::test
