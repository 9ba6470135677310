// The rating analysis of one pairing (a home team and an away team of one competition) in the
// full-time, first-half or second-half result mode. It replays the whole season in memory into
// a fixed team table, so that the match window has every team's rating after each of its
// matches, its home and away ratings and the pairing and score of every match; then it finds
// the two teams' slots, computes their forms and the adjusted difference, adjusts that
// difference by the pair's last meetings at the same venue before a reference date, and counts
// the pair's head-to-head record.
//
// The stored differences of the season replay are not read: the ratings are recomputed here
// with the same rating changes, and the difference gets a home/away form term of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"
#include "core/result_mode.h"
#include "rating/head_to_head.h"

namespace morvela {

// Limits of the fixed tables of the match analysis (team table and goal table).
inline constexpr int kAnalysisSlots = 25;         // teams per competition
inline constexpr int kAnalysisMatches = 50;       // matches per team
inline constexpr int kAnalysisVenueMatches = 25;  // home matches, and away matches, per team

namespace analysis {

// One slot of the team table. Arrays are indexed as the table's counts run: history[0] is the
// season-start rating, history[k] the rating after the team's k-th match. VenueMatches is the
// size of the home and away histories: 25 in the match window, 50 in the live tip window, whose
// table keeps room for a whole season at one venue.
template <int VenueMatches>
struct TeamSlot {
  int32_t id = 0;  // MUZSTVA.ID; 0 = empty slot
  std::string name;
  uint16_t rating = 0;
  uint16_t rating_home = 0;
  uint16_t rating_away = 0;
  std::array<uint16_t, kAnalysisMatches + 1> history{};
  std::array<uint16_t, VenueMatches + 1> history_home{};
  std::array<uint16_t, VenueMatches + 1> history_away{};
  std::array<uint16_t, kAnalysisMatches + 1> match_home_slot{};  // for the k-th match (k >= 1)
  std::array<uint16_t, kAnalysisMatches + 1> match_away_slot{};
  std::array<std::string, kAnalysisMatches + 1> match_score{};  // "2 : 1"
  uint8_t history_count = 0;
  uint8_t history_home_count = 0;
  uint8_t history_away_count = 0;
};

using Tmuzstva = TeamSlot<kAnalysisVenueMatches>;

}  // namespace analysis

// Slots 1..25; element 0 is never used, so that slot numbers index the table directly.
template <int VenueMatches>
using TeamTableOf = std::array<analysis::TeamSlot<VenueMatches>, kAnalysisSlots + 1>;
using TeamTable = TeamTableOf<kAnalysisVenueMatches>;
// The live tip window's table: home and away histories as long as the overall one.
using LiveTeamTable = TeamTableOf<kAnalysisMatches>;

// Why an analysis could not be made. The tables are then left cleared or partly loaded, and no
// figure is valid.
enum class AnalysisProblem : uint8_t {
  kNone,
  kTooManyTeams,      // the competition lists more teams than the table holds
  kTooManyMatches,    // a team has more matches (overall, at home or away) than its arrays hold
  kHomeTeamNotFound,  // the home team is not a team of the competition
  kAwayTeamNotFound,
};

struct AnalysisStatus {
  AnalysisProblem problem = AnalysisProblem::kNone;
  int64_t team = 0;  // the team concerned (kTooManyMatches, k...NotFound)
  int count = 0;     // the number found (teams of the competition, or matches of `team`)
  bool ok() const { return problem == AnalysisProblem::kNone; }
};

// What the caller gives.
struct PairingInput {
  int64_t home = 0;  // MUZSTVA.ID
  int64_t away = 0;
  ResultMode result_mode = ResultMode::kFullTime;  // full time or a half
  std::string competition;                         // SUTAZ.ID as decimal text
  int language = 1;                                // selects the team-name column
  Date reference{};  // head-to-head cut-off and base of the meetings' ages
};

// Figures of one analysis.
struct PairingFigures {
  int h = 0, a = 0;                     // slots of the home and away team
  int32_t form_h = 0, form_a = 0;       // overall forms
  int32_t home_form_h = 0;              // home form of the home team
  int32_t away_form_a = 0;              // away form of the away team
  int32_t difference = 0;               // adjusted difference before the head-to-head adjustment
  int32_t adjusted = 0;                 // adjusted difference D after it
  int wins = 0, draws = 0, losses = 0;  // of the home team at home against the away team
  int meetings = 0;                     // meetings that went into the head-to-head adjustment
};

// The team statement of the analysis (also loads the goal table).
std::string AnalysisTeamStatement(const std::string& competition, int language);

// The slot of a team: the first used slot with its id, scanning from 1 up to the first empty
// slot; 0 when there is none.
template <int V>
int FindTeamSlot(const TeamTableOf<V>& table, int64_t team);

// The limits of the fixed tables, checked before a table is touched: both teams of the pairing
// among `teams` (the team statement's rows), and at most 50 matches per team and `venue_limit`
// at home and away each (25 in the match window's table, 50 in the live tip's), among the rows
// of `replay` for which `counts_row` says yes. Both result sets are left on their first row.
AnalysisStatus CheckAnalysisLimits(Query& teams, Query& replay, int64_t home, int64_t away,
                                   int venue_limit, const std::function<bool()>& counts_row);

// Runs the analysis: clears `table`, loads the teams, replays the season and computes the
// figures. Beyond the limits (checked before the table is filled) or with a pairing team that
// is not in the competition nothing is analysed and the status says why. Database errors pass
// through; the table keeps what was filled. Uses its own result sets, so no cursor of the data
// module moves. Home and away matches per team are limited by the table's venue histories.
// Instantiated for TeamTable and LiveTeamTable.
template <int V>
AnalysisStatus AnalysePairing(Connection& conn, const PairingInput& in, TeamTableOf<V>& table,
                              PairingFigures& figures);

// The form terms and the difference before the head-to-head adjustment, from the slots'
// histories (the step of the analysis after the replay).
template <int V>
void ComputeForms(const analysis::TeamSlot<V>& h, const analysis::TeamSlot<V>& a,
                  PairingFigures& f);

// The full-time statement of the head-to-head adjustment: the pair's last four meetings at
// this venue before `reference`.
std::string FullTimeMeetingsStatement(int64_t home, int64_t away, const Date& reference);

// VratPoradie: the rating position (1-based) of slot t after k matches among all 25 slots,
// sorted by descending history[k]; ties share the best position, empty slots and teams with
// fewer than k matches have 0 there and rank last.
int VratPoradie(const TeamTable& table, int t, int k);

}  // namespace morvela
