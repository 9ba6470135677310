#include "tables/league_tables.h"

#include <gtest/gtest.h>

#include "tables_test_support.h"

namespace morvela {
namespace {

using test::ColumnTexts;
using test::TablesDb;
using Texts = std::vector<std::string>;

TEST(StandingsTest, SortsByPointsGoalDifferenceGoalsThenByTheExchangeSort) {
  // Together: three winners on 3 points (goal differences 1, 2, 2 with 2 and 3 goals scored),
  // three losers on 0.
  TablesDb db(6);
  db.Match("2020-08-01", 1, 2, 2, 1);
  db.Match("2020-08-01", 3, 4, 3, 1);
  db.Match("2020-08-01", 5, 6, 2, 0);
  db.Context(3);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T3", "T5", "T1", "T2", "T4", "T6"}));
  EXPECT_EQ(ColumnTexts(t, 0), (Texts{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(
      (Texts{t.Cell(2, 1), t.Cell(3, 1), t.Cell(4, 1), t.Cell(5, 1), t.Cell(6, 1), t.Cell(7, 1)}),
      (Texts{"1", "1", "0", "0", "3 : 1", "3"}));
  EXPECT_EQ(t.RowTeam(1), db.Team(3));

  // Home standings: T1 and T2 level in every key with 1 point, T3 on 2 points. The exchange
  // sort swaps T1 with T3 first and leaves T2 above T1: rows level in every key do not keep
  // their id order.
  TablesDb level(4);
  level.Match("2020-08-01", 1, 4, 0, 0);
  level.Match("2020-08-02", 2, 4, 0, 0);
  level.Match("2020-08-03", 3, 4, 0, 0);
  level.Match("2020-08-04", 3, 4, 0, 0);
  level.Context(1);
  TForm2 home(level.program(), level.context());
  home.FormShow();
  EXPECT_EQ(ColumnTexts(home, 1), (Texts{"T3", "T2", "T1", "T4"}));
  EXPECT_EQ(ColumnTexts(home, 7), (Texts{"2", "1", "1", "0"}));
  // Every view starts again from ascending id, whatever was shown before.
  home.Button3Click();
  home.Button1Click();
  EXPECT_EQ(ColumnTexts(home, 1), (Texts{"T3", "T2", "T1", "T4"}));

  // No played match: all-zero rows in ascending id.
  TablesDb empty(3);
  empty.Context(3);
  TForm2 e(empty.program(), empty.context());
  e.FormShow();
  EXPECT_EQ(ColumnTexts(e, 1), (Texts{"T1", "T2", "T3"}));
  EXPECT_EQ(ColumnTexts(e, 6), (Texts{"0 : 0", "0 : 0", "0 : 0"}));
}

TEST(StandingsTest, HomeAndAwaySidesCountOnlyThatVenue) {
  TablesDb db(3);
  db.Match("2020-08-01", 1, 2, 0, 2);  // T2 wins away
  db.Match("2020-08-02", 2, 3, 1, 1);
  db.Match("2020-08-03", 3, 1, 2, 1);
  db.Context(3);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  t.Button2Click();  // Away: T2 won 0:2 at T1, T1 lost 1:2 at T3, T3 drew 1:1 at T2
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T2", "T3", "T1"}));
  EXPECT_EQ(ColumnTexts(t, 3), (Texts{"1", "0", "0"}));  // wins
  EXPECT_EQ(ColumnTexts(t, 6), (Texts{"2 : 0", "1 : 1", "1 : 2"}));
  EXPECT_EQ(ColumnTexts(t, 7), (Texts{"3", "1", "0"}));
  t.Button1Click();  // Home: T3 beat T1, T2 drew T3, T1 lost to T2
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T3", "T2", "T1"}));
  EXPECT_EQ(ColumnTexts(t, 5), (Texts{"0", "0", "1"}));  // losses
  EXPECT_EQ(t.HeaderLine(), "Home :: FULL TIME  ");
}

// One normal match, one forfeit, one match that does not count in the standings: which views
// count which, in which result modes.
TEST(TablesTest, ForfeitsAndUncountedMatchesPerView) {
  TablesDb db(2);
  db.Match("2020-08-01", 1, 2, 2, 0, false, false, 1, 0);
  db.Match("2020-08-02", 1, 2, 3, 0, /*forfeit=*/true, false, 0, 0);
  db.Match("2020-08-03", 2, 1, 1, 0, false, /*neratat=*/true, 1, 0);
  struct Case {
    const char* name;
    int mode;
    uint8_t kind;
    int button;  // 0: the opening view
    Texts names, values;
  };
  const Case cases[] = {
      // Full time: the forfeit counts, the uncounted match does not.
      {"standings ft", 0, 3, 0, {"T1", "T2"}, {"6", "0"}},
      // Halves leave the forfeit out as well.
      {"standings 1h", 1, 3, 0, {"T1", "T2"}, {"3", "0"}},
      // The rating views replay the uncounted match but not the forfeit: 2:0 gives +20, then
      // T2 at 1480 beats T1 at 1520 1:0 and gains 17.
      {"elo ft", 0, 3, 4, {"T1", "T2"}, {"1503", "1497"}},
      {"form ft", 0, 9, 0, {"T1", "T2"}, {"+3", "-3"}},
      // First halves: 1:0 gives 16, then T2 at 1484 beats T1 at 1516 1:0 and gains 17.
      {"elo 1h", 1, 3, 4, {"T2", "T1"}, {"1501", "1499"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    db.program().selection.result_mode = test::ModeOf(c.mode);
    db.Context(c.kind);
    TForm2 t(db.program(), db.context());
    t.FormShow();
    if (c.button == 4) t.Button4Click();
    EXPECT_EQ(ColumnTexts(t, 1), c.names);
    EXPECT_EQ(ColumnTexts(t, 2 + (c.kind == 3 && c.button == 0 ? 5 : 0)), c.values);
  }
  // Played matches in the standings.
  db.program().selection.result_mode = test::ModeOf(0);
  db.Context(3);
  TForm2 ft(db.program(), db.context());
  ft.FormShow();
  EXPECT_EQ(ColumnTexts(ft, 2), (Texts{"2", "2"}));
  // The goal table counts the uncounted match (1 goal) and the normal one (2), not the forfeit.
  db.program().selection.result_mode = test::ModeOf(3);
  db.Context(12);
  TForm2 goals(db.program(), db.context());
  goals.FormShow();
  EXPECT_EQ(goals.Cell(11, 1), "2");
  EXPECT_EQ(goals.Cell(12, 1), "3");
  EXPECT_EQ(goals.Cell(2, 1), "100 %");
  EXPECT_EQ(goals.Cell(3, 1), "0 %");
}

TEST(DrawingTest, ZoneColoursOfAnEighteenTeamLeague) {
  TablesDb db(18);
  db.Zones(4, 6, 16, 17);
  db.Context(3);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  ASSERT_EQ(t.RowCount(), 19);
  for (int place = 1; place <= 18; ++place) {
    SCOPED_TRACE(place);
    TableColour expected = place % 2 ? kOddRow : kEvenRow;
    if (place <= 4) expected = kTopZone;
    if (place == 5 || place == 6) expected = kSecondZone;
    if (place == 16) expected = kPlayOffZone;
    if (place >= 17) expected = kRelegationZone;
    EXPECT_EQ(t.Style(0, place).background, expected);
    EXPECT_EQ(t.Style(1, place).background, place % 2 ? kOddRow : kEvenRow);
    EXPECT_EQ(t.Style(2, place).background, std::nullopt);
    EXPECT_EQ(t.Style(0, place).align, TableAlign::kRight);
    EXPECT_EQ(t.Style(1, place).align, TableAlign::kLeft);
    EXPECT_EQ(t.Style(5, place).align, TableAlign::kCenter);
    EXPECT_FALSE(t.Style(3, place).bold);
  }
  const CellStyle header = t.Style(3, 0);
  EXPECT_EQ(header.background, kHeaderBackground);
  EXPECT_EQ(header.text, kHeaderText);
  EXPECT_TRUE(header.bold);
  EXPECT_EQ(header.points, 9);

  // No zones on the other sides, in the rating views, in a half, or in the form table.
  auto zones_anywhere = [](const TForm2& f) {
    for (int r = 1; r < f.RowCount(); ++r)
      if (f.RowZone(r) != Zone::kNone) return true;
    return false;
  };
  t.Button1Click();
  EXPECT_FALSE(zones_anywhere(t));
  t.Button3Click();
  EXPECT_TRUE(zones_anywhere(t));
  t.Button4Click();
  EXPECT_FALSE(zones_anywhere(t));
  db.program().selection.result_mode = test::ModeOf(1);
  TForm2 half(db.program(), db.context());
  half.FormShow();
  EXPECT_FALSE(zones_anywhere(half));
  db.program().selection.result_mode = test::ModeOf(0);
  db.Context(9);
  TForm2 form(db.program(), db.context());
  form.FormShow();
  EXPECT_FALSE(zones_anywhere(form));

  // A limit of 0 switches its zone off; the rules apply in order.
  EXPECT_EQ(ZoneOfPlace(1, {0, 0, 0, 0}), Zone::kNone);
  EXPECT_EQ(ZoneOfPlace(2, {0, 3, 0, 0}), Zone::kSecond);
  EXPECT_EQ(ZoneOfPlace(10, {4, 6, 10, 10}), Zone::kRelegation);
}

TEST(TableKindTest, MatchWindowKindsFollowTheSideAndHighlightTheMatch) {
  TablesDb db(6);
  db.Context(1, /*home=*/2, /*away=*/5);
  TForm2 t(db.program(), db.context());
  auto highlighted = [&t, &db] {
    std::vector<int> teams;
    for (int r = 1; r < t.RowCount(); ++r) {
      if (t.RowHighlighted(r)) {
        for (int i = 1; i <= 6; ++i)
          if (db.Team(i) == t.RowTeam(r)) teams.push_back(i);
        EXPECT_EQ(t.Style(1, r).background, kMatchTeam);
        EXPECT_NE(t.Style(0, r).background, kMatchTeam);
      }
    }
    return teams;
  };
  struct Step {
    const char* press;
    uint8_t kind;
    std::vector<int> teams;
  };
  const Step steps[] = {
      {"open", 1, {2}},   {"Away", 2, {5}},     {"Together", 2, {2, 5}}, {"ELO Home", 1, {2}},
      {"ELO", 1, {2, 5}}, {"ELO Away", 2, {5}}, {"Home", 1, {2}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.press);
    const std::string p = s.press;
    if (p == "open") t.FormShow();
    if (p == "Home") t.Button1Click();
    if (p == "Away") t.Button2Click();
    if (p == "Together") t.Button3Click();
    if (p == "ELO") t.Button4Click();
    if (p == "ELO Home") t.Button5Click();
    if (p == "ELO Away") t.Button6Click();
    EXPECT_EQ(KindNumber(t.Kind()), s.kind);
    EXPECT_EQ(highlighted(), s.teams);
  }

  // Goals opened from a match window: 10 <-> 11, both teams in Together.
  db.program().selection.result_mode = test::ModeOf(3);
  db.Context(11, 2, 5);
  TForm2 g(db.program(), db.context());
  g.FormShow();
  EXPECT_EQ(g.Kind(), TableKind::kGoalsAway);
  g.Button1Click();
  EXPECT_EQ(g.Kind(), TableKind::kGoalsHome);
  g.Button3Click();
  EXPECT_TRUE(g.BothTeams());
  int both = 0;
  for (int r = 1; r < g.RowCount(); ++r) both += g.RowHighlighted(r);
  EXPECT_EQ(both, 2);

  // The main window's kinds never change and never highlight, even with a match context.
  db.program().selection.result_mode = test::ModeOf(0);
  for (uint8_t kind : {uint8_t{3}, uint8_t{9}}) {
    db.Context(kind, 2, 5);
    TForm2 m(db.program(), db.context());
    m.FormShow();
    m.Button1Click();
    m.Button2Click();
    if (kind == 3) m.Button5Click();
    EXPECT_EQ(KindNumber(m.Kind()), kind);
    for (int r = 1; r < m.RowCount(); ++r) EXPECT_FALSE(m.RowHighlighted(r));
  }
}

TEST(WindowTest, OpeningTextsAndLayoutsByKind) {
  TablesDb db(2);
  struct Case {
    int mode;
    uint8_t kind;
    const char* caption;
    bool rating_buttons, form_list;
    Texts headers;
    const char* header_line;
  };
  const Case cases[] = {
      {0,
       3,
       "  Tables :: FULL TIME",
       true,
       false,
       {"", "TEAM", "MATCHES", "WINS", "DRAWS", "LOSSES", "SCORE", "POINTS"},
       "Together :: FULL TIME  "},
      {1,
       1,
       "  Tables :: 1st HALF",
       true,
       false,
       {"", "TEAM", "MATCHES", "WINS", "DRAWS", "LOSSES", "SCORE", "POINTS"},
       "Home :: 1st HALF  "},
      {2, 9, "  Form :: 2nd HALF", false, true, {"", "TEAM", "FORM"}, "Together :: 2nd HALF  "},
      {3,
       12,
       "  UNDER / OVER",
       false,
       false,
       {"", "TEAM", "<2,5", ">2,5", "0", "1", "2", "3", "4", "5", "6>", "MATCHES", "GOALS"},
       "Together :: UNDER / OVER  "},
      {3,
       15,
       "  Form :: UNDER / OVER",
       false,
       true,
       {"", "TEAM", "<2,5", ">2,5", "AVERAGE", "MATCHES", "GOALS"},
       "Together :: UNDER / OVER  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    db.program().selection.result_mode = test::ModeOf(c.mode);
    db.Context(c.kind);
    TForm2 t(db.program(), db.context());
    t.FormShow();
    EXPECT_EQ(t.Caption(), c.caption);
    EXPECT_EQ(t.RatingButtonsVisible(), c.rating_buttons);
    EXPECT_EQ(t.FormListVisible(), c.form_list);
    Texts headers;
    for (int col = 0; col < t.ColumnCount(); ++col) headers.push_back(t.Cell(col, 0));
    EXPECT_EQ(headers, c.headers);
    EXPECT_EQ(t.HeaderLine(), c.header_line);
    EXPECT_EQ(t.RowCount(), 3);
  }
  db.program().selection.result_mode = test::ModeOf(0);
  db.Context(9);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  EXPECT_EQ(t.FormListItems()[2], "Last 4 matches");
  EXPECT_EQ(t.FormWindow(), 4);
  t.Button4Click();
  EXPECT_EQ(t.HeaderLine(), "ELO :: FULL TIME  ");
  EXPECT_EQ(t.Columns()[2].title, "POINTS");
  EXPECT_EQ(t.Columns()[1].width, 200);
}

TEST(FormTableTest, ChangeOverTheLastMatchesOfTheWindow) {
  // T1 plays six matches against fresh opponents rated 1500: 2:0, 0:0, 1:0, 0:0, 0:0, 0:2.
  // Its overall rating after each: 1520, 1520, 1535, 1534, 1533, 1512.
  TablesDb db(7);
  const int scores[6][2] = {{2, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 2}};
  for (int m = 0; m < 6; ++m)
    db.Match("2020-08-0" + std::to_string(m + 1), 1, m + 2, scores[m][0], scores[m][1]);
  db.AddTeam("Idle");
  db.program().selection.team_count = 8;
  db.Context(9);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  struct Case {
    int window;
    const char* t1;
  };
  // k = 4: after match 6 minus after match 2.
  for (const Case& c : {Case{2, "-22"}, Case{3, "-23"}, Case{4, "-8"}, Case{5, "-8"}}) {
    SCOPED_TRACE(c.window);
    t.SelectFormWindow(c.window - 2);
    t.Button3Click();
    int row = 0;
    for (int r = 1; r < t.RowCount(); ++r)
      if (t.RowTeam(r) == db.Team(1)) row = r;
    ASSERT_GT(row, 0);
    EXPECT_EQ(t.Cell(2, row), c.t1);
  }
  // A team with no counted match shows "+0"; one match: its change since the season start.
  t.SelectFormWindow(2);
  t.Button3Click();
  const Texts values = ColumnTexts(t, 2);
  const Texts names = ColumnTexts(t, 1);
  for (size_t r = 0; r < names.size(); ++r) {
    if (names[r] == "Idle") {
      EXPECT_EQ(values[r], "+0");
    } else if (names[r] == "T2") {
      EXPECT_EQ(values[r], "-20");
    } else if (names[r] == "T7") {
      EXPECT_EQ(values[r], "+21");
    }
  }
  // Home form: T1's home rating moves in its home matches only; the visitors' away ratings
  // are not shown. Away form: T1 never played away.
  auto t1_matches = [&t, &db] {
    for (const tables::Tmuzstva& m : t.Teams())
      if (m.id == db.Team(1)) return m.history_count;
    return -1;
  };
  t.Button1Click();
  EXPECT_EQ(t1_matches(), 6);
  t.Button2Click();
  EXPECT_EQ(t1_matches(), 0);
}

TEST(GoalTablesTest, BucketsPercentagesAndEmptyRows) {
  // T1 plays eight home matches, three of them with 3 or more goals: 3:3, 2:4, 3:0, then five
  // with at most two (1:1, 0:0, 1:0, 2:0, 0:1). T3 plays nothing.
  TablesDb db(3);
  db.program().selection.result_mode = test::ModeOf(3);
  const int scores[8][2] = {{3, 3}, {2, 4}, {3, 0}, {1, 1}, {0, 0}, {1, 0}, {2, 0}, {0, 1}};
  for (int m = 0; m < 8; ++m)
    db.Match("2020-08-0" + std::to_string(m + 1), 1, 2, scores[m][0], scores[m][1]);
  db.Context(12);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T1", "T2", "T3"}));
  // 3 of 8 is 37.5 %: 38 over, 62 under.
  EXPECT_EQ((Texts{t.Cell(2, 1), t.Cell(3, 1)}), (Texts{"62 %", "38 %"}));
  // Buckets 0..6>: 0:0 | 1:0, 0:1 | 1:1, 2:0 | 3:0 | - | - | 3:3, 2:4.
  Texts buckets;
  for (int c = 4; c <= 10; ++c) buckets.push_back(t.Cell(c, 1));
  EXPECT_EQ(buckets, (Texts{"1", "2", "2", "1", "0", "0", "2"}));
  EXPECT_EQ((Texts{t.Cell(11, 1), t.Cell(12, 1)}), (Texts{"8", "21"}));
  EXPECT_EQ((Texts{t.Cell(2, 3), t.Cell(3, 3), t.Cell(4, 3), t.Cell(11, 3)}),
            (Texts{"-", "-", "0", "0"}));
  // Home side: T2 never played at home.
  t.Button1Click();
  EXPECT_EQ(ColumnTexts(t, 3), (Texts{"38 %", "-", "-"}));

  // One of eight over is 12.5 %: 12.
  TablesDb low(2);
  low.program().selection.result_mode = test::ModeOf(3);
  for (int m = 0; m < 8; ++m)
    low.Match("2020-08-0" + std::to_string(m + 1), 1, 2, m == 0 ? 3 : 0, 0);
  low.Context(12);
  TForm2 l(low.program(), low.context());
  l.FormShow();
  EXPECT_EQ(l.Cell(3, 1), "12 %");
  EXPECT_EQ(l.Cell(2, 1), "88 %");

  // Goal form with k = 3 (the latest 3: 0:1, 2:0, 1:0 -> 4 goals, none over).
  db.Context(15);
  TForm2 f(db.program(), db.context());
  f.FormShow();
  f.SelectFormWindow(1);
  f.Button1Click();
  EXPECT_EQ(ColumnTexts(f, 1), (Texts{"T1", "T2", "T3"}));
  EXPECT_EQ((Texts{f.Cell(2, 1), f.Cell(3, 1), f.Cell(4, 1), f.Cell(5, 1), f.Cell(6, 1)}),
            (Texts{"100 %", "0 %", "1,33", "3", "4"}));
  EXPECT_EQ((Texts{f.Cell(2, 2), f.Cell(3, 2), f.Cell(4, 2), f.Cell(5, 2), f.Cell(6, 2)}),
            (Texts{"-", "-", "-", "0", "0"}));
  EXPECT_EQ(f.GoalRows()[2].buckets, (std::array<int, 7>{}));
}

TEST(GoalTablesTest, GoalFormWithFewMatchesAndTiesOnTheLastDate) {
  TablesDb db(4);
  db.program().selection.result_mode = test::ModeOf(3);
  db.Match("2020-08-01", 1, 2, 5, 0);  // T1's oldest match: never among the last two
  db.Match("2020-08-08", 1, 3, 1, 1);  // two matches of T1 on the same day
  db.Match("2020-08-08", 4, 1, 2, 2);
  db.Match("2020-08-15", 1, 4, 3, 1);
  db.Match("2020-08-15", 2, 3, 1, 0);
  db.Context(15);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  t.SelectFormWindow(1);  // k = 3
  t.Button3Click();
  for (const tables::TGoly& g : t.GoalRows()) {
    if (g.id == db.Team(2)) {
      // Two matches only: both count.
      EXPECT_EQ(g.played, 2);
      EXPECT_EQ(g.goals, 6);
      EXPECT_EQ(g.over_percent, 50);
    }
  }
  t.SelectFormWindow(0);  // k = 2: the second-latest date holds two of T1's matches
  t.Button3Click();
  for (const tables::TGoly& g : t.GoalRows()) {
    if (g.id != db.Team(1)) continue;
    ASSERT_TRUE(g.played == 2 || g.played == 3) << g.played;
    if (g.played == 2) {
      EXPECT_TRUE(g.goals == 4 + 2 || g.goals == 4 + 4) << g.goals;
      EXPECT_EQ(g.over_percent, g.goals == 8 ? 100 : 50);
    } else {
      EXPECT_EQ(g.goals, 10);
      EXPECT_EQ(g.over_percent, 67);
    }
  }
}

TEST(SoundnessTest, TeamListsThatDoNotFitAndLongHistories) {
  // POCET says 4, the list has 3: three rows, told once however often the user switches.
  TablesDb short_list(3, /*pocet=*/4);
  short_list.Match("2020-08-01", 1, 2, 1, 0);
  short_list.Context(3);
  TForm2 s(short_list.program(), short_list.context());
  s.FormShow();
  s.Button1Click();
  s.Button4Click();
  EXPECT_EQ(s.RowCount(), 4);
  EXPECT_EQ(s.Notices().size(), 1u);
  EXPECT_EQ(short_list.ui.messages.size(), 1u);

  // 27 teams listed: the first 25 (by id) are shown.
  TablesDb long_list(27);
  long_list.Match("2020-08-01", 26, 1, 4, 0);
  long_list.Context(3);
  TForm2 l(long_list.program(), long_list.context());
  l.FormShow();
  EXPECT_EQ(l.RowCount(), 26);
  EXPECT_EQ(l.TeamCount(), 25);
  ASSERT_EQ(l.Notices().size(), 1u);
  EXPECT_NE(l.Notices()[0].find("27"), std::string::npos);
  // T1's side of that match counts; the 26th team's side is nowhere.
  EXPECT_EQ(ColumnTexts(l, 7), Texts(25, "0"));
  EXPECT_EQ(l.Cell(6, 25), "0 : 4");
  l.Button3Click();
  long_list.program().selection.result_mode = test::ModeOf(3);
  long_list.Context(12);
  TForm2 lg(long_list.program(), long_list.context());
  lg.FormShow();
  EXPECT_EQ(lg.RowCount(), 26);
  // The goal table leaves out a match with a team outside the table, also for T1's row.
  EXPECT_EQ(ColumnTexts(lg, 11), Texts(25, "0"));

  // 55 counted matches of T1 and T2: the form follows 50 and says so once.
  TablesDb busy(2);
  for (int m = 0; m < 55; ++m)
    busy.Match("2020-" + std::string(m < 31 ? "08-" : "09-") + (m % 31 + 1 < 10 ? "0" : "") +
                   std::to_string(m % 31 + 1),
               m % 2 ? 1 : 2, m % 2 ? 2 : 1, m % 3, 0);
  busy.Context(9);
  TForm2 b(busy.program(), busy.context());
  b.FormShow();
  b.Button1Click();
  b.Button3Click();
  for (const tables::Tmuzstva& m : b.Teams()) EXPECT_EQ(m.history_count, 50);
  ASSERT_EQ(b.Notices().size(), 1u);
  EXPECT_NE(b.Notices()[0].find("50"), std::string::npos);
}

TEST(SortTest, GoalRowsByOverPercentageThenGoals) {
  // Together: T1 3 over in 4 (75 %), T2 3 in 4 too with more goals, T3 1 in 2 (50 %).
  TablesDb db(4);
  db.program().selection.result_mode = test::ModeOf(3);
  db.Match("2020-08-01", 1, 4, 2, 1);
  db.Match("2020-08-02", 1, 4, 2, 1);
  db.Match("2020-08-03", 1, 4, 2, 1);
  db.Match("2020-08-04", 1, 4, 0, 0);
  db.Match("2020-08-05", 2, 4, 3, 3);
  db.Match("2020-08-06", 2, 4, 2, 2);
  db.Match("2020-08-07", 2, 4, 5, 0);
  db.Match("2020-08-08", 2, 4, 1, 0);
  db.Match("2020-08-09", 3, 4, 4, 0);
  db.Match("2020-08-10", 3, 4, 0, 0);
  db.Context(12);
  TForm2 t(db.program(), db.context());
  t.FormShow();
  t.Button1Click();
  EXPECT_EQ(ColumnTexts(t, 1), (Texts{"T2", "T1", "T3", "T4"}));
  EXPECT_EQ(ColumnTexts(t, 3), (Texts{"75 %", "75 %", "50 %", "-"}));
}

}  // namespace
}  // namespace morvela
