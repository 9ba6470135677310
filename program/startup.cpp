#include "program/startup.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/cipher.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// The database password as the program keeps it: enciphered.
constexpr const char* kDatabasePasswordCipher = "ILyoPsqKkeSo6WRtbhGWBw==";

bool IsWritableDir(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir, ec) && access(dir.c_str(), W_OK) == 0;
}

std::string WithSeparator(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

// The compatibility setting lives in the registry of another operating system; here there is
// nothing to record.
void RecordCompatibilitySetting(const std::string& /*exe_path*/) {}

// One step of the column upgrade: probe the table's columns and add the column when missing.
// A failing probe always stops start-up; only the statement of a step whose error does not stop
// start-up may fail quietly.
void UpgradeStep(Connection& conn, const std::string& table, const std::string& column,
                 const std::string& statement, bool stops_startup) {
  Query probe(conn);
  probe.Open("SELECT TOP 1 * FROM " + table);
  if (probe.HasField(column)) return;
  try {
    conn.Execute(statement);
  } catch (const DatabaseError&) {
    if (stops_startup) throw;
  }
}

void StampVersion(Program& p) {
  Connection& conn = p.dm.ADOConnection1;
  const std::string stamp =
      "UPDATE NASTAVENIE SET VERZIA=" + QuoteSqlText(EncipherText(kProgramVersion));
  if (ReadVersionMark(conn).empty()) {
    p.dm.Command1.Execute(stamp);
    p.compulsory_update = true;
  }
  const std::string mark = DecipherText(ReadVersionMark(conn), /*soft=*/false);
  if (mark != kProgramVersion) {
    WriteW7(p.SettingsPath(), true);
    p.dm.Command1.Execute(stamp);
    p.compulsory_update = true;
  }
}

}  // namespace

std::string DatabasePassword() {
  return DecipherText(kDatabasePasswordCipher, false);
}

