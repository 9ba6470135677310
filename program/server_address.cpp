#include "program/server_address.h"

#include <algorithm>

#include "core/text.h"
#include "program/settings.h"

namespace morvela {

namespace {

// Where the authority ("user:pw@host:port") of `url` begins: after "scheme://"; npos without.
size_t AuthorityStart(std::string_view url) {
  const size_t scheme = url.find("://");
  return scheme == std::string_view::npos ? scheme : scheme + 3;
}

// The user information of the authority starting at `start` ("user:pw"), found up to the last
// "@" before the path, query or fragment; empty when there is none.
std::string_view UserInfo(std::string_view url, size_t start) {
  const std::string_view authority = url.substr(start, url.find_first_of("/?#", start) - start);
  const size_t at = authority.rfind('@');
  return at == std::string_view::npos ? std::string_view() : authority.substr(0, at + 1);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

ServerAddressCheck CheckServerAddress(std::string_view text) {
  ServerAddressCheck r;
  if (text.empty()) {
    r.address = kDefaultUpdateServer;
    return r;
  }
  const bool web =
      StartsWithIgnoringCase(text, "http://") || StartsWithIgnoringCase(text, "https://");
  const size_t host = AuthorityStart(text);
  const bool unreadable = std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7f;
  });
  if (!web || host >= text.size() || text[host] == '/' || unreadable) {
    r.error = "an http:// or https:// address with a host";
    return r;
  }
  if (!UserInfo(text, host).empty()) {
    r.error =
        "an address without a user name or password (give those as User and Password, "
        "which are stored enciphered)";
    return r;
  }
  r.address = std::string(text);
  if (r.address.back() != '/') r.address += '/';
  return r;
}

std::string MaskedAddress(std::string_view url) {
  const size_t start = AuthorityStart(url);
  if (start == std::string_view::npos) return std::string(url);
  const std::string_view info = UserInfo(url, start);
  const size_t colon = info.find(':');
  if (colon == std::string_view::npos) return std::string(url);
  // Keeps "scheme://user:" and "@host..." around the password.
  return std::string(url.substr(0, start + colon + 1)) + "***" +
         std::string(url.substr(start + info.size() - 1));
}

}  // namespace morvela
