// The rating tables: "ELO", "ELO Home" and "ELO Away" of one competition. Each replays the
// competition's counted matches in date order from the season-start ratings stored with the
// competition, with the same rating changes and the same choice of matches as the season
// replay (forfeits left out, matches that do not count in the standings included), so the
// tables show the ratings that replay reaches after the last played match.
//
// The league tables window shows them; the computation is here, over plain slots, so that it
// can be tested and timed without the window.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/database.h"
#include "core/result_mode.h"

namespace morvela {

enum class RatingTable : uint8_t { kElo, kEloHome, kEloAway };

// Sets one team's season start in a rating view from the current row of `team_list` (its
// SUTAZ_MUZSTVA row) in the mode's columns `c`: "ELO" the overall rating in `value`; "ELO Home"
// the home rating in `value` and the away rating beside it in `rating_away`, which the team's
// away matches move; "ELO Away" the away rating in `value` and the home rating in
// `rating_home`. The slot's other members stay as they are.
template <typename Slot>
void SetSeasonStart(Slot& slot, RatingTable table, const Query& team_list, const ModeColumns& c) {
  const auto rating = [&](const char* column) {
    return static_cast<int32_t>(team_list.FieldByName(column).AsInteger());
  };
  switch (table) {
    case RatingTable::kElo:
      slot.value = rating(c.elo);
      break;
    case RatingTable::kEloHome:
      slot.value = rating(c.elo_home);
      slot.rating_away = rating(c.elo_away);
      break;
    case RatingTable::kEloAway:
      slot.value = rating(c.elo_away);
      slot.rating_home = rating(c.elo_home);
      break;
  }
}

// The matches every rating view replays, in date order: played in the result mode's goals,
// forfeits left out. Result mode 0-2.
std::string RatedMatchesStatement(const std::string& competition, ResultMode result_mode);

// One team while a rating view replays: the rating shown and the other venue's rating kept
// beside it.
struct RatingSlot {
  int64_t id = 0;  // MUZSTVA.ID
  int32_t value = 0;
  int32_t rating_home = 0;  // the visitor's home rating in "ELO Away"
  int32_t rating_away = 0;  // the visitor's away rating in "ELO Home"
};

// The slot holding team `id`; -1 when the team is not among the slots.
int FindRatingSlot(std::span<const RatingSlot> slots, int64_t id);

// Fills `slots` (their ids set, in any order) from the team list's season start and replays
// the competition's matches: "ELO" moves the overall rating in every match (scale 400), "ELO
// Home" a team's home rating in its home matches against the visitor's away rating and "ELO
// Away" its away rating in its away matches (scale 200). A team of the list or of a match
// without a slot changes nothing. `team_list` is the competition's SUTAZ_MUZSTVA rows; it is
// walked from its first row.
void ComputeRatingTable(RatingTable table, Query& team_list, Connection& conn,
                        const std::string& competition, ResultMode result_mode,
                        std::span<RatingSlot> slots);

}  // namespace morvela
