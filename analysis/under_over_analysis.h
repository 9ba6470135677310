// The under/over analysis of one pairing: in the under/over result mode the match window
// analyses goals instead of ratings. From the two teams' goal averages, their goals in recent
// matches and the goals of their earlier meetings it estimates the expected goals of the coming
// match and turns them into the chance of at most two goals (Poisson), the under/over tip.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "analysis/pairing_analysis.h"
#include "core/database.h"

namespace morvela {

namespace analysis {

// One slot of the goal table; arrays are indexed from 1 as the counts run.
struct TGoly {
  int32_t id = 0;  // MUZSTVA.ID; 0 = empty slot
  std::string name;
  uint16_t goals_total = 0;
  uint16_t goals_total_home = 0;
  uint16_t goals_total_away = 0;
  double average = 0;  // season-start goals per match (PR)
  double average_home = 0;
  double average_away = 0;
  std::array<uint8_t, kAnalysisMatches + 1> goals{};
  std::array<uint8_t, kAnalysisVenueMatches + 1> goals_home{};
  std::array<uint8_t, kAnalysisVenueMatches + 1> goals_away{};
  std::array<uint16_t, kAnalysisMatches + 1> match_home_slot{};
  std::array<uint16_t, kAnalysisMatches + 1> match_away_slot{};
  std::array<std::string, kAnalysisMatches + 1> match_score{};
  uint8_t goals_home_count = 0;
  uint8_t goals_away_count = 0;
  uint8_t goals_count = 0;
};

}  // namespace analysis

// Slots 1..25; element 0 is never used.
using GoalTable = std::array<analysis::TGoly, kAnalysisSlots + 1>;

// The goal figures of one analysis (h = home team's slot, a = away team's slot).
struct GoalFigures {
  int h = 0, a = 0;
  double average_h = 0, average_a = 0;    // goal averages
  double average_home_h = 0;              // home goal average of h
  double average_away_a = 0;              // away goal average of a
  double form_h = 0, form_a = 0;          // goal forms (last four matches)
  double home_form_h = 0;                 // home goal form of h
  double away_form_a = 0;                 // away goal form of a
  double expected_h = 0, expected_a = 0;  // E_h, E_a
  int meetings_any = 0;                   // m1: last meetings at either venue (at most 4)
  int meetings_same = 0;                  // m2: last meetings at this venue (at most 4)
  double meetings_goals = 0;              // X
  double lambda = 0;                      // expected goals
  uint8_t under = 0;                      // UnderPercentage(lambda)
  int under_count = 0, over_count = 0;    // head-to-head record at this venue
};

// Mean goals of a team's matches, the season-start average while it has none.
double GoalAverage(uint16_t total, int count, double average);
// Mean goals of the last four matches (goals[1..count]), the season-start average standing in
// for missing ones.
template <size_t N>
double GoalForm(const std::array<uint8_t, N>& goals, int count, double average) {
  double sum = 0;
  for (int r = 0; r < 4; ++r) sum += count - r >= 1 ? goals[count - r] : average;
  return sum / 4;
}

// Expected goals from the two teams' figures and the meetings: (E_h + E_a + X) / 10 with
// meetings at both venues and at this one, / 9 with meetings only at the other venue, and
// (E_h + E_a) / 8 without meetings.
double ExpectedGoals(double e_h, double e_a, int meetings_any, int meetings_same, double x);

// Runs the analysis: clears `table`, loads the teams and their season-start averages, replays
// the season's goals and computes the figures, the expected goals, the under percentage and
// the head-to-head under/over record. Limits and missing teams as in AnalysePairing. Database
// errors pass through.
AnalysisStatus AnalyseUnderOver(Connection& conn, const std::string& competition, int language,
                                int64_t home, int64_t away, GoalTable& table, GoalFigures& f);

}  // namespace morvela
