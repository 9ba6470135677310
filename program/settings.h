// The program's settings and the settings file Nastavenie.ini that keeps them between runs.
//
// Keys: Liga/Dni, Liga/3tip, Update/Dbf, Update/App, Update/W7, Jazyk/Lang. Booleans are written
// as 1 and 0. Every writer reads the file afresh and changes only its own keys, so lines the
// program does not know survive. Every write leaves the file readable by its owner only (0600):
// it holds the update server's credentials.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace morvela {

struct Settings {
  int Dni = 21;      // days after today that the league tip run covers (0..365)
  bool Tip3 = true;  // key "3tip": the week and league tip runs also store three-way tips
  int Dbf = 0;       // 0: look for a newer results database after start-up (0..1)
  int App = 0;       // 0: look for a newer program version after start-up (0..1)
  bool W7 = true;    // apply the compatibility setting at the next start
  int Lang = 0;      // language index 1..4; 0: not chosen yet

  bool operator==(const Settings&) const = default;
};

// Creates the settings file with the defaults (written in the order Dni, 3tip, Dbf, App, W7,
// Lang) when it does not exist. False when the file had to be created and could not be.
bool EnsureSettingsFile(const std::filesystem::path& path);

// Reads the six keys. A missing file, a missing or garbage value, and a value outside its
// range read as the default; Lang outside 0..4 reads as 0 (not chosen).
Settings ReadSettings(const std::filesystem::path& path);

// Write one key or all six, keeping the rest of the file. False when the file exists but cannot
// be read, or when it cannot be written.
bool WriteW7(const std::filesystem::path& path, bool value);
bool WriteLang(const std::filesystem::path& path, int value);
bool WriteSettings(const std::filesystem::path& path, const Settings& settings);

// One key as the file spells it ("Liga", "Dni", "21"), for writers that change a chosen few.
struct SettingValue {
  std::string_view section;
  std::string_view key;
  std::string text;
};
// The section of one of the six keys above ("Dni" -> "Liga"); empty for another key.
std::string_view SettingSection(std::string_view key);
// Writes the given keys in one save, keeping the rest of the file. False as the writers above.
bool WriteSettingValues(const std::filesystem::path& path, const std::vector<SettingValue>& values);

// Whether the tips list window shows the columns Model % and Market % (section Tips, key
// SecondOpinion, 1 or 0). Off when the key is missing, and for any value but 1, so that a
// damaged file leaves the list as it always was.
bool ReadSecondOpinionColumns(const std::filesystem::path& path);
bool WriteSecondOpinionColumns(const std::filesystem::path& path, bool shown);

// Where the update packages are fetched: section Update, keys Server (the base address, plain),
// User and Password (each enciphered with EncipherText; empty: no authentication). The
// environment variable MORVELA_UPDATE_URL overrides Server at run time.
inline constexpr const char* kDefaultUpdateServer = "http://updates.morvela.invalid/";
struct UpdateServerSettings {
  std::string server = kDefaultUpdateServer;
  std::string user;      // plain
  std::string password;  // plain

  bool operator==(const UpdateServerSettings&) const = default;
};
// Reads the three keys as stored (the environment is not consulted). A missing key reads as its
// default; an enciphered value that cannot be deciphered reads as empty.
UpdateServerSettings ReadUpdateServerSettings(const std::filesystem::path& path);
// Writes the three keys (user and password enciphered), keeping the rest of the file.
bool WriteUpdateServerSettings(const std::filesystem::path& path,
                               const UpdateServerSettings& server);

}  // namespace morvela
