// Changing settings by name from the command line ("Dni=14", "Lang=de", "Server=http://..."):
// every argument is checked before anything is written, so a bad one leaves the file as it was.
#pragma once

#include <string>
#include <vector>

#include "program/settings.h"

namespace morvela {

// The names the command line accepts (case ignored): the five user settings and the update
// server's three.
inline constexpr const char* kSettingNames[] = {"Dni",  "3tip",   "Dbf",  "App",
                                                "Lang", "Server", "User", "Password"};

struct SettingChanges {
  std::vector<SettingValue> values;  // as the file is to hold them (credentials enciphered)
  std::string error;                 // the first bad argument and why; empty when all are good
};

// Checks KEY=VALUE arguments: Dni a whole number 0..365; 3tip 0, 1, true or false; Dbf and App
// 0 or 1; Lang 1..4 or en, de, sk, it; Server an address CheckServerAddress takes (empty
// restores the default); User and Password any text without control characters (empty: no
// authentication), the user name without ":". An error never holds the password.
SettingChanges ParseSettingArguments(const std::vector<std::string>& arguments);

// "en" -> 1 .. "it" -> 4, or a digit 1..4; 0 otherwise.
int LanguageFromName(std::string_view text);

}  // namespace morvela
