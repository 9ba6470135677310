#include "update/server_settings.h"

#include <cstdlib>

#include "core/cipher.h"
#include "core/ini_file.h"

namespace morvela {

namespace {

std::string DecipherOrEmpty(const std::string& text) {
  if (text.empty()) return "";
  try {
    return DecipherText(text, /*soft=*/false);
  } catch (const CipherError&) {
    return "";
  }
}

}  // namespace

UpdateServer ReadUpdateServer(const std::filesystem::path& ini_path) {
  const IniFile ini(ini_path);
  UpdateServer s;
  s.base_url = ini.ReadString("Update", "Server", "");
  if (const char* env = std::getenv("MORVELA_UPDATE_URL"); env && *env) s.base_url = env;
  if (s.base_url.empty()) s.base_url = kDefaultUpdateServer;
  if (s.base_url.back() != '/') s.base_url += '/';
  s.user = DecipherOrEmpty(ini.ReadString("Update", "User", ""));
  s.password = DecipherOrEmpty(ini.ReadString("Update", "Password", ""));
  return s;
}

}  // namespace morvela
