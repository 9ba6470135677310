#include "rating/rating_tables.h"

#include <gtest/gtest.h>

#include "tables/tables_test_support.h"

namespace morvela {
namespace {

using test::ColumnTexts;
using test::TablesDb;
using Texts = std::vector<std::string>;

// The three rating tables as the league tables window shows them.
TEST(RatingTablesTest, StartRatingsAndVenueRatings) {
  test::SeasonStart strong;
  strong.elo = 1600;
  strong.elo_home = 1650;
  strong.elo_away = 1550;
  TablesDb db(3);
  const int fourth = db.AddTeam("T4", strong);
  db.program().selection.team_count = 4;
  db.Context(3);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  // Before the first match: the season-start ratings, descending; the exchange sort moves T1
  // to the end of the level ones when it swaps T4 to the top.
  t.Button4Click();
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T4", "T2", "T3", "T1"}));
  EXPECT_EQ(ColumnTexts(t, 2), (Texts{"1600", "1500", "1500", "1500"}));
  t.Button5Click();
  EXPECT_EQ(ColumnTexts(t, 2), (Texts{"1650", "1500", "1500", "1500"}));
  t.Button6Click();
  EXPECT_EQ(ColumnTexts(t, 2), (Texts{"1550", "1500", "1500", "1500"}));
  EXPECT_EQ(t.RowTeam(1), fourth);

  // A 3:1 home win of T2 over T3 at equal ratings: +20 / -20 overall; at home T2 gains 20,
  // away T3 loses 20; a forfeit moves nothing.
  db.Match("2020-08-01", 2, 3, 3, 1);
  db.Match("2020-08-02", 1, 2, 5, 0, /*forfeit=*/true);
  TForm2 r(db.program(), db.context());
  r.FormShow();
  r.Button4Click();
  EXPECT_EQ(ColumnTexts(r, 1), (Texts{"T4", "T2", "T1", "T3"}));
  EXPECT_EQ(ColumnTexts(r, 2), (Texts{"1600", "1520", "1500", "1480"}));
  r.Button5Click();
  EXPECT_EQ(ColumnTexts(r, 1), (Texts{"T4", "T2", "T3", "T1"}));
  EXPECT_EQ(ColumnTexts(r, 2), (Texts{"1650", "1520", "1500", "1500"}));
  r.Button6Click();
  EXPECT_EQ(ColumnTexts(r, 1), (Texts{"T4", "T2", "T1", "T3"}));
  EXPECT_EQ(ColumnTexts(r, 2), (Texts{"1550", "1500", "1500", "1480"}));
}

// The replay itself over plain slots: the first half's columns, a team without a slot, the
// visitor's venue ratings kept beside the shown one.
TEST(RatingTablesTest, ReplayOverSlots) {
  test::SeasonStart start;
  start.ht_elo = 1400;
  start.ht_elo_home = 1450;
  start.ht_elo_away = 1350;
  TablesDb db(3, -1, start);
  db.Match("2020-08-01", 1, 2, 3, 0, false, false, /*ht=*/2, 0);  // first half 2:0
  db.Match("2020-08-02", 3, 1, 4, 0, false, false, 0, 0);         // no slot for T3 below
  db.Match("2020-08-03", 2, 1, 1, 1, false, /*neratat=*/true, 1, 0);
  Query list(db.db().conn());
  list.Open("SELECT * FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" + std::to_string(db.competition()));
  const std::string comp = std::to_string(db.competition());
  struct Case {
    RatingTable table;
    RatingSlot t1, t2;
  };
  // Overall: 2:0 at equal ratings +20; then T2 (1380) beats T1 (1420) 1:0 in the first half
  // of a match that does not count in the standings: +17.
  // Home: T1 1450 vs T2's away 1350, 2:0: E = 1 / (10^(-100/200) + 1) = 0.7597, +9; T2 at
  // home 1450 vs T1's away 1350 1:0: +7.
  // Away: T2's away rating 1350 against T1's home 1450 loses 9; then T1 away 1350 loses 7.
  const Case cases[] = {
      {RatingTable::kElo, {0, 1403, 0, 0}, {0, 1397, 0, 0}},
      {RatingTable::kEloHome, {0, 1459, 0, 1343}, {0, 1457, 0, 1341}},
      {RatingTable::kEloAway, {0, 1343, 1459, 0}, {0, 1341, 1457, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.table));
    std::vector<RatingSlot> slots = {{db.Team(2), 0, 0, 0}, {db.Team(1), 0, 0, 0}};
    ComputeRatingTable(c.table, list, db.db().conn(), comp, ResultMode::kFirstHalf, slots);
    EXPECT_EQ(slots[1].value, c.t1.value);
    EXPECT_EQ(slots[0].value, c.t2.value);
    if (c.table == RatingTable::kEloHome) {
      EXPECT_EQ(slots[1].rating_away, c.t1.rating_away);
      EXPECT_EQ(slots[0].rating_away, c.t2.rating_away);
    }
    if (c.table == RatingTable::kEloAway) {
      EXPECT_EQ(slots[1].rating_home, c.t1.rating_home);
      EXPECT_EQ(slots[0].rating_home, c.t2.rating_home);
    }
  }
  EXPECT_EQ(FindRatingSlot({}, 5), -1);
}

}  // namespace
}  // namespace morvela
