#include "update/program_version.h"

#include <charconv>

#include "core/text.h"
#include "i18n/message_ids.h"
#include "update/http_client.h"

namespace morvela {

namespace {

// The next dotted part of a version as a number; 0 once the text is used up.
unsigned long NextPart(std::string_view& text) {
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  if (!text.empty() && text.front() == '.') text.remove_prefix(1);
  return ec == std::errc() ? value : 0;
}

}  // namespace

bool IsVersionText(std::string_view text) {
  if (text.empty() || text.size() > 32) return false;
  bool digit_before = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit_before = true;
    } else if (c == '.' && digit_before) {
      digit_before = false;
    } else {
      return false;
    }
  }
  return digit_before;
}

int CompareVersions(std::string_view a, std::string_view b) {
  while (!a.empty() || !b.empty()) {
    const unsigned long x = NextPart(a), y = NextPart(b);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

VersionCheckResult CheckProgramVersion(const UpdateServer& server,
                                       std::string_view running_version) {
  HttpClient http;
  http.SetServer(server);
  return CheckProgramVersion(http, server, running_version);
}

VersionCheckResult CheckProgramVersion(HttpClient& http, const UpdateServer& server,
                                       std::string_view running_version) {
  std::string body;
  if (!http.GetText(JoinUrl(server.base_url, kVersionPath), body).ok)
    return {VersionCheck::kFailed, ""};
  const std::string version(TrimBlanksAndControls(body));
  if (!IsVersionText(version) || !IsVersionText(running_version))
    return {VersionCheck::kFailed, ""};
  return {
      CompareVersions(version, running_version) > 0 ? VersionCheck::kNewer : VersionCheck::kCurrent,
      version};
}

std::string NewVersionText(const Messages& messages, const VersionCheckResult& result,
                           const UpdateServer& server) {
  return messages.Filled(msg::kNewProgramVersion, {result.server_version, server.base_url});
}

}  // namespace morvela
