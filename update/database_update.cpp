#include "update/database_update.h"
#include "update/network_text.h"

#include <sys/utsname.h>

#include <filesystem>

#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/startup.h"
#include "update/program_version.h"
#include "update/server_checks.h"

namespace morvela {

namespace fs = std::filesystem;

std::string OsVersionText() {
  utsname u{};
  if (uname(&u) != 0) return "";
  const std::string_view release(u.release);
  size_t end = 0;
  int points = 0;
  while (end < release.size()) {
    const char c = release[end];
    if (c == '.' && ++points == 2) break;
    if (c != '.' && (c < '0' || c > '9')) break;
    ++end;
  }
  std::string text(release.substr(0, end));
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text.find('.') == std::string::npos ? "" : text;
}

std::string CommaToPoint(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == ',') c = '.';
  return out;
}

Updater::Updater(Program& program, UpdateOptions options)
    : p_(program), options_(std::move(options)) {}

Updater::~Updater() = default;

UpdateServer Updater::Server() const {
  return ReadUpdateServer(p_.SettingsPath());
}

HttpClient& Updater::Http(const UpdateServer& server) {
  if (!http_) http_ = std::make_unique<HttpClient>();
  http_->SetServer(server);
  http_->SetTimeouts(options_.timeouts);
  return *http_;
}

int Updater::AktualizovatDB(int verbose) {
  const UpdateServer server = Server();
  const DateCheckResult found =
      CheckServerDate(Http(server), server, DecipherText(p_.db_date, /*soft=*/true), p_.today);
  server_date_ = found.server_date;
  if (found.result == kCheckFailed && verbose)
    p_.ui.ShowDetailedMessage(MessageKind::kError, p_.messages.Msg(msg::kUpdateServerUnreachable),
                              found.request.failure != HttpFailure::kNone
                                  ? NetworkFailureText(p_.messages, found.request)
                                  : found.error);
  return found.result;
}

UpdateOutcome Updater::AskAndInstall() {
  if (!p_.ui.AskYesNo(p_.messages.NastavJazykPar(msg::kNewDatabaseCase, server_date_)))
    return UpdateOutcome::kDeclined;
  switch (AktualizaciaDB()) {
    case InstallResult::kInstalled:
      return UpdateOutcome::kInstalled;
    case InstallResult::kEndProgram:
      return UpdateOutcome::kEndProgram;
    case InstallResult::kFailed:
      break;
  }
  return UpdateOutcome::kFailed;
}

UpdateOutcome Updater::TBUpdateClick() {
  const int r = AktualizovatDB(1);
  if (r == kServerNewer) return AskAndInstall();
  if (r == kDatabaseCurrent) {
    const Messages& m = p_.messages;
    if (!p_.ui.AskYesNo(m.Msg(msg::kDatabaseIsCurrent) + "\r\n" + m.Msg(msg::kAskUpdateOdds)))
      return UpdateOutcome::kDeclined;
    return AktualizaciaKurzy() ? UpdateOutcome::kOddsUpdated : UpdateOutcome::kFailed;
  }
  return UpdateOutcome::kFailed;
}

InstallResult Updater::StartupUpdateCheck() {
  bool compulsory = false;
  if (CompulsoryInstall(compulsory) == InstallResult::kEndProgram)
    return InstallResult::kEndProgram;
  const ServerCheckPlan plan = PlanStartupChecks(compulsory);
  if (plan.Empty()) return InstallResult::kInstalled;
  return ShowStartupFindings(plan, RunServerChecks(plan)) == UpdateOutcome::kEndProgram
             ? InstallResult::kEndProgram
             : InstallResult::kInstalled;
}

InstallResult Updater::CompulsoryInstall(bool& ran) {
  ran = p_.compulsory_update;
  p_.compulsory_update = false;  // a later check must not install again
  if (!ran) return InstallResult::kInstalled;
  p_.ui.ShowMessage(MessageKind::kInformation, p_.messages.Msg(msg::kCompulsoryUpdate));
  return AktualizaciaDB();
}

ServerCheckPlan Updater::PlanStartupChecks(bool after_compulsory) const {
  ServerCheckPlan plan;
  plan.version = p_.settings.App == 0;
  // A compulsory install has just brought the server's database.
  plan.date = p_.settings.Dbf == 0 && !after_compulsory;
  if (plan.Empty()) return plan;
  plan.server = Server();
  plan.timeouts = options_.timeouts;
  plan.local_date = DecipherText(p_.db_date, /*soft=*/true);
  plan.today = p_.today;
  return plan;
}

UpdateOutcome Updater::ShowStartupFindings(const ServerCheckPlan& plan,
                                           const ServerCheckResult& found) {
  if (found.version && found.version->result == VersionCheck::kNewer)
    p_.ui.ShowMessage(MessageKind::kInformation,
                      NewVersionText(p_.messages, *found.version, plan.server));
  // The start-up check stays silent about a server it could not ask. The date answered a
  // question about the database as it was then; after an install in the meantime it is stale.
  if (!found.date || found.date->result != kServerNewer ||
      DecipherText(p_.db_date, /*soft=*/true) != plan.local_date)
    return UpdateOutcome::kDeclined;
  server_date_ = found.date->server_date;
  return AskAndInstall();
}

ServerCheckPlan Updater::PlanVersionCheck() const {
  ServerCheckPlan plan;
  plan.version = true;
  plan.server = Server();
  plan.timeouts = options_.timeouts;
  return plan;
}

void Updater::FindNewVersion() {
  const ServerCheckPlan plan = PlanVersionCheck();
  ShowVersionFinding(*RunServerChecks(plan).version);
}

void Updater::ShowVersionFinding(const VersionCheckResult& version) {
  switch (version.result) {
    case VersionCheck::kNewer:
      p_.ui.ShowMessage(MessageKind::kInformation, NewVersionText(p_.messages, version, Server()));
      break;
    case VersionCheck::kCurrent:
      p_.ui.ShowMessage(MessageKind::kInformation,
                        p_.messages.Filled(msg::kNewestProgramVersion, {kProgramVersion}));
      break;
    case VersionCheck::kFailed:
      p_.ui.ShowMessage(MessageKind::kError, p_.messages.Msg(msg::kUpdateServerUnreachable));
      break;
  }
}

}  // namespace morvela
