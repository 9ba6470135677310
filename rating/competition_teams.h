// The teams of a competition as the match window's choosers list them, and the lookup of a team
// given by the user as an id or a name (the command line's team arguments).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/database.h"

namespace morvela {

// A chooser item: the team's display name with its MUZSTVA.ID attached.
struct TeamItem {
  int64_t id = 0;
  std::string name;
  bool operator==(const TeamItem&) const = default;
};

// The teams of competition `competition` named in the language's name column, sorted by that
// name (the statement of the tip search).
std::vector<TeamItem> CompetitionTeams(Connection& conn, const std::string& competition,
                                       int language);

// Every team of league `league` (any season) named in the language's name column, sorted by that
// name (the result editor's search lists).
std::vector<TeamItem> LeagueTeams(Connection& conn, const std::string& league, int language);

// The outcome of a lookup: the team, or why there is none.
struct TeamLookup {
  std::optional<TeamItem> team;
  std::string error;  // English; names the competition's teams when the text fits none or many
};

// Finds `text` among `teams`: a whole number is a team id (it must be one of the teams); other
// text is a name compared without regard to case (ASCII and Latin-1 letters), first as the whole
// name, then as a part of it. No team, or more than one, gives an error listing the teams.
TeamLookup ResolveTeam(const std::vector<TeamItem>& teams, std::string_view text);

}  // namespace morvela
