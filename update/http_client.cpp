#include "update/http_client.h"

#include <curl/curl.h>

#include <cstdio>
#include <mutex>

#include "core/text.h"

namespace morvela {

namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t AppendToString(char* data, size_t size, size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(data, size * count);
  return size * count;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* sink) {
  return std::fwrite(data, size, count, static_cast<FILE*>(sink)) * size;
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

int ReportProgress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
  const auto* progress = static_cast<const DownloadProgress*>(user);
  if (progress && *progress)
    (*progress)(static_cast<uint64_t>(dlnow), static_cast<uint64_t>(dltotal));
  return 0;
}

}  // namespace

HttpClient::HttpClient() {
  GlobalInit();
  curl_ = curl_easy_init();
  // An empty cookie file name switches the cookie engine on without reading a file: cookies
  // live in this handle until it is cleaned up.
  if (curl_) curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");
}

HttpClient::~HttpClient() {
  if (curl_) curl_easy_cleanup(curl_);
}

void HttpClient::SetCredentials(const std::string& user, const std::string& password) {
  user_ = user;
  password_ = password;
}

HttpResult HttpClient::Perform(const std::string& url,
                               size_t (*write)(char*, size_t, size_t, void*), void* sink,
                               const DownloadProgress* progress) {
  HttpResult r;
  if (!curl_) {
    r.error = "the HTTP client could not be created";
    return r;
  }
  if (PlaceholderHost(url)) {
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
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
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
  curl_easy_setopt(c, CURLOPT_WRITEDATA, sink);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, progress ? 0L : 1L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, progress);

  const CURLcode code = curl_easy_perform(c);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &r.status);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  curl_slist_free_all(headers);
  if (code == CURLE_OK && r.status < 400) {
    r.ok = true;
  } else if (r.status >= 400) {
    r.error = "the server answered " + std::to_string(r.status);
  } else {
    r.error = error[0] ? error : curl_easy_strerror(code);
  }
  return r;
}

HttpResult HttpClient::GetText(const std::string& url, std::string& body) {
  body.clear();
  HttpResult r = Perform(url, AppendToString, &body, nullptr);
  if (!r.ok) body.clear();
  return r;
}

HttpResult HttpClient::GetFile(const std::string& url, const std::filesystem::path& path,
                               const DownloadProgress& progress) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    HttpResult r;
    r.error = "cannot write " + path.string();
    return r;
  }
  HttpResult r = Perform(url, WriteToFile, file, progress ? &progress : nullptr);
  if (std::fclose(file) != 0 && r.ok) {
    r.ok = false;
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
