// The program's self-update check: the server publishes the newest program version as plain
// text (version.txt); the check compares it with the running version and says where to get a
// newer one. The program never replaces its own executable.
#pragma once

#include <string>
#include <string_view>

#include "i18n/messages.h"
#include "update/server_settings.h"

namespace morvela {

class HttpClient;

enum class VersionCheck { kNewer, kCurrent, kFailed };
struct VersionCheckResult {
  VersionCheck result;
  std::string server_version;  // the server's version text, trimmed; empty when failed
};
// Fetches version.txt and compares it with running_version ("4.8"). kFailed when the request
// fails or the text is not a dotted version number.
VersionCheckResult CheckProgramVersion(const UpdateServer& server,
                                       std::string_view running_version);
// The same through `http`, whose credentials, time limits and cancel flag the caller set.
VersionCheckResult CheckProgramVersion(HttpClient& http, const UpdateServer& server,
                                       std::string_view running_version);

// Compares two dotted version numbers part by part as numbers ("4.10" > "4.9"; missing parts
// count as 0): negative, zero or positive. Check both with IsVersionText first.
int CompareVersions(std::string_view a, std::string_view b);
// True for one or more groups of digits separated by single points ("4", "4.8", "10.0.1").
bool IsVersionText(std::string_view text);

// The text to show for a newer version, in the language of `messages`: "Version 4.9 is
// available at http://.../".
std::string NewVersionText(const Messages& messages, const VersionCheckResult& result,
                           const UpdateServer& server);

}  // namespace morvela
