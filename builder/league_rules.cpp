#include "builder/league_rules.h"
#include "core/text.h"

#include <algorithm>
#include <array>

#include "builder/csv_text.h"
#include "i18n/leagues.h"

namespace morvela {

namespace {

// Up to four digits: the parts of season labels.
std::optional<int> ParseDigits(std::string_view s) {
  return morvela::ParseDigits(s, 1, 4);
}

struct DivisionCode {
  std::string_view code;
  int league;
};

constexpr std::array<DivisionCode, 20> kDivisions = {{
    {"E0", 4},   {"SC0", 10}, {"D1", 6},   {"I1", 7},  {"SP1", 11}, {"F1", 5},   {"N1", 8},
    {"B1", 2},   {"P1", 9},   {"T1", 12},  {"G1", 13}, {"AUT", 1},  {"SWZ", 16}, {"DNK", 17},
    {"POL", 18}, {"ROU", 19}, {"RUS", 14}, {"CZE", 3}, {"SVK", 15}, {"UKR", 20},
}};

// Champions' places, last European place, relegation play-off places and relegated places
// (the last two counted from the bottom), indexed by league id - 1. They follow the leagues'
// recent rules closely enough for colouring a table; seasons with other rules keep these.
struct ZoneRule {
  int champions, europe, playoff, relegated;
};
constexpr std::array<ZoneRule, 20> kZoneRules = {{
    {2, 4, 0, 1},  // 1 Austria
    {2, 4, 1, 2},  // 2 Belgium
    {2, 4, 2, 1},  // 3 Czech Republic
    {4, 7, 0, 3},  // 4 England
    {3, 6, 1, 2},  // 5 France
    {4, 7, 1, 2},  // 6 Germany
    {4, 7, 0, 3},  // 7 Italy
    {2, 5, 1, 2},  // 8 Netherlands
    {2, 5, 1, 2},  // 9 Portugal
    {2, 4, 1, 1},  // 10 Scotland
    {4, 7, 0, 3},  // 11 Spain
    {2, 5, 0, 3},  // 12 Turkey
    {2, 5, 0, 2},  // 13 Greece
    {2, 5, 2, 2},  // 14 Russia
    {1, 4, 1, 1},  // 15 Slovakia
    {2, 4, 1, 1},  // 16 Switzerland
    {1, 3, 0, 2},  // 17 Denmark
    {1, 4, 0, 3},  // 18 Poland
    {1, 4, 2, 2},  // 19 Romania
    {2, 4, 2, 2},  // 20 Ukraine
}};

}  // namespace

std::optional<int> LeagueIdFromDivision(std::string_view code) {
  const std::string folded = AsciiLower(TrimSpacesAndTabs(code));
  for (const DivisionCode& d : kDivisions)
    if (AsciiLower(d.code) == folded) return d.league;
  return std::nullopt;
}

std::optional<int> LeagueIdFromCode(std::string_view text) {
  if (auto league = LeagueIdFromDivision(text)) return league;
  return LeagueIdFromName(text);
}

std::optional<int> SeasonFromText(std::string_view text) {
  auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  for (size_t i = 0; i + 7 <= text.size(); ++i) {
    if ((i > 0 && digit(i - 1)) || !digit(i) || !digit(i + 1) || !digit(i + 2) || !digit(i + 3))
      continue;
    const char sep = text[i + 4];
    if (sep != '-' && sep != '/' && sep != '_') continue;
    const int first = *ParseDigits(text.substr(i, 4));
    if (first < 1900 || first > 2099) continue;
    size_t width = 0;
    while (digit(i + 5 + width)) ++width;
    if (width == 2 && *ParseDigits(text.substr(i + 5, 2)) == (first + 1) % 100) return first;
    if (width == 4 && *ParseDigits(text.substr(i + 5, 4)) == first + 1) return first;
  }
  return std::nullopt;
}

int SeasonOfDate(const Date& d) {
  const int year = static_cast<int>(d.year());
  return static_cast<unsigned>(d.month()) >= 7 ? year : year - 1;
}

std::string SeasonLabel(int start_year) {
  return std::to_string(start_year) + "/" + std::to_string(start_year + 1);
}

ZoneLimits DefaultZoneLimits(int league, int teams) {
  if (league < 1 || league > 20 || teams < 2) return {};
  const ZoneRule& r = kZoneRules[static_cast<size_t>(league - 1)];
  ZoneLimits z;
  z.lm = std::min(r.champions, teams);
  z.el = r.europe < teams ? r.europe : 0;
  const int last_europe = std::max(z.lm, z.el);
  if (r.relegated > 0 && teams - r.relegated + 1 > last_europe) z.vyp = teams - r.relegated + 1;
  if (r.playoff > 0 && teams - r.relegated - r.playoff + 1 > last_europe)
    z.baraz = teams - r.relegated - r.playoff + 1;
  return z;
}

}  // namespace morvela
