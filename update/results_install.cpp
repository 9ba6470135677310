// The results install: the downloaded package inflated, checked and put in place of the
// database, and the report to the server afterwards.
#include <filesystem>

#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/startup.h"
#include "update/database_update.h"
#include "update/program_version.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// The download of the results package, in the program folder.
constexpr const char* kResultsDownload = "updateDB4.qvz";
// Where the replaced database waits until the new one is connected.
constexpr const char* kBackupName = "Morvela.mdb.bak";

// Checks that the inflated file is a sound database of this program and gives it the local
// version mark. Throws DatabaseError with the reason otherwise.
void CheckAndStamp(const std::string& fresh, const std::string& mark) {
  Connection conn;
  conn.SetConnectionString("Data Source=" + fresh);
  conn.Open();  // refuses a file without the program's tables, leaving it untouched
  const ResultData check = conn.Select("PRAGMA quick_check");
  const bool ok = check.rows.size() == 1 && std::holds_alternative<std::string>(check.rows[0][0]) &&
                  std::get<std::string>(check.rows[0][0]) == "ok";
  if (!ok) throw DatabaseError("the downloaded database is damaged");
  if (conn.Execute("UPDATE NASTAVENIE SET VERZIA=" + QuoteSqlText(mark)) != 1)
    throw DatabaseError("the downloaded database has no settings row");
  conn.Close();  // the last connection checkpoints its log into the file
}

}  // namespace

InstallResult Updater::AktualizaciaDB() {
  const Messages& m = p_.messages;
  InstallFailure failure;
  {
    WaitScope busy(p_.wait, 0, m.Msg(msg::kUpdatingDatabase));
    failure = Install();
  }
  if (failure.message >= 0) {
    p_.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(failure.message), failure.why);
    return failure.message == msg::kCannotConnect ? InstallResult::kEndProgram
                                                  : InstallResult::kFailed;
  }
  // An install without a check (the compulsory one after start-up) names today.
  if (server_date_.empty()) server_date_ = p_.today_text;
  p_.ui.ShowMessage(MessageKind::kInformation,
                    m.NastavJazykPar(msg::kUpdateSuccessCase, server_date_));
  return InstallResult::kInstalled;
}

Updater::InstallFailure Updater::Install() {
  const UpdateServer server = Server();
  // One writer at a time: an import or another update in this folder must finish first.
  FolderLock lock(p_.folder, false, "update");
  if (!lock.Held()) return {msg::kUpdateFailed, FolderLock::BusyMessage(p_.folder)};
  const fs::path main = p_.DatabasePath();
  const fs::path package = fs::path(p_.folder) / kResultsDownload;
  const fs::path backup = fs::path(p_.folder) / kBackupName;
  RemoveStaleTemporaryFiles(main);  // left by a killed install; we hold the lock
  std::error_code ec;
  fs::remove(backup, ec);

  const HttpResult got = Http(server).GetFile(JoinUrl(server.base_url, kResultsPackagePath),
                                              package, options_.progress);
  if (!got.ok) return {msg::kUpdateServerUnreachable, got.error};

  Connection& conn = p_.dm.ADOConnection1;
  std::string why;
  try {
    const std::string mark = ReadVersionMark(conn);
    ReplaceFileAtomically(main, [&](const std::string& fresh) {
      InflateFile(package, fresh, options_.inflate_limit);
      fs::remove(package, ec);
      CheckAndStamp(fresh, mark);
      // From here the main connection stays closed until the new file is connected; the old
      // file stays reachable as the backup until then.
      p_.dm.Work1.Close();
      p_.dm.Work2.Close();
      p_.dm.Work3.Close();
      conn.Close();
      fs::create_hard_link(main, backup, ec);
      if (ec) fs::copy_file(main, backup, fs::copy_options::overwrite_existing);
    });
  } catch (const std::exception& e) {
    why = e.what();
  }
  fs::remove(package, ec);
  if (conn.IsOpen()) return {msg::kUpdateFailed, why};  // failed before the swap

  // Connect what Morvela.mdb now is: the new file, or after a failed rename still the old one.
  try {
    conn.Open();
  } catch (const DatabaseError& e) {
    why = e.what();
    // The new file's companions go; the old file was closed cleanly and needs none.
    for (const char* suffix : {"-wal", "-shm"}) fs::remove(fs::path(main.string() + suffix), ec);
    fs::rename(backup, main, ec);
    try {
      conn.Open();
    } catch (const DatabaseError&) {
      return {msg::kCannotConnect, why};
    }
  }
  fs::remove(backup, ec);
  if (!why.empty()) return {msg::kUpdateFailed, why};
  ReadLocalDatabaseDate(p_);
  ReportInstall(server);
  return {};
}

void Updater::ReportInstall(const UpdateServer& server) {
  std::string mark;
  try {
    mark = DecipherText(ReadVersionMark(p_.dm.ADOConnection1), /*soft=*/true);
  } catch (const DatabaseError&) {
  }
  const std::string url = JoinUrl(server.base_url, kReportPath) +
                          "?LANG=" + std::to_string(p_.language) + "&VER=" + PercentEncode(mark) +
                          "&OS=" + PercentEncode(OsVersionText());
  std::string ignored;
  Http(server).GetText(url, ignored);  // the answer and any failure do not matter
}

}  // namespace morvela
