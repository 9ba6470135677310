// What the league tables window shows. The numbers are the window's historic kind numbers: three
// per family, for the home, away and together side; 4-6 only name the rating grids' layouts.
#pragma once

#include <cstdint>

namespace morvela {

enum class TableKind : uint8_t {
  kStandingsHome = 1,
  kStandingsAway = 2,
  kStandings = 3,
  kRatings = 4,
  kRatingsHome = 5,
  kRatingsAway = 6,
  kFormHome = 7,
  kFormAway = 8,
  kForm = 9,
  kGoalsHome = 10,
  kGoalsAway = 11,
  kGoals = 12,
  kGoalFormHome = 13,
  kGoalFormAway = 14,
  kGoalForm = 15,
};

constexpr int KindNumber(TableKind kind) {
  return static_cast<int>(kind);
}

// The kinds a match window opens ("Table home" / "Table away", standings or goals): the only
// ones that highlight the match's teams and follow the side the user picks.
constexpr bool OpenedFromMatch(TableKind kind) {
  return kind == TableKind::kStandingsHome || kind == TableKind::kStandingsAway ||
         kind == TableKind::kGoalsHome || kind == TableKind::kGoalsAway;
}

// Standings, rating and form tables count per team (Tmuzstva); the goal tables per goal row.
constexpr bool CountsTeams(TableKind kind) {
  return KindNumber(kind) <= KindNumber(TableKind::kForm);
}

}  // namespace morvela
