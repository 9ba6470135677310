#include "update/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

#include "core/text.h"

namespace morvela {

namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A host under ".invalid" never exists; the default server address is such a placeholder.
bool PlaceholderHost(std::string_view url) {
  const size_t scheme = url.find("://");
  url.remove_prefix(scheme == std::string_view::npos ? 0 : scheme + 3);
  std::string_view host = url.substr(0, url.find_first_of(":/?#"));
  if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  constexpr std::string_view kInvalid = ".invalid";
  return host.size() >= kInvalid.size() &&
         EqualsIgnoringAsciiCase(host.substr(host.size() - kInvalid.size()), kInvalid);
}

using Clock = std::chrono::steady_clock;

// How often a request that waits for the server looks at its cancel flag and its time limit.
constexpr int kPollMilliseconds = 100;

}  // namespace

struct HttpTransfer {
  enum class Stop { kNone, kCancelled, kTimeLimit, kTooLong };

  std::string* text = nullptr;  // a text request's answer
  FILE* file = nullptr;         // a package request's file
  const DownloadProgress* progress = nullptr;
  const std::atomic<bool>* cancel = nullptr;
  HttpTimeouts limits;
  Clock::time_point start = Clock::now();
  long limit_seconds = 0;
  bool sized = false;  // the package's limit already follows its announced size
  Stop stop = Stop::kNone;
  uint64_t max_bytes = kTextAnswerLimit;  // a file's cap; 0: none
  uint64_t written = 0;
  std::vector<std::string> request_headers;  // sent besides Accept
  HttpValidators* validators = nullptr;      // receives the answer's ETag and Last-Modified

  Clock::time_point Deadline() const { return start + std::chrono::seconds(limit_seconds); }

  // Records why the request must end now, if it must.
  bool MustStop() {
    if (stop != Stop::kNone) return true;
    if (cancel && cancel->load()) {
      stop = Stop::kCancelled;
    } else if (Clock::now() >= Deadline()) {
      stop = Stop::kTimeLimit;
    }
    return stop != Stop::kNone;
  }

  std::string Why() const {
    switch (stop) {
      case Stop::kCancelled:
        return "the request was cancelled";
      case Stop::kTimeLimit:
        return "the time limit of " + std::to_string(limit_seconds) + " s was reached";
      case Stop::kTooLong:
        return "the server's answer is longer than " + std::to_string(max_bytes / 1024) + " KiB";
      case Stop::kNone:
        break;
    }
    return "";
  }
};

namespace {

size_t AppendToString(char* data, size_t size, size_t count, void* sink) {
  auto* t = static_cast<HttpTransfer*>(sink);
  if (t->text->size() + size * count > kTextAnswerLimit) {
    t->stop = HttpTransfer::Stop::kTooLong;
    return 0;  // anything short of the whole chunk stops the transfer
  }
  t->text->append(data, size * count);
  return size * count;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* sink) {
  auto* t = static_cast<HttpTransfer*>(sink);
  t->written += size * count;
  if (t->max_bytes > 0 && t->written > t->max_bytes) {
    t->stop = HttpTransfer::Stop::kTooLong;
    return 0;
  }
  return std::fwrite(data, size, count, t->file) * size;
}

// The answer's header lines: ETag and Last-Modified of the final answer (a redirect's headers
// are dropped when the next status line comes).
size_t ReadHeader(char* data, size_t size, size_t count, void* sink) {
  auto* v = static_cast<HttpTransfer*>(sink)->validators;
  const std::string_view line(data, size * count);
  const size_t colon = line.find(':');
  if (line.rfind("HTTP/", 0) == 0) {
    *v = {};
  } else if (colon != std::string_view::npos) {
    const std::string_view name = line.substr(0, colon);
    std::string text(TrimSpacesAndTabs(line.substr(colon + 1)));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (EqualsIgnoringAsciiCase(name, "ETag")) v->etag = text;
    if (EqualsIgnoringAsciiCase(name, "Last-Modified")) v->last_modified = text;
  }
  return size * count;
}

// libcurl's progress callback, on for every request: reports a package's progress, sizes its
// time limit once the size is announced, and ends the transfer on the cancel flag or the limit.
int WatchTransfer(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  auto* t = static_cast<HttpTransfer*>(user);
  if (t->progress && *t->progress)
    (*t->progress)(static_cast<uint64_t>(dlnow), static_cast<uint64_t>(dltotal));
  if (t->file && !t->sized && dltotal > 0) {
    t->sized = true;
    t->limit_seconds =
        t->limits.package_base_seconds +
        static_cast<long>(dltotal / std::max(1L, t->limits.package_bytes_per_second));
  }
  return t->MustStop() ? 1 : 0;
}

}  // namespace

HttpClient::HttpClient() {
  GlobalInit();
  curl_ = curl_easy_init();
  multi_ = curl_multi_init();
  // An empty cookie file name switches the cookie engine on without reading a file: cookies
  // live in this handle until it is cleaned up.
  if (curl_) curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");
}

HttpClient::~HttpClient() {
  if (multi_) curl_multi_cleanup(static_cast<CURLM*>(multi_));
  if (curl_) curl_easy_cleanup(curl_);
}

void HttpClient::SetServer(const UpdateServer& server) {
  SetCredentials(server.user, server.password);
  refusal_ = server.error;
}

void HttpClient::SetCredentials(const std::string& user, const std::string& password) {
  user_ = user;
  password_ = password;
}

