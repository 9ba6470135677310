#include "program/setting_arguments.h"

#include <algorithm>
#include <optional>

#include "core/cipher.h"
#include "core/helpers.h"
#include "core/text.h"
#include "program/server_address.h"

namespace morvela {

namespace {

std::optional<int> WholeIn(std::string_view text, int lo, int hi) {
  const std::optional<int> v = ParseWholeInt(text);
  if (!v || *v < lo || *v > hi) return std::nullopt;
  return v;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace

int LanguageFromName(std::string_view text) {
  static constexpr std::string_view kCodes[] = {"en", "de", "sk", "it"};
  for (int i = 0; i < 4; ++i)
    if (EqualsIgnoringAsciiCase(text, kCodes[i])) return i + 1;
  return WholeIn(text, 1, 4).value_or(0);
}

SettingChanges ParseSettingArguments(const std::vector<std::string>& arguments) {
  SettingChanges out;
  auto fail = [&out](const std::string& why) {
    out.values.clear();
    out.error = why;
    return out;
  };
  for (const std::string& argument : arguments) {
    const size_t eq = argument.find('=');
    if (eq == std::string::npos) return fail("\"" + argument + "\" is not KEY=VALUE");
    const std::string_view given = std::string_view(argument).substr(0, eq);
    const std::string value = argument.substr(eq + 1);
    const auto name =
        std::find_if(std::begin(kSettingNames), std::end(kSettingNames),
                     [&](const char* n) { return EqualsIgnoringAsciiCase(given, n); });
    if (name == std::end(kSettingNames))
      return fail("unknown setting \"" + std::string(given) +
                  "\" (known: Dni, 3tip, Dbf, App, Lang, Server, User, Password)");
    const std::string_view key = *name;
    // A refused password is never repeated, and an address only with its password masked.
    const std::string shown = key == "Password" ? std::string()
                              : key == "Server" ? " \"" + MaskedAddress(value) + "\""
                                                : " \"" + value + "\"";
    const std::string bad = "bad value" + shown + " for " + std::string(key) + ": ";
    std::string text;
    if (key == "Dni") {
      const std::optional<int> v = WholeIn(value, 0, 365);
      if (!v) return fail(bad + "a whole number of days 0..365");
      text = std::to_string(*v);
    } else if (key == "3tip") {
      if (value == "1" || EqualsIgnoringAsciiCase(value, "true"))
        text = "1";
      else if (value == "0" || EqualsIgnoringAsciiCase(value, "false"))
        text = "0";
      else
        return fail(bad + "1 (true) or 0 (false)");
    } else if (key == "Dbf" || key == "App") {
      const std::optional<int> v = WholeIn(value, 0, 1);
      if (!v) return fail(bad + "0 (check after start-up) or 1 (manually)");
      text = std::to_string(*v);
    } else if (key == "Lang") {
      const int lang = LanguageFromName(value);
      if (lang == 0) return fail(bad + "1..4 or en, de, sk, it");
      text = std::to_string(lang);
    } else if (key == "Server") {
      const ServerAddressCheck address = CheckServerAddress(value);
      if (!address.error.empty()) return fail(bad + address.error);
      text = address.address;
    } else {
      if (HasControlCharacter(value)) return fail(bad + "control characters are not allowed");
      if (key == "User" && value.find(':') != std::string::npos)
        return fail(bad + "a user name cannot hold \":\"");
      text = value.empty() ? std::string() : EncipherText(value);
    }
    const std::string_view section = key == "Server" || key == "User" || key == "Password"
                                         ? std::string_view("Update")
                                         : SettingSection(key);
    out.values.push_back({section, key, text});
  }
  return out;
}

}  // namespace morvela
