#include "update/server_settings.h"

#include <cstdlib>

namespace morvela {

UpdateServer ReadUpdateServer(const std::filesystem::path& ini_path) {
  const UpdateServerSettings stored = ReadUpdateServerSettings(ini_path);
  UpdateServer s;
  s.base_url = stored.server;
  if (const char* env = std::getenv("MORVELA_UPDATE_URL"); env && *env) s.base_url = env;
  if (s.base_url.empty()) s.base_url = kDefaultUpdateServer;
  if (s.base_url.back() != '/') s.base_url += '/';
  s.user = stored.user;
  s.password = stored.password;
  return s;
}

}  // namespace morvela
