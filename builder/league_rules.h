// What the importer knows about the leagues: the division codes of the data files, how a file
// or a date names a season, and the zone limits of each league's standings table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"

namespace morvela {

// The league of a football-data division code ("E0" -> 4, "SC0" -> 10, "AUT" -> 1, ...;
// CZE, SVK and UKR stand for the leagues that site does not cover). Case is ignored.
std::optional<int> LeagueIdFromDivision(std::string_view code);

// A division code or a league name as LeagueIdFromName reads it ("E0", "en", "England").
std::optional<int> LeagueIdFromCode(std::string_view text);

// The starting year of the season a text names: "2019-20", "2019-2020", "2019/2020",
// "2019_20" anywhere in it, the second year being the first plus one. nullopt otherwise.
std::optional<int> SeasonFromText(std::string_view text);

// The starting year of the season a match date belongs to: July or later starts a season.
int SeasonOfDate(const Date& d);

// "2019/2020" for 2019.
std::string SeasonLabel(int start_year);

// Zone limits of a league's standings table for a season with `teams` teams: champions'
// places, European places, relegation play-off and relegation, from typical recent rules of
// each league. A zone that does not fit the team count is 0 (switched off).
struct ZoneLimits {
  int lm = 0, el = 0, baraz = 0, vyp = 0;
};
ZoneLimits DefaultZoneLimits(int league, int teams);

}  // namespace morvela
