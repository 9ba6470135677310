#include "rating/rating_tables.h"

#include "predict/support_routines.h"

namespace morvela {

std::string RatedMatchesStatement(const std::string& competition, ResultMode result_mode) {
  const ModeColumns& c = ColumnsOf(result_mode);
  const std::string h = c.home_goal, a = c.away_goal;
  return "SELECT HOME,AWAY," + h + "," + a + "," + c.outcome +
         " FROM VYSLEDKY WHERE (ID_SUTAZ=" + competition + " AND " + h + " IS NOT NULL AND " + a +
         " IS NOT NULL AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC";
}

int FindRatingSlot(std::span<const RatingSlot> slots, int64_t id) {
  for (size_t i = 0; i < slots.size(); ++i)
    if (slots[i].id == id) return static_cast<int>(i);
  return -1;
}

void ComputeRatingTable(RatingTable table, Query& team_list, Connection& conn,
                        const std::string& competition, ResultMode result_mode,
                        std::span<RatingSlot> slots) {
  const ModeColumns& c = ColumnsOf(result_mode);
  for (team_list.First(); !team_list.Eof(); team_list.Next()) {
    const int s = FindRatingSlot(slots, team_list.FieldByName("ID_MUZSTVO").AsInteger());
    if (s >= 0) SetSeasonStart(slots[static_cast<size_t>(s)], table, team_list, c);
  }

  Query matches(conn);
  matches.Open(RatedMatchesStatement(competition, result_mode));
  for (; !matches.Eof(); matches.Next()) {
    const int hi = FindRatingSlot(slots, matches.FieldByName("HOME").AsInteger());
    const int ai = FindRatingSlot(slots, matches.FieldByName("AWAY").AsInteger());
    if (hi < 0 || ai < 0) continue;
    RatingSlot& h = slots[static_cast<size_t>(hi)];
    RatingSlot& a = slots[static_cast<size_t>(ai)];
    const auto p = static_cast<int32_t>(matches.FieldByName(c.home_goal).AsInteger());
    const auto q = static_cast<int32_t>(matches.FieldByName(c.away_goal).AsInteger());
    switch (table) {
      case RatingTable::kElo: {
        const int32_t d = RatingChange400(h.value, a.value, p, q);
        h.value += d;
        a.value -= d;
        break;
      }
      case RatingTable::kEloHome: {
        const int32_t d = RatingChange200(h.value, a.rating_away, p, q);
        h.value += d;
        a.rating_away -= d;
        break;
      }
      case RatingTable::kEloAway: {
        const int32_t d = RatingChange200(h.rating_home, a.value, p, q);
        h.rating_home += d;
        a.value -= d;
        break;
      }
    }
  }
}

}  // namespace morvela
