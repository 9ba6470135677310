// The update server's HTTP client over libcurl: GET into a text or a file, with basic
// authentication, the program's Accept header and user agent, and cookies kept in memory for
// the client's lifetime. A server that cannot be reached, or that accepts the connection and
// then sends nothing, ends the request after the connect timeout or the low-speed limit; a
// status of 400 or more is a failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "update/server_settings.h"

typedef void CURL;

namespace morvela {

inline constexpr const char* kUpdateUserAgent = "Mozilla/3.0 (compatible;app Morvela by Halverk)";
inline constexpr const char* kUpdateAccept = "text/html, */*";

// How long a request may wait. A transfer slower than low_speed_bytes per second for
// low_speed_seconds is abandoned, so a silent server ends a request within the connect timeout
// plus the low-speed time (about 30 s with the defaults).
struct HttpTimeouts {
  long connect_seconds = 15;
  long low_speed_seconds = 15;
  long low_speed_bytes = 1;
};

struct HttpResult {
  bool ok = false;
  long status = 0;    // the HTTP status, 0 when no answer came
  std::string error;  // why it failed, in libcurl's or the status line's words
};

// Bytes received so far and the announced total (0 when the server did not say).
using DownloadProgress = std::function<void(uint64_t received, uint64_t total)>;

class HttpClient {
 public:
  HttpClient();
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Basic authentication for every later request; an empty user switches it off.
  void SetCredentials(const std::string& user, const std::string& password);
  void SetTimeouts(const HttpTimeouts& timeouts) { timeouts_ = timeouts; }

  // GET url into body (replaced).
  HttpResult GetText(const std::string& url, std::string& body);
  // GET url into the file at path (created or overwritten). On failure the file is removed.
  HttpResult GetFile(const std::string& url, const std::filesystem::path& path,
                     const DownloadProgress& progress = {});

 private:
  // Sets the options every request shares and performs it; the write callback gets `sink`.
  HttpResult Perform(const std::string& url, size_t (*write)(char*, size_t, size_t, void*),
                     void* sink, const DownloadProgress* progress);

  CURL* curl_ = nullptr;
  std::string user_, password_;
  HttpTimeouts timeouts_;
};

// base + path, with exactly one "/" between them.
std::string JoinUrl(std::string_view base, std::string_view path);

// Percent-encodes a query value: every byte below 0x20, from 0x80 upwards, and each of
// space # % * + < > becomes "%" and two upper-case hexadecimal digits; all else stays. "&" and
// "=" stay too, so a value must not hold them (the report's values never do).
std::string PercentEncode(std::string_view text);

}  // namespace morvela
