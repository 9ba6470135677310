// Where the update server is: the base address and the credentials of the HTTP requests, kept
// in Nastavenie.ini, section "Update":
//   Server=http://127.0.0.1:8080/morvela/   base address (plain text); default kDefaultUpdateServer
//   User=...                                 user name, enciphered (core/cipher.h); empty: no auth
//   Password=...                             password, enciphered; empty: no authentication
// The environment variable MORVELA_UPDATE_URL, when set and not empty, overrides Server; both take
// only what CheckServerAddress (program/server_address.h) takes, so no request ever goes to a
// file:// address or carries credentials written into the address.
// Every request goes to the base address followed by one of the paths below.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "program/settings.h"  // kDefaultUpdateServer, the stored keys

namespace morvela {

// Paths of the requests, relative to the base address.
inline constexpr const char* kDateCheckPath = "check.txt";         // enciphered dd.mm.yyyy
inline constexpr const char* kResultsPackagePath = "results.qvz";  // zlib-compressed database
inline constexpr const char* kOddsPackagePath = "odds.qvz";        // zlib-compressed KURZY rows
inline constexpr const char* kReportPath = "report";               // ?LANG=..&VER=..&OS=..
inline constexpr const char* kVersionPath = "version.txt";         // newest program version

struct UpdateServer {
  std::string base_url;  // always ends with "/"
  std::string user;      // deciphered; empty: no authentication
  std::string password;  // deciphered
  // Why no request may be sent (the address that was meant is refused); empty when they may.
  // The address is then the default placeholder, which the HTTP client never contacts, and the
  // credentials are empty.
  std::string error;
};

// The server settings as the requests use them: the stored keys (ReadUpdateServerSettings),
// MORVELA_UPDATE_URL over Server, and the base address ending with "/". A missing file or key
// gives the default address and no credentials. A refused address (stored, or in the variable)
// sets `error`, naming where it came from and never holding its password.
UpdateServer ReadUpdateServer(const std::filesystem::path& ini);

// The warning for basic authentication over plain http: anyone on the way can read the user name
// and password. Empty when `user` is empty (no authentication) or the address is not http://.
std::string PlainHttpPasswordWarning(std::string_view base_url, std::string_view user);

}  // namespace morvela
