// The update server's HTTP client over libcurl: GET into a text or a file, with basic
// authentication, the program's Accept header and user agent, and cookies kept in memory for
// the client's lifetime. Every request has a total time limit (HttpTimeouts), a text answer has
// a size cap, and a cancel flag set from another thread ends a running request within about a
// tenth of a second; a status of 400 or more is a failure.
#pragma once

#include <atomic>
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

// A text answer (check.txt, version.txt, the report) longer than this fails the request: they
// are a few bytes, and a server that sends without end must not fill the memory.
inline constexpr size_t kTextAnswerLimit = 64 * 1024;

// How long a request may take. A transfer slower than low_speed_bytes per second for
// low_speed_seconds is abandoned, so a silent server ends a request within the connect timeout
// plus the low-speed time (about 30 s with the defaults). A server that trickles a byte now and
// then passes that test for ever, so every request also has a total limit:
//   - a text answer: text_seconds;
//   - a package: package_base_seconds plus its announced size at package_bytes_per_second, and
//     package_unsized_seconds when the server announces no size.
// 16 KB/s is what a weak mobile connection still manages; a results package of 5 MB then has
// about 6 minutes, and a server slower than that for a whole package is one to give up on. The
// limit is set once the size is known (the first progress report after the headers).
struct HttpTimeouts {
  long connect_seconds = 15;
  long low_speed_seconds = 15;
  long low_speed_bytes = 1;
  long text_seconds = 30;
  long package_base_seconds = 60;
  long package_bytes_per_second = 16 * 1024;
  long package_unsized_seconds = 30 * 60;
};

// Why a request failed, as the user is told it (update/network_text.h words it).
enum class HttpFailure : uint8_t {
  kNone,
  kNoServer,      // no update server is set
  kRefused,       // the settings' address was refused (`error` says why)
  kNoConnection,  // no answer: name, connection, TLS or transfer failure (libcurl's words)
  kTimeLimit,     // the request's total time limit
  kTooLong,       // a text answer beyond its limit
  kCancelled,     // cancelled by the user
  kServerStatus,  // the server answered with an error status
  kCannotWrite,   // the download could not be written
};

struct HttpResult {
  bool ok = false;
  long status = 0;  // the HTTP status, 0 when no answer came
  HttpFailure failure = HttpFailure::kNone;
  std::string error;          // why it failed, in libcurl's or the status line's words
  long limit_seconds = 0;     // the time limit that stopped it (kTimeLimit)
  bool not_modified = false;  // a conditional request's 304: the caller's copy is current
};

// The validators of a copy of a file, as the server gave them with it: a conditional request
// sends them back (If-None-Match, If-Modified-Since) and the server answers 304 when its file
// is still that copy. Empty when the server gave none.
struct HttpValidators {
  std::string etag;
  std::string last_modified;  // the server's own text, sent back unchanged
};

// Bytes received so far and the announced total (0 when the server did not say).
using DownloadProgress = std::function<void(uint64_t received, uint64_t total)>;

struct HttpTransfer;  // one request's sink, limits and state (http_client.cpp)

class HttpClient {
 public:
  HttpClient();
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Basic authentication for every later request; an empty user switches it off.
  void SetCredentials(const std::string& user, const std::string& password);
  // The server's credentials; a server address the settings refused (UpdateServer::error)
  // makes every request fail at once with that reason, without a request.
  void SetServer(const UpdateServer& server);
  void SetTimeouts(const HttpTimeouts& timeouts) { timeouts_ = timeouts; }
  // A flag another thread sets to end the running request and every later one ("the request
  // was cancelled"); null for none. It must outlive the requests.
  void SetCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }

  // GET url into body (replaced); fails when the answer exceeds kTextAnswerLimit.
  HttpResult GetText(const std::string& url, std::string& body);
  // GET url into the file at path (created or overwritten). On failure the file is removed.
  HttpResult GetFile(const std::string& url, const std::filesystem::path& path,
                     const DownloadProgress& progress = {});
  // GET url into the file at path unless the server's file still has the validators `held`
  // (then not_modified is set and no file is written). `fresh` receives the answer's
  // validators. An answer longer than max_bytes fails the request. On failure the file is
  // removed.
  HttpResult GetFileIfChanged(const std::string& url, const std::filesystem::path& path,
                              const HttpValidators& held, HttpValidators& fresh, uint64_t max_bytes,
                              const DownloadProgress& progress = {});

 private:
  // Sets the options every request shares and performs it, watching the time limit and the
  // cancel flag; the write callback gets `transfer`.
  HttpResult Perform(const std::string& url, size_t (*write)(char*, size_t, size_t, void*),
                     HttpTransfer& transfer);

  CURL* curl_ = nullptr;
  void* multi_ = nullptr;  // the multi handle that runs curl_, so that the wait can be cut short
  std::string user_, password_;
  std::string refusal_;
  HttpTimeouts timeouts_;
  const std::atomic<bool>* cancel_ = nullptr;
};

// base + path, with exactly one "/" between them.
std::string JoinUrl(std::string_view base, std::string_view path);

// Percent-encodes a query value: every byte below 0x20, from 0x80 upwards, and each of
// space # % * + < > becomes "%" and two upper-case hexadecimal digits; all else stays. "&" and
// "=" stay too, so a value must not hold them (the report's values never do).
std::string PercentEncode(std::string_view text);

}  // namespace morvela
