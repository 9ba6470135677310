#include "update/server_settings.h"

#include <cstdlib>

#include "core/text.h"
#include "program/server_address.h"

namespace morvela {

UpdateServer ReadUpdateServer(const std::filesystem::path& ini_path) {
  const UpdateServerSettings stored = ReadUpdateServerSettings(ini_path);
  UpdateServer s;
  std::string given = stored.server;
  std::string source = "Server in the section Update of " + ini_path.filename().string();
  if (const char* env = std::getenv("MORVELA_UPDATE_URL"); env && *env) {
    given = env;
    source = "MORVELA_UPDATE_URL";
  }
  const ServerAddressCheck address = CheckServerAddress(given);
  if (!address.error.empty()) {
    s.base_url = kDefaultUpdateServer;
    s.error = source + ": \"" + MaskedAddress(given) + "\" is refused; the update server needs " +
              address.error;
    return s;
  }
  s.base_url = address.address;
  s.user = stored.user;
  s.password = stored.password;
  return s;
}

std::string PlainHttpPasswordWarning(std::string_view base_url, std::string_view user) {
  if (user.empty() || base_url.size() < 7 ||
      !EqualsIgnoringAsciiCase(base_url.substr(0, 7), "http://"))
    return "";
  return "the user name and password go to " + MaskedAddress(base_url) +
         " over plain http, readable by anyone on the way; an https:// address keeps them "
         "private";
}

}  // namespace morvela