HttpResult HttpClient::Perform(const std::string& url,
                               size_t (*write)(char*, size_t, size_t, void*),
                               HttpTransfer& transfer) {
  HttpResult r;
  if (!curl_ || !multi_) {
    r.failure = HttpFailure::kNoConnection;
    r.error = "the HTTP client could not be created";
    return r;
  }
  if (!refusal_.empty()) {
    r.failure = HttpFailure::kRefused;
    r.error = refusal_;
    return r;
  }
  if (PlaceholderHost(url)) {
    r.failure = HttpFailure::kNoServer;
    r.error = "no update server is set (Server in the section Update of Nastavenie.ini)";
    return r;
  }
  CURL* c = curl_;
  char error[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUpdateUserAgent);
  curl_slist* headers =
      curl_slist_append(nullptr, (std::string("Accept: ") + kUpdateAccept).c_str());
  for (const std::string& h : transfer.request_headers)
    headers = curl_slist_append(headers, h.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, transfer.validators ? ReadHeader : nullptr);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, transfer.validators ? &transfer : nullptr);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeouts_.connect_seconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeouts_.low_speed_seconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, timeouts_.low_speed_bytes);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  if (user_.empty()) {
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_NONE);
    curl_easy_setopt(c, CURLOPT_USERNAME, nullptr);
    curl_easy_setopt(c, CURLOPT_PASSWORD, nullptr);
  } else {
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
    curl_easy_setopt(c, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password_.c_str());
  }
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, write);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, WatchTransfer);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
  transfer.cancel = cancel_;
  transfer.limits = timeouts_;
  transfer.limit_seconds =
      transfer.file ? timeouts_.package_unsized_seconds : timeouts_.text_seconds;
  transfer.start = Clock::now();

  // The multi interface rather than curl_easy_perform: while the server is silent libcurl calls
  // the progress callback only about once a second, and the loop below looks at the cancel
  // flag and the limit every kPollMilliseconds whatever the server does.
  auto* multi = static_cast<CURLM*>(multi_);
  curl_multi_add_handle(multi, c);
  CURLcode code = CURLE_OK;
  for (bool done = false; !done;) {
    int running = 0;
    if (const CURLMcode m = curl_multi_perform(multi, &running); m != CURLM_OK) {
      code = CURLE_RECV_ERROR;
      std::snprintf(error, sizeof error, "%s", curl_multi_strerror(m));
      break;
    }
    int left = 0;
    while (const CURLMsg* msg = curl_multi_info_read(multi, &left)) {
      if (msg->msg == CURLMSG_DONE) {
        code = msg->data.result;
        done = true;
      }
    }
    if (done || transfer.MustStop()) break;
    curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
  }
  curl_multi_remove_handle(multi, c);

  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &r.status);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  curl_slist_free_all(headers);
  if (transfer.stop != HttpTransfer::Stop::kNone) {
    r.failure = transfer.stop == HttpTransfer::Stop::kCancelled   ? HttpFailure::kCancelled
                : transfer.stop == HttpTransfer::Stop::kTimeLimit ? HttpFailure::kTimeLimit
                                                                  : HttpFailure::kTooLong;
    r.limit_seconds = transfer.limit_seconds;
    r.error = transfer.Why();
  } else if (code == CURLE_OK && r.status < 400) {
    r.ok = true;
  } else if (r.status >= 400) {
    r.failure = HttpFailure::kServerStatus;
    r.error = "the server answered " + std::to_string(r.status);
  } else {
    r.failure = HttpFailure::kNoConnection;
    r.error = error[0] ? error : curl_easy_strerror(code);
  }
  return r;
}

HttpResult HttpClient::GetText(const std::string& url, std::string& body) {
  body.clear();
  HttpTransfer transfer;
  transfer.text = &body;
  HttpResult r = Perform(url, AppendToString, transfer);
  if (!r.ok) body.clear();
  return r;
}

HttpResult HttpClient::GetFileIfChanged(const std::string& url, const std::filesystem::path& path,
                                        const HttpValidators& held, HttpValidators& fresh,
                                        uint64_t max_bytes, const DownloadProgress& progress) {
  fresh = {};
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    HttpResult r;
    r.error = "cannot write " + path.string();
    return r;
  }
  HttpTransfer transfer;
  transfer.file = file;
  transfer.progress = &progress;
  transfer.max_bytes = max_bytes;
  transfer.validators = &fresh;
  if (!held.etag.empty()) transfer.request_headers.push_back("If-None-Match: " + held.etag);
  if (!held.last_modified.empty())
    transfer.request_headers.push_back("If-Modified-Since: " + held.last_modified);
  HttpResult r = Perform(url, WriteToFile, transfer);
  if (std::fclose(file) != 0 && r.ok) {
    r.ok = false;
    r.error = "cannot write " + path.string();
  }
  r.not_modified = r.ok && r.status == 304;
  if (!r.ok || r.not_modified) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return r;
}

HttpResult HttpClient::GetFile(const std::string& url, const std::filesystem::path& path,
                               const DownloadProgress& progress) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    HttpResult r;
    r.failure = HttpFailure::kCannotWrite;
    r.error = "cannot write " + path.string();
    return r;
  }
  HttpTransfer transfer;
  transfer.file = file;
  transfer.progress = &progress;
  transfer.max_bytes = 0;  // a package's size is bounded by its time limit and the inflate cap
  HttpResult r = Perform(url, WriteToFile, transfer);
  if (std::fclose(file) != 0 && r.ok) {
    r.ok = false;
    r.failure = HttpFailure::kCannotWrite;
    r.error = "cannot write " + path.string();
  }
  if (!r.ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return r;
}

std::string JoinUrl(std::string_view base, std::string_view path) {
  std::string url(base);
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  if (url.empty() || url.back() != '/') url += '/';
  url += path;
  return url;
}

std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x80 || c == ' ' || c == '#' || c == '%' || c == '*' || c == '+' ||
        c == '<' || c == '>') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace morvela
