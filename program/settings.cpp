#include "program/settings.h"

#include <optional>
#include <stdexcept>

#include "core/cipher.h"
#include "core/folder_lock.h"
#include "core/ini_file.h"
#include "core/text.h"

namespace morvela {

namespace {

constexpr std::string_view kLiga = "Liga";
constexpr std::string_view kUpdate = "Update";
constexpr std::string_view kJazyk = "Jazyk";
constexpr std::string_view kTips = "Tips";

int ReadInRange(const IniFile& ini, std::string_view section, std::string_view key, int lo, int hi,
                int def) {
  int value = ini.ReadInteger(section, key, def);
  return value >= lo && value <= hi ? value : def;
}

// Reads the file, lets change set its keys, and saves it private to the user (it holds the
// update server's credentials); refuses to overwrite a file it could not read. The folder's
// writer lock spans the read and the write, so two programs saving at once do not undo each
// other's keys; false when another writer keeps the folder longer than a short write waits.
template <typename Change>
bool UpdateFile(const std::filesystem::path& path, Change change) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::optional<FolderLock> lock;
  try {
    lock.emplace(folder.string(), kWriterPatience, "settings");
  } catch (const FileError&) {
    return false;  // a folder without a lock file cannot hold the settings either
  }
  if (!lock->Held()) return false;
  IniFile ini(path);
  if (ini.ReadFailed()) return false;
  change(ini);
  return ini.Save(kPrivateFileMode);
}

}  // namespace

bool EnsureSettingsFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;
  return !ec && WriteSettings(path, Settings{});
}

Settings ReadSettings(const std::filesystem::path& path) {
  IniFile ini(path);
  const Settings def;
  Settings s;
  s.Dni = ReadInRange(ini, kLiga, "Dni", 0, 365, def.Dni);
  s.Tip3 = ini.ReadBool(kLiga, "3tip", def.Tip3);
  s.Dbf = ReadInRange(ini, kUpdate, "Dbf", 0, 1, def.Dbf);
  s.App = ReadInRange(ini, kUpdate, "App", 0, 1, def.App);
  s.W7 = ini.ReadBool(kUpdate, "W7", def.W7);
  s.Lang = ReadInRange(ini, kJazyk, "Lang", 0, 4, def.Lang);
  return s;
}

bool WriteW7(const std::filesystem::path& path, bool value) {
  return UpdateFile(path, [&](IniFile& ini) { ini.WriteBool(kUpdate, "W7", value); });
}

bool WriteLang(const std::filesystem::path& path, int value) {
  return UpdateFile(path, [&](IniFile& ini) { ini.WriteInteger(kJazyk, "Lang", value); });
}

bool WriteSettings(const std::filesystem::path& path, const Settings& settings) {
  return UpdateFile(path, [&](IniFile& ini) {
    ini.WriteInteger(kLiga, "Dni", settings.Dni);
    ini.WriteBool(kLiga, "3tip", settings.Tip3);
    ini.WriteInteger(kUpdate, "Dbf", settings.Dbf);
    ini.WriteInteger(kUpdate, "App", settings.App);
    ini.WriteBool(kUpdate, "W7", settings.W7);
    ini.WriteInteger(kJazyk, "Lang", settings.Lang);
  });
}

std::string_view SettingSection(std::string_view key) {
  for (std::string_view k : {"Dni", "3tip"})
    if (EqualsIgnoringAsciiCase(key, k)) return kLiga;
  for (std::string_view k : {"Dbf", "App", "W7"})
    if (EqualsIgnoringAsciiCase(key, k)) return kUpdate;
  if (EqualsIgnoringAsciiCase(key, "Lang")) return kJazyk;
  return {};
}

bool WriteSettingValues(const std::filesystem::path& path,
                        const std::vector<SettingValue>& values) {
  return UpdateFile(path, [&](IniFile& ini) {
    for (const SettingValue& v : values) ini.WriteString(v.section, v.key, v.text);
  });
}

bool ReadSecondOpinionColumns(const std::filesystem::path& path) {
  return ReadInRange(IniFile(path), kTips, "SecondOpinion", 0, 1, 0) == 1;
}

bool WriteSecondOpinionColumns(const std::filesystem::path& path, bool shown) {
  return UpdateFile(path, [&](IniFile& ini) { ini.WriteInteger(kTips, "SecondOpinion", shown); });
}

UpdateServerSettings ReadUpdateServerSettings(const std::filesystem::path& path) {
  IniFile ini(path);
  UpdateServerSettings s;
  s.server = ini.ReadString(kUpdate, "Server", kDefaultUpdateServer);
  if (s.server.empty()) s.server = kDefaultUpdateServer;
  s.user = DecipherText(ini.ReadString(kUpdate, "User", ""), true);
  s.password = DecipherText(ini.ReadString(kUpdate, "Password", ""), true);
  // A value that is not our cipher text deciphers softly to "false"; it is no credential.
  if (s.user == "false") s.user.clear();
  if (s.password == "false") s.password.clear();
  return s;
}

bool WriteUpdateServerSettings(const std::filesystem::path& path,
                               const UpdateServerSettings& server) {
  // The empty credential stays empty in the file, so that "no authentication" reads plainly.
  auto cipher = [](const std::string& plain) {
    return plain.empty() ? std::string() : EncipherText(plain);
  };
  return WriteSettingValues(path, {{kUpdate, "Server", server.server},
                                   {kUpdate, "User", cipher(server.user)},
                                   {kUpdate, "Password", cipher(server.password)}});
}

}  // namespace morvela
