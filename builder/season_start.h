// Season-start data of a league's competitions: the ratings (full time, first and second half;
// overall, home, away) and the goal averages that SUTAZ_MUZSTVA holds for every team and season
// and from which the season replay and the in-memory replays of the tables start.
//
// The rule, season by season in ID_POR order:
//  - the league's first season starts every team at 1500 with goal averages of 2.6;
//  - a later season starts a team that played the previous season at its rating at the end of
//    that season, replayed with RatingChange400 (overall) and RatingChange200 (home and away:
//    the home rating moves only in home matches, against the visitor's away rating, the away
//    rating only in away matches) over the same matches as the season replay (non-forfeit,
//    played in that mode, in date and id order), pulled toward the mean end rating of the
//    previous season's teams so that it keeps kCarriedShare of its distance: form fades over a
//    summer, squads change, and a rating carried whole would overstate the gaps;
//  - a team new to the league takes the mean carried rating of the teams that left it: a
//    promoted club is about as strong as the clubs it replaces. When no team left (the league
//    grew), newcomers take the mean carried rating of the lowest quarter of the previous
//    season's teams. A team returning after some seasons away counts as new;
//  - PR, PR_HOME, PR_AWAY are the team's average total goals per match (both sides) in the
//    previous season over all, home and away matches; a new team, or a team without such
//    matches, takes the previous season's average per match; without any played match 2.6.
//    Averages are rounded to two decimals (ties to even).
// Ratings are whole numbers kept within 0..65535, the range the stored columns allow.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/database.h"

namespace morvela {

inline constexpr int kFirstSeasonRating = 1500;
inline constexpr double kCarriedShare = 2.0 / 3.0;
inline constexpr double kDefaultGoalAverage = 2.6;

// Rating families by result mode (full time, first half, second half) and kind.
inline constexpr int kStartModes = 3;
enum RatingKind { kOverall = 0, kHome = 1, kAway = 2 };

struct TeamStart {
  // rating[mode][kind]: mode 0 full time (ELO*), 1 first half (HT_ELO*), 2 second half (SHT_ELO*).
  std::array<std::array<int32_t, 3>, kStartModes> rating{};
  double pr = kDefaultGoalAverage, pr_home = kDefaultGoalAverage, pr_away = kDefaultGoalAverage;
};

// One non-forfeit match of a season in replay order, with its goals per mode (absent when not
// played in that mode: a fixture, or a match without a half-time score).
struct SeasonMatch {
  int64_t home = 0, away = 0;
  std::array<std::optional<std::pair<int, int>>, kStartModes> goals;
};

struct SeasonRecord {
  std::vector<int64_t> teams;  // SUTAZ_MUZSTVA of the competition
  std::vector<SeasonMatch> matches;
};

using SeasonStarts = std::map<int64_t, TeamStart>;

// Every team at 1500 in all nine ratings, goal averages 2.6.
SeasonStarts FirstSeasonStarts(const std::vector<int64_t>& teams);

// The ratings at the end of `season` replayed from `starts` (only rating[][] is meaningful).
// Matches of a team without a start are left out.
SeasonStarts ReplayEndRatings(const SeasonRecord& season, const SeasonStarts& starts);

// The starts of `next_teams` after `previous` (started from `previous_starts`), by the rule
// above.
SeasonStarts NextSeasonStarts(const SeasonRecord& previous, const SeasonStarts& previous_starts,
                              const std::vector<int64_t>& next_teams);

// The competitions of a league in season order (ID_POR, then ID).
struct CompetitionSeason {
  int64_t id = 0;
  int season = 0;  // ID_POR
};
std::vector<CompetitionSeason> LeagueCompetitions(Connection& conn, int league);

// The teams and the non-forfeit matches of a competition, ordered by DATUM and ID.
SeasonRecord LoadSeason(Connection& conn, int64_t competition);

// Computes and stores the season-start data of every competition of `league`. Returns the
// number of competitions.
int ComputeSeasonStarts(Connection& conn, int league);

// How well the start ratings fit the teams: the mean absolute rating change (full time,
// overall) over each team's first five played matches of a season, replayed once from the
// stored starts and once from a constant 1500 for everybody. A start closer to the teams'
// strength lets the first results surprise less, so the smaller mean is the better start.
// A league's first season is left out (both rules start it at 1500).
struct StartRuleComparison {
  double stored = 0;    // mean |change| starting from SUTAZ_MUZSTVA
  double constant = 0;  // mean |change| starting from 1500
  int64_t changes = 0;  // team-matches counted
  int seasons = 0;
};
StartRuleComparison CompareStartRules(Connection& conn, const std::vector<int>& leagues);

}  // namespace morvela
