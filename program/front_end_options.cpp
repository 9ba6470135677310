#include "program/front_end_options.h"

#include <cstdlib>

#include "core/text.h"
#include "i18n/leagues.h"
#include "i18n/messages.h"

namespace morvela {

namespace {

[[noreturn]] void Refuse(std::string_view option, std::string_view expects,
                         std::string_view value) {
  throw OptionError(std::string(option) + " expects " + std::string(expects) + ", got '" +
                    ValueForMessage(value) + "'");
}

}  // namespace

Date DateOption(std::string_view option, std::string_view text) {
  const std::optional<Date> d = ParseIsoDate(text);
  if (!d || *d < kFirstUsableDate || kLastUsableDate < *d)
    Refuse(option, "a date as YYYY-MM-DD from 1900-01-01 to 9998-12-31", text);
  return *d;
}

int LanguageOption(std::string_view text) {
  const std::optional<int> lang = LanguageFromCode(text);
  if (!lang) Refuse("--lang", "en, de, sk or it", text);
  return *lang;
}

ResultMode ModeOption(std::string_view text) {
  const std::optional<ResultMode> mode = ResultModeFromCode(text);
  if (!mode) Refuse("--mode", "ft, 1h, 2h or uo", text);
  return *mode;
}

int LeagueOption(std::string_view option, std::string_view text) {
  const std::optional<int> league = LeagueIdFromName(text);
  if (!league) Refuse(option, "a league id 1-20 or a country name such as England", text);
  return *league;
}

std::optional<Date> TodayFromEnvironment() {
  const char* env = std::getenv("MORVELA_TODAY");
  if (!env || !*env) return std::nullopt;
  return DateOption("MORVELA_TODAY", env);
}

}  // namespace morvela
