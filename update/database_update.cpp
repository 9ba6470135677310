#include "update/database_update.h"

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

namespace morvela {

namespace fs = std::filesystem;

namespace {

// A date text of the update (dd.mm.yyyy, or yyyy-mm-dd as the other form); today when the text
// is no date.
Date ReadUpdateDate(std::string_view text, const Date& today) {
  text = TrimBlanksAndControls(text);
  if (auto d = ParseShortDate(text)) return *d;
  if (auto d = ParseIsoDate(text)) return *d;
  return today;
}

}  // namespace

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
  http_->SetCredentials(server.user, server.password);
  http_->SetTimeouts(options_.timeouts);
  return *http_;
}

int Updater::AktualizovatDB(int verbose) {
  const UpdateServer server = Server();
  std::string answer;
  const HttpResult r = Http(server).GetText(JoinUrl(server.base_url, kDateCheckPath), answer);
  if (!r.ok) {
    if (verbose)
      p_.ui.ShowDetailedMessage(MessageKind::kError, p_.messages.Msg(msg::kUpdateServerUnreachable),
                                r.error);
    return kCheckFailed;
  }
  // An answer that cannot be deciphered reads as no date, which counts as today.
  const std::string deciphered(
      TrimBlanksAndControls(DecipherText(TrimBlanksAndControls(answer), /*soft=*/true)));
  const Date server_date = ReadUpdateDate(deciphered, p_.today);
  server_date_ = FormatDateText(server_date);
  const Date local_date = ReadUpdateDate(DecipherText(p_.db_date, /*soft=*/true), p_.today);
  return server_date > local_date ? kServerNewer : kDatabaseCurrent;
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
  // The flag is read once: a later check must not install again.
  const bool compulsory = p_.compulsory_update;
  p_.compulsory_update = false;
  if (compulsory) {
    p_.ui.ShowMessage(MessageKind::kInformation, p_.messages.Msg(msg::kCompulsoryUpdate));
    if (AktualizaciaDB() == InstallResult::kEndProgram) return InstallResult::kEndProgram;
  }
  if (p_.settings.App == 0) {
    const UpdateServer server = Server();
    const VersionCheckResult version = CheckProgramVersion(server, kProgramVersion);
    if (version.result == VersionCheck::kNewer)
      p_.ui.ShowMessage(MessageKind::kInformation, NewVersionText(p_.messages, version, server));
  }
  if (p_.settings.Dbf == 0 && !compulsory && AktualizovatDB(0) == kServerNewer &&
      AskAndInstall() == UpdateOutcome::kEndProgram)
    return InstallResult::kEndProgram;
  return InstallResult::kInstalled;
}

void Updater::FindNewVersion() {
  const UpdateServer server = Server();
  const VersionCheckResult version = CheckProgramVersion(server, kProgramVersion);
  switch (version.result) {
    case VersionCheck::kNewer:
      p_.ui.ShowMessage(MessageKind::kInformation, NewVersionText(p_.messages, version, server));
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