ProgramFolder ChooseProgramFolder(const std::optional<std::string>& dir,
                                  const std::string& exe_path) {
  ProgramFolder chosen;
  fs::path folder;
  if (dir && !dir->empty()) {
    folder = *dir;
    chosen.reason = FolderReason::kOption;
  } else if (const char* env = std::getenv("MORVELA_HOME"); env && *env) {
    folder = env;
    chosen.reason = FolderReason::kEnvironment;
  } else {
    std::error_code ec;
    const fs::path exe_dir = fs::weakly_canonical(exe_path, ec).parent_path();
    // A writable folder alone is not enough: an installed program's folder may be writable for
    // root, and a build folder without data should not collect a user's database.
    const bool holds_data = !ec && !exe_dir.empty() &&
                            (fs::is_regular_file(exe_dir / kDatabaseFileName, ec) ||
                             fs::is_regular_file(exe_dir / kSettingsFileName, ec));
    if (holds_data && IsWritableDir(exe_dir)) {
      folder = exe_dir;
      chosen.reason = FolderReason::kExecutable;
    } else {
      const char* xdg = std::getenv("XDG_DATA_HOME");
      // The base directory rules ignore a relative XDG_DATA_HOME.
      if (xdg && *xdg == '/') {
        folder = fs::path(xdg) / "morvela";
      } else {
        const char* home = std::getenv("HOME");
        folder = fs::path(home && *home ? home : ".") / ".local" / "share" / "morvela";
      }
      chosen.reason = FolderReason::kUserData;
    }
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  chosen.path = WithSeparator(fs::absolute(folder, ec).lexically_normal().string());
  return chosen;
}

std::string ResolveProgramFolder(const std::optional<std::string>& dir,
                                 const std::string& exe_path) {
  return ChooseProgramFolder(dir, exe_path).path;
}

void UpgradeColumns(Program& p) {
  Connection& c = p.dm.ADOConnection1;
  // The tip runs store their tip string in TIPY.TIP, so an older TIPY gains that column first.
  UpgradeStep(c, "TIPY", "TIP", "ALTER TABLE TIPY ADD COLUMN TIP TEXT(3)", true);
  UpgradeStep(c, "VYSLEDKY", "NERATAT", "ALTER TABLE VYSLEDKY ADD COLUMN NERATAT BIT DEFAULT 0",
              true);
  UpgradeStep(c, "NASTAVENIE", "VERZIA", "ALTER TABLE NASTAVENIE ADD COLUMN VERZIA TEXT(64)", true);
  UpgradeStep(c, "NASTAVENIE", "WEB_EN",
              std::string("ALTER TABLE NASTAVENIE ADD COLUMN WEB_EN TEXT(50) DEFAULT ") +
                  QuoteSqlText(kDefaultWebAddressEn),
              true);
  UpgradeStep(c, "NASTAVENIE", "WEB_DE",
              std::string("ALTER TABLE NASTAVENIE ADD COLUMN WEB_DE TEXT(50) DEFAULT ") +
                  QuoteSqlText(kDefaultWebAddressDe),
              true);
  UpgradeStep(c, "VYSLEDKY", "UNDER", "ALTER TABLE VYSLEDKY ADD COLUMN UNDER SMALLINT", true);
  UpgradeStep(c, "KURZY", "OVER", "ALTER TABLE KURZY ADD COLUMN OVER DECIMAL(6,2)", false);
  UpgradeStep(c, "KURZY", "UNDER", "ALTER TABLE KURZY ADD COLUMN UNDER DECIMAL(6,2)", false);
  UpgradeStep(c, "SUTAZ_MUZSTVA", "PR", "ALTER TABLE SUTAZ_MUZSTVA ADD COLUMN PR DECIMAL(6,2)",
              false);
  UpgradeStep(c, "SUTAZ_MUZSTVA", "PR_HOME",
              "ALTER TABLE SUTAZ_MUZSTVA ADD COLUMN PR_HOME DECIMAL(6,2)", false);
  UpgradeStep(c, "SUTAZ_MUZSTVA", "PR_AWAY",
              "ALTER TABLE SUTAZ_MUZSTVA ADD COLUMN PR_AWAY DECIMAL(6,2)", false);
  UpgradeStep(c, "MUZSTVA", "NAZOV_IT", "ALTER TABLE MUZSTVA ADD COLUMN NAZOV_IT TEXT(50)", true);
  UpgradeStep(c, "LIGA", "NAZOV_IT", "ALTER TABLE LIGA ADD COLUMN NAZOV_IT TEXT(50)", true);
  StampVersion(p);
  UpgradeStep(c, "SUTAZ", "LM", "ALTER TABLE SUTAZ ADD COLUMN LM SMALLINT", true);
  UpgradeStep(c, "SUTAZ", "EL", "ALTER TABLE SUTAZ ADD COLUMN EL SMALLINT", true);
  UpgradeStep(c, "SUTAZ", "BARAZ", "ALTER TABLE SUTAZ ADD COLUMN BARAZ SMALLINT", true);
  UpgradeStep(c, "SUTAZ", "VYP", "ALTER TABLE SUTAZ ADD COLUMN VYP SMALLINT", true);
}

StartupResult RunStartup(Program& p, const StartupOptions& o) {
  p.folder = WithSeparator(o.folder);
  p.caption = std::string("  ") + kProgramTitle + "  " + kProgramVersion;

  const std::string ini = p.SettingsPath();
  EnsureSettingsFile(ini);
  p.settings = ReadSettings(ini);

  if (p.settings.W7) {
    RecordCompatibilitySetting(p.folder + "morvela");
    WriteW7(ini, false);
    p.settings.W7 = false;
  }

  int language = kEnglish;
  if (o.language) {
    language = *o.language;
  } else {
    if (p.settings.Lang == 0) {
      p.settings.Lang = p.ui.ChooseLanguage();
      // A chooser closed without a choice leaves the stored 0 as it is; rewriting the file
      // (an atomic replace with its disk flush) would only cost every command-line run time.
      if (p.settings.Lang != 0) WriteLang(ini, p.settings.Lang);
    }
    language = p.settings.Lang == 0 ? kEnglish : p.settings.Lang;
  }
  p.messages.NastavJazyk(language);
  p.selection.result_mode = ResultMode::kFullTime;

  // The reason a connection fails goes with the message: "no database" and "not a database of
  // this program" call for different remedies.
  auto cannot_connect = [&p](const std::string& reason) {
    p.ui.ShowDetailedMessage(MessageKind::kError, p.messages.Msg(msg::kCannotConnect), reason);
    return StartupResult::kEndProgram;
  };
  std::error_code exists_ec;
  if (o.create_demo_database && !fs::exists(p.DatabasePath(), exists_ec) &&
      p.ui.AskYesNo(p.messages.Msg(msg::kOfferDemoDatabase))) {
    try {
      o.create_demo_database(p.DatabasePath());
    } catch (const std::exception& e) {
      return cannot_connect(p.messages.Filled(msg::kDatabaseUnusable, {e.what()}));
    }
  }
  // The common case, no database yet (the demo offer declined), is said in the user's
  // language; the engine's own reasons for a file it cannot use stay as the engine gives them.
  if (!fs::exists(p.DatabasePath(), exists_ec))
    return cannot_connect(p.messages.Filled(msg::kNoDatabaseFile, {p.DatabasePath()}));
  try {
    p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(p.folder, DatabasePassword()));
    p.dm.ADOConnection1.Open();
  } catch (const DatabaseError& e) {
    return cannot_connect(p.messages.Filled(msg::kDatabaseUnusable, {e.what()}));
  }

  p.compulsory_update = false;
  const fs::path marker = fs::path(p.folder) / "update.tmp";
  std::error_code ec;
  if (fs::exists(marker, ec)) {
    try {
      UpgradeColumns(p);
    } catch (const CipherError& e) {
      p.ui.ShowMessage(MessageKind::kError, e.what());
      return StartupResult::kEndProgram;
    } catch (const DatabaseError& e) {
      p.ui.ShowMessage(MessageKind::kError, e.what());
      return StartupResult::kStopped;
    }
  }
  fs::remove(marker, ec);
  fs::create_directories(p.ExportFolder(), ec);

  p.today = o.today ? *o.today : SystemToday();
  p.today_text = FormatDateText(p.today);
  try {
    ReadLocalDatabaseDate(p);
  } catch (const DatabaseError& e) {
    p.ui.ShowMessage(MessageKind::kError, e.what());
    return StartupResult::kStopped;
  }
  p.selection = Selection{};
  return StartupResult::kReady;
}

std::string ReadVersionMark(Connection& conn) {
  Query q(conn);
  q.Open("SELECT TOP 1 * FROM NASTAVENIE");
  if (q.Eof()) return "";
  return std::string(TrimSpaces(q.FieldByName("VERZIA").AsString()));
}

void ReadLocalDatabaseDate(Program& p) {
  Query q(p.dm.ADOConnection1);
  q.Open("SELECT DAT_DB FROM NASTAVENIE");
  p.db_date = q.Eof() ? "" : q.FieldByName("DAT_DB").AsString();
}

void RunExit(Program& p, bool pause) {
  p.wait.ShowWait(0, p.messages.Msg(msg::kProgramEnding));
  p.dm.Q1.Close();
  p.dm.Work1.Close();
  p.dm.Work2.Close();
  p.dm.Work3.Close();
  p.dm.ConnectOdds.Close();
  p.dm.ADOConnection1.Close();
  if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  p.ui.ProcessPendingEvents();
  p.wait.HideWait();
  p.wait.StopWait();
}

}  // namespace morvela
