// The season rating replay: recomputes the values the prediction engine searches by, for every
// match and fixture of one competition (one league season).
//
// The replay walks the competition's matches in date order, keeping each team's overall, home
// and away rating as it stood before every match, and writes
//  - ELO_ROZDIEL, HT_ELO_ROZDIEL, SHT_ELO_ROZDIEL: the rating difference (home side minus away
//    side) just before the match, adjusted by recent form and by earlier meetings of the pair;
//  - UNDER (fixtures only): the chance in percent that the match ends with at most two goals.
// The results browser runs it when it closes after a change to the active season.
//
// Per-team working data lives in fixed arrays: 30 teams in the rating passes, 25 in the goal
// pass, 50 replayed matches per team, 25 home and 25 away matches per team. The replay checks
// these limits before it writes anything; a competition beyond them is reported and left
// exactly as it was, never half-replayed or written outside the arrays.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/date.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"

namespace morvela {

inline constexpr int kRatingSlotCount = 30;     // teams in the rating passes
inline constexpr int kGoalSlotCount = 25;       // teams in the goal pass
inline constexpr int kMaxReplayedMatches = 50;  // per team and result mode
inline constexpr int kMaxVenueMatches = 25;     // per team at home, and away, in the goal pass

// What one replay did. When over_limits is set the database was not changed at all.
struct ReplayReport {
  // Rows of the season (played matches and fixtures, forfeits left out) whose three rating
  // differences were written.
  int rows_rated = 0;
  // Fixtures whose UNDER was written.
  int fixtures_with_under = 0;
  // Rows left alone because their home or away team is not listed for the competition in
  // SUTAZ_MUZSTVA (counted once per row, not per pass).
  int skipped_no_slot = 0;
  // The competition has more teams or matches than the working arrays hold.
  bool over_limits = false;
  // One line per exceeded limit in the program's language, naming the competition (and the
  // team) and the limit.
  std::vector<std::string> problems;
};

// The goal records of one competition's teams, from which the goal pass computes the under
// percentage of a match: per team the total goals of its matches overall, at home and away,
// and the season-start goal averages (PR, PR_HOME, PR_AWAY) that stand in for matches not yet
// played. The replay records every played match of the season and then rates the fixtures; a
// backtest records the matches day by day and rates each day's matches from the days before.
class SeasonGoals {
 public:
  // Drops every record and fills one slot per team of the competition (SUTAZ_MUZSTVA, in the
  // order of ID_MUZSTVO) with its averages, read through `q`. Returns false when the
  // competition lists more than kGoalSlotCount teams; the slots then hold the first ones.
  bool Load(Query& q, const std::string& competition);

  enum class Added { kRecorded, kNoSlot, kFull };
  // Records a played match with `goals` goals in all for both teams. Nothing is recorded when
  // a team has no slot (kNoSlot) or a team's record is full (kFull: kMaxReplayedMatches
  // overall, kMaxVenueMatches at home or away).
  Added AddMatch(int64_t home, int64_t away, int goals);

  // The chance in percent that a match of `home` against `away` ends with at most two goals:
  // UnderPercentage of the expected goals, which combine both teams' records (overall and at
  // the venue, all matches and the last four) with the goals of the pair's last four meetings
  // in either direction and of its last four with the same home side, looked up on `meetings`
  // in any season. With `before` set only meetings dated before that day count. nullopt when
  // a team has no slot.
  std::optional<int32_t> UnderPercent(Query& meetings, int64_t home, int64_t away,
                                      const std::optional<Date>& before = std::nullopt) const;

 private:
  // Total goals of a team's matches (all, home or away), most recent last, indexed from 1.
  template <typename T, size_t N>
  struct Series {
    uint16_t total = 0;
    uint8_t count = 0;
    std::array<T, N + 1> goals{};

    bool Full() const { return count >= N; }
    void Add(int g);
    double Mean(double average) const;
    double RecentMean(double average) const;
  };
  using VenueSeries = Series<uint8_t, kMaxVenueMatches>;

  struct Slot {
    int64_t team = 0;  // 0: empty slot
    Series<uint16_t, kMaxReplayedMatches> all;
    VenueSeries home;
    VenueSeries away;
    double average = 0;
    double average_home = 0;
    double average_away = 0;
  };

  static double ExpectedGoals(const Slot& s, const VenueSeries& venue, double venue_average);

  std::array<Slot, kGoalSlotCount> slots_{};
};

// Replays the season of `competition` (SUTAZ.ID as decimal text, pasted into SQL as it is) and
// rewrites its stored differences and under percentages, in this order: closes Work1 (the
// results list reads from it and must not show a cursor the replay reuses), shows the wait
// indicator without delay with message 159 + " ...", then the full-time rating pass, the goal
// pass, the first-half and the second-half rating pass, and hides the indicator again (also
// when a statement fails). Matches are walked on Work2, earlier meetings looked up on Work1,
// and every change goes through Command1.
//
// Rules of the replay beyond the statements it runs:
//  - Forfeits are left out: they change no rating, get no stored difference and count as no
//    earlier meeting.
//  - A row whose home or away team has no slot (not listed in SUTAZ_MUZSTVA for the
//    competition) is skipped by every pass: its stored difference and UNDER stay as they were,
//    no rating moves, and it adds nothing to the goal statistics of the other team.
//  - A row without a date finds no earlier meetings (none can be dated before it).
//  - Earlier meetings are the last four of the same pairing with the same home side, in any
//    season, dated strictly before the row.
//
// A failing statement throws DatabaseError and stops the replay; what was written stays.
ReplayReport ReplaySeason(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                          const std::string& competition);

}  // namespace morvela
