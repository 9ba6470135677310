// The results install: the downloaded package inflated, checked and put in place of the
// database, and the report to the server afterwards.
#include <filesystem>

#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/kill_point.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/startup.h"
#include "update/database_update.h"
#include "update/network_text.h"
#include "update/package_copy.h"
#include "update/program_version.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

// The database as it was before the last install, kept beside it.
constexpr const char* kBackupName = "Morvela.mdb.bak";

}  // namespace

InstallResult Updater::AktualizaciaDB() {
  const Messages& m = p_.messages;
  InstallFailure failure;
  {
    WaitScope busy(p_.wait, 0, m.Msg(msg::kUpdatingDatabase));
    failure = Install();
  }
  if (failure.message) {
    p_.ui.ShowDetailedMessage(MessageKind::kError, m.Msg(*failure.message), failure.why);
    return *failure.message == msg::kCannotConnect ? InstallResult::kEndProgram
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
  // One writer at a time: an import, an edit or another update in this folder finishes first.
  FolderLock lock(p_.folder, kWriterPatience, "update");
  if (!lock.Held()) return {msg::kUpdateFailed, FolderLock::BusyMessage(p_.folder)};
  const fs::path main = p_.DatabasePath();
  // Downloads and rebuilt files carry names of this process beside the database, so whatever a
  // killed install leaves behind is removed by the next start (RemoveStaleTemporaryFiles).
  const fs::path package = TemporaryNameBeside(main);
  const fs::path backup = fs::path(p_.folder) / kBackupName;
  RemoveStaleTemporaryFiles(main);  // left by a killed install; we hold the lock

  const HttpResult got = Http(server).GetFile(JoinUrl(server.base_url, kResultsPackagePath),
                                              package, options_.progress);
  if (!got.ok) return {msg::kUpdateServerUnreachable, NetworkFailureText(p_.messages, got)};
  KillPoint("install:downloaded");

  // The package is inflated and rebuilt beside the database; the live file is written once, by the
  // online backup, and every other connection to it (another program, another terminal) sees the
  // new rows through SQLite rather than losing its writes into a file that was renamed away.
  const fs::path inflated = TemporaryNameBeside(main);
  const fs::path staging = TemporaryNameBeside(main);
  Connection& conn = p_.dm.ADOConnection1;
  std::string why;
  std::error_code ec;
  try {
    InflateFile(package, inflated, options_.inflate_limit);
    fs::remove(package, ec);
    KillPoint("install:inflated");
    BuildFromPackage(inflated, staging, PageSize(conn), ReadVersionMark(conn));
    RemoveWithCompanions(inflated);
    KillPoint("install:built");
    const fs::path fresh_backup = TemporaryNameBeside(main);
    CopyLiveTo(conn, fresh_backup);
    fs::rename(fresh_backup, backup);
    KillPoint("install:backed-up");
    CopyIntoLive(staging, conn);
    KillPoint("install:copied");
  } catch (const std::exception& e) {
    why = e.what();
  }
  fs::remove(package, ec);
  RemoveWithCompanions(inflated);
  RemoveWithCompanions(staging);
  if (!why.empty()) return {msg::kUpdateFailed, why};
  // The live file's log holds the whole new database now; fold it back in when nobody reads.
  try {
    conn.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
  } catch (const DatabaseError&) {
  }
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
                          "?LANG=" + std::to_string(p_.messages.Language()) +
                          "&VER=" + PercentEncode(mark) + "&OS=" + PercentEncode(OsVersionText());
  std::string ignored;
  Http(server).GetText(url, ignored);  // the answer and any failure do not matter
}

}  // namespace morvela
