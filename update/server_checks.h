// The network half of the update checks: what the start-up checks and "Find a new version" ask
// the update server, asked through an HttpClient of its own and answered as plain data. It
// touches no Program, user interface or wait indicator, so a front end can run it on a worker
// thread while its window goes on; the Updater shows the answers on the window thread
// afterwards.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "update/database_update.h"
#include "update/http_client.h"
#include "update/program_version.h"
#include "update/server_settings.h"

namespace morvela {

struct DateCheckResult {
  int result = kCheckFailed;  // kServerNewer, kDatabaseCurrent or kCheckFailed
  std::string server_date;    // the server's date as dd.mm.yyyy; empty when the check failed
  std::string error;          // why it failed
  HttpResult request;         // the date request, when it is what failed
};

// Asks check.txt for the server's database date and compares it with `local_date` (the local
// database's date, deciphered; a local text that is no date counts as today). An answer that
// does not decipher to a date (dd.mm.yyyy or yyyy-mm-dd) fails, and the reason quotes it.
DateCheckResult CheckServerDate(HttpClient& http, const UpdateServer& server,
                                std::string_view local_date, const Date& today);

// What to ask the server, with everything the requests need copied in.
struct ServerCheckPlan {
  UpdateServer server;
  HttpTimeouts timeouts;
  bool version = false;    // version.txt against the running program's version
  bool date = false;       // check.txt against local_date
  std::string local_date;  // the local database's date, deciphered
  Date today{};
  bool Empty() const { return !version && !date; }
};

struct ServerCheckResult {
  std::optional<VersionCheckResult> version;  // set when the plan asked for it
  std::optional<DateCheckResult> date;
};

// Runs the plan's requests, the version first. Safe on any thread; a set `cancel` ends the
// running request within about a tenth of a second and fails the rest.
ServerCheckResult RunServerChecks(const ServerCheckPlan& plan,
                                  const std::atomic<bool>* cancel = nullptr);

// An answer quoted in a reason: its first 80 characters in double quotes, "..." when there was
// more, control characters written as \r, \n, \t or \xNN so that the reason stays one line.
std::string QuotedAnswer(std::string_view answer);

}  // namespace morvela
