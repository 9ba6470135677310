// The results database update and the odds update: checking the server's database date,
// downloading, inflating and installing a results package in place of Morvela.mdb, merging an
// odds package into KURZY, the main window's "Update" button and the checks that run once the
// main window is on screen.
//
// The install never leaves the program without a database and never pulls the file from under
// another connection: under the folder's writer lock the inflated package is checked and its
// rows copied into a new database of the program's own schema (update/package_copy.h), the
// current database is copied to Morvela.mdb.bak, and the new content goes into the live
// Morvela.mdb through SQLite's online backup in one transaction.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "i18n/message_ids.h"
#include "update/http_client.h"
#include "update/inflate.h"
#include "update/odds_update.h"
#include "update/server_settings.h"

namespace morvela {

struct Program;
struct ServerCheckPlan;    // update/server_checks.h
struct ServerCheckResult;  // update/server_checks.h
struct VersionCheckResult;

struct UpdateOptions {
  HttpTimeouts timeouts;
  uint64_t inflate_limit = kDefaultInflateLimit;
  DownloadProgress progress;  // called while a package downloads
};

// AktualizovatDB's answers.
inline constexpr int kCheckFailed = 0;
inline constexpr int kServerNewer = 1;
inline constexpr int kDatabaseCurrent = 2;

enum class InstallResult {
  kInstalled,
  kFailed,      // the old database is still in use; the user was told why
  kEndProgram,  // no database could be connected afterwards; the program must end
};

// What the "Update" button led to.
enum class UpdateOutcome { kFailed, kDeclined, kInstalled, kOddsUpdated, kEndProgram };

class Updater {
 public:
  explicit Updater(Program& program, UpdateOptions options = {});
  ~Updater();
  Updater(const Updater&) = delete;
  Updater& operator=(const Updater&) = delete;

  UpdateOptions& Options() { return options_; }

  // The server settings as Nastavenie.ini and MORVELA_UPDATE_URL hold them now.
  UpdateServer Server() const;

  // Asks the server for its database date: kServerNewer, kDatabaseCurrent or kCheckFailed (no
  // answer, or an answer that is no date). With verbose set a failure is shown as "Could not
  // connect to update server !" with the reason.
  int AktualizovatDB(int verbose);
  // Downloads, inflates, checks and installs the results package, then reports to the server.
  InstallResult AktualizaciaDB();
  // Downloads the odds package and merges it into KURZY, all rows or none. True when merged;
  // what was merged and skipped is LastOddsMerge(). A package that is broken, too large, not in
  // the program's form or holds a bad value throws (the general error report shows why).
  bool AktualizaciaKurzy();
  const OddsMergeCount& LastOddsMerge() const { return last_odds_merge_; }
  // The "Update" button: check, ask, install; a current database offers the odds update.
  UpdateOutcome TBUpdateClick();
  // The checks after start-up: the compulsory install, the program version check (App = 0)
  // and the database check (Dbf = 0). kEndProgram when the program must end, else kInstalled
  // (whether or not anything was installed).
  InstallResult StartupUpdateCheck();
  // "Find a new version" of the settings dialog: the program version check, saying what it
  // found in every case (a newer version and where, the newest already, or no connection).
  void FindNewVersion();

  // The same checks in steps, for a front end that asks the server off its window thread
  // (RunServerChecks) between planning and showing; StartupUpdateCheck and FindNewVersion are
  // these steps one after the other.
  // The compulsory install, when Program::compulsory_update asks for it (the flag is read
  // once); `ran` tells whether it did.
  InstallResult CompulsoryInstall(bool& ran);
  // What the start-up checks ask the server after it: nothing, the version, the date or both.
  ServerCheckPlan PlanStartupChecks(bool after_compulsory) const;
  // Shows what they found: a newer program version, a newer database offered for install (not
  // when the local database changed since the plan). kDeclined also when nothing was offered.
  UpdateOutcome ShowStartupFindings(const ServerCheckPlan& plan, const ServerCheckResult& found);
  ServerCheckPlan PlanVersionCheck() const;
  void ShowVersionFinding(const VersionCheckResult& found);

  // The server's database date as the last check read it (dd.mm.yyyy); empty before a check.
  const std::string& ServerDateText() const { return server_date_; }

 private:
  // Why an install failed: the message-table entry to show (none: it did not fail) and the
  // reason in the words of the step that failed.
  struct InstallFailure {
    std::optional<MessageId> message;
    std::string why;
  };

  HttpClient& Http(const UpdateServer& server);
  // The install itself, shown as busy; the messages come after the box is gone.
  InstallFailure Install();
  void ReportInstall(const UpdateServer& server);
  UpdateOutcome AskAndInstall();

  Program& p_;
  UpdateOptions options_;
  std::unique_ptr<HttpClient> http_;
  std::string server_date_;
  OddsMergeCount last_odds_merge_;
};

// "6.1" from the system's release ("6.1.0-18-amd64"); empty when the system cannot tell.
std::string OsVersionText();

// The text with every "," replaced by ".".
std::string CommaToPoint(std::string_view text);

}  // namespace morvela
