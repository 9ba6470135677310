#include "tips/tip_runs.h"

#include <gtest/gtest.h>

#include "tips/tips_list.h"
#include "tips/value_tips.h"
#include "tips_test_support.h"

namespace morvela {
namespace {

using test::History;
using test::RecordingView;
using test::StoredTip;
using test::StoredTips;
using test::TipsDb;

std::vector<std::string> StoredDates(Connection& conn) {
  Query q(conn);
  q.Open("SELECT DATUM FROM TIPY ORDER BY DATUM");
  std::vector<std::string> out;
  for (; !q.Eof(); q.Next()) out.push_back(FormatIsoDate(*q.FieldByName("DATUM").AsDate()));
  return out;
}

TEST(TipRunsTest, WeekRunCoversTheDaysUpToTheComingMonday) {
  struct Case {
    std::string today;
    std::vector<std::string> dates;
  };
  const Case cases[] = {
      {"2010-06-07", {"2010-06-07"}},                              // Monday: Monday only
      {"2010-06-06", {"2010-06-06", "2010-06-07"}},                // Sunday: Sunday and Monday
      {"2010-06-05", {"2010-06-05", "2010-06-06", "2010-06-07"}},  // Saturday
      {"2010-06-08",
       {"2010-06-08", "2010-06-09", "2010-06-10", "2010-06-11", "2010-06-12", "2010-06-13",
        "2010-06-14"}},  // Tuesday: six days ahead
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.today);
    TipsDb t(c.today);
    // One fixture a day from 3 June to 16 June; no history, so every search gives "  1" 100.
    for (int day = 3; day <= 16; ++day) {
      char date[16];
      std::snprintf(date, sizeof date, "2010-06-%02d", day);
      t.Fixture(1 + day % 3, date, 2000 + 1000 * day, {});
    }
    RecordingView view;
    EXPECT_TRUE(RunWeekTips(t.program(), view));
    EXPECT_EQ(StoredDates(t.db().conn()), c.dates);
    EXPECT_EQ(view.shown, 1);
    EXPECT_EQ(view.kind_at_show, TipRun::kWeek);
    EXPECT_EQ(t.wait.Shows(), 1);
    EXPECT_EQ(t.wait.Depth(), 0);  // hidden before the list shows
    EXPECT_EQ(t.wait.LastMessage(), "Please wait ...");
  }
}

TEST(TipRunsTest, LeagueRunCoversTheLoadedCompetitionForDniDays) {
  TipsDb t("2010-06-05");
  const int in_today = t.Fixture(4, "2010-06-05", 2000, {});
  const int in_last = t.Fixture(4, "2010-06-26", 3000, {});
  t.Fixture(4, "2010-06-27", 4000, {});  // one day beyond Dni
  t.Fixture(4, "2010-06-04", 5000, {});  // yesterday's unplayed fixture
  t.Fixture(6, "2010-06-05", 6000, {});  // another league
  Program& p = t.program();
  p.settings.Dni = 21;
  p.selection.league = "4";
  p.selection.competition = std::to_string(t.Competition(4));
  RecordingView view;
  EXPECT_TRUE(RunLeagueTips(p, view));
  std::vector<int64_t> ids;
  for (const StoredTip& s : StoredTips(t.db().conn())) ids.push_back(s.id);
  EXPECT_EQ(ids, (std::vector<int64_t>{in_today, in_last}));
  EXPECT_EQ(p.tip_run.TipRunKind, TipRun::kLeague);
}

TEST(TipRunsTest, NoFixtureShowsTheRunWarningAndKeepsTheTips) {
  struct Case {
    const char* name;
    bool (*run)(Program&, TipsListView&);
    std::string warning;
  };
  const Case cases[] = {
      {"today", RunTodayTips, "No matches are played today!"},
      {"week", RunWeekTips, "No matches are played this week !"},
      {"league", RunLeagueTips, "No matches are played in chosen league !"},
      {"value", RunValueTips, "No matches are played or are not available odds !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TipsDb t("2010-06-05");
    // Only a fixture next month (outside every period but the value run's) without odds, and
    // one played match today.
    t.Fixture(4, "2010-07-20", 2000, {});
    test::MatchSpec played{.competition = t.Competition(4),
                           .date = "2010-06-05",
                           .home = 1,
                           .away = 2,
                           .home_goals = 1,
                           .away_goals = 0};
    t.db().AddMatch(played);
    Program& p = t.program();
    p.selection.league = "4";
    p.selection.competition = std::to_string(t.Competition(4));
    p.tip_run.TipRunKind = TipRun::kWeek;
    InsertTipRow(p.dm, ResultMode::kFullTime,
                 {.id = 99, .league = 1, .date_text = "01.06.2010", .tip = "  1"});
    RecordingView view;
    EXPECT_FALSE(c.run(p, view));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, MessageKind::kWarning);
    EXPECT_EQ(t.ui.messages[0].text, c.warning);
    EXPECT_EQ(view.shown, 0);
    EXPECT_EQ(t.wait.Shows(), 0);
    EXPECT_EQ(p.tip_run.TipRunKind, TipRun::kWeek);
    ASSERT_EQ(StoredTips(t.db().conn()).size(), 1u);
    EXPECT_EQ(StoredTips(t.db().conn())[0].id, 99);
  }
}

TEST(TipRunsTest, TodayRunKeepsTheRisingBestSingleAndDoubleTips) {
  struct Case {
    const char* name;
    std::vector<History> fixtures;    // in fixture order
    std::vector<std::string> stored;  // TIP + " " + PERC of the stored rows, in fixture order
    int best;
    int listed;
  };
  const Case cases[] = {
      {"70 60 80", {test::k70Home, test::k60Home, test::k80Home}, {"  1 70", "  1 80"}, 80, 1},
      {"a later 80 is listed too",
       {test::k70Home, test::k60Home, test::k80Home, test::k80Home},
       {"  1 70", "  1 80", "  1 80"},
       80,
       2},
      {"three-way tips never",
       {test::kThreeWay, test::k70Home, test::kThreeWay},
       {"  1 70"},
       70,
       1},
      {"double chance counts", {test::k80Home, test::k90HomeDraw}, {"  1 80", " 10 90"}, 90, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TipsDb t("2010-06-05");
    int diff = 2000;
    for (const History& h : c.fixtures) {
      t.Fixture(1 + diff / 1000 % 5, "2010-06-05", diff, h);
      diff += 1000;
    }
    t.Fixture(1, "2010-06-06", 90000, {});  // tomorrow: not today's
    Program& p = t.program();
    p.settings.Tip3 = true;
    p.tip_run.BestTipPercent = 99;  // left from an earlier run
    RecordingView view;
    ASSERT_TRUE(RunTodayTips(p, view));
    std::vector<std::string> stored;
    for (const StoredTip& s : StoredTips(t.db().conn())) stored.push_back(s.tip + " " + s.perc);
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(p.tip_run.BestTipPercent, c.best);
    EXPECT_EQ(p.tip_run.TipRunKind, TipRun::kToday);
    TipsList list(p);
    list.Show();
    EXPECT_EQ(list.RowCount(), c.listed);
    for (int r = 0; r < list.RowCount(); ++r) EXPECT_EQ(list.Value(r, "PERC").AsInteger(), c.best);
  }
}

TEST(TipRunsTest, WeekRunStoresThreeWayTipsOnlyWith3tip) {
  for (bool tip3 : {true, false}) {
    SCOPED_TRACE(tip3);
    TipsDb t("2010-06-05");
    t.Fixture(1, "2010-06-05", 2000, test::k70Home);
    t.Fixture(2, "2010-06-06", 3000, test::kThreeWay);
    t.Fixture(3, "2010-06-07", 4000, test::k90HomeDraw);
    t.program().settings.Tip3 = tip3;
    RecordingView view;
    ASSERT_TRUE(RunWeekTips(t.program(), view));
    std::vector<std::string> tips;
    for (const StoredTip& s : StoredTips(t.db().conn())) tips.push_back(s.tip);
    const std::vector<std::string> expected = tip3 ? std::vector<std::string>{"  1", "102", " 10"}
                                                   : std::vector<std::string>{"  1", " 10"};
    EXPECT_EQ(tips, expected);
  }
}

TEST(TipRunsTest, StoredOddsAndProfitFollowTheTipAndMode) {
  // Every odds column of the fixture's KURZY row holds a distinct value, so the stored KURZ
  // tells which column was taken.
  const std::map<std::string, std::string> all_columns = {
      {"KURZ1", "1.85"},   {"KURZX", "3.1"},     {"KURZ2", "4.2"},     {"KURZ1X", "1.25"},
      {"KURZX2", "2.3"},   {"KURZ12", "1.4"},    {"HT_KURZ1", "2.5"},  {"HT_KURZX", "2.1"},
      {"HT_KURZ2", "5.5"}, {"HT_KURZ1X", "1.3"}, {"HT_KURZX2", "1.9"}, {"HT_KURZ12", "1.7"},
      {"UNDER", "1.9"},    {"OVER", "2.05"},
  };
  struct Case {
    const char* name;
    int mode;
    History history;
    std::optional<int> under;
    std::map<std::string, std::string> odds;  // empty: no KURZY row
    StoredTip expected;                       // id is filled in
  };
  const Case cases[] = {
      {"text 1,85 at 60 %",
       0,
       test::k60Home,
       {},
       all_columns,
       {0, "  1", "60", "20", "20", "60", "1,85", 6}},
      {"01 takes KURZ1X",
       0,
       test::k80DrawHome,
       {},
       all_columns,
       {0, " 01", "30", "50", "20", "80", "1,25", 0}},
      {"10 takes KURZ1X",
       0,
       test::k90HomeDraw,
       {},
       all_columns,
       {0, " 10", "50", "40", "10", "90", "1,25", 10}},
      {"three-way has no odds",
       0,
       test::kThreeWay,
       {},
       all_columns,
       {0, "102", "40", "30", "30", "100", "0", 0}},
      {"first half takes HT_",
       1,
       test::k60Home,
       {},
       all_columns,
       {0, "  1", "60", "20", "20", "60", "2,5", 20}},
      {"no KURZY row", 0, test::k60Home, {}, {}, {0, "  1", "60", "20", "20", "60", "0", 0}},
      {"empty odds text",
       0,
       test::k60Home,
       {},
       {{"KURZ1", "\"\""}},
       {0, "  1", "60", "20", "20", "60", "0", 0}},
      {"garbage odds text",
       0,
       test::k60Home,
       {},
       {{"KURZ1", "\"1,8x\""}},
       {0, "  1", "60", "20", "20", "60", "0", 0}},
      {"zero odds",
       0,
       test::k60Home,
       {},
       {{"KURZ1", "0"}},
       {0, "  1", "60", "20", "20", "60", "0", 0}},
      // 100 / 1.9 = 52.6 -> 53; TIPX and PERC are not written in under/over mode.
      {"under 62", 3, {}, 62, all_columns, {0, " < ", "62", "NULL", "38", "NULL", "1,9", 9}},
      {"under 40 is over 60",
       3,
       {},
       40,
       all_columns,
       {0, " > ", "40", "NULL", "60", "NULL", "2,05", 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TipsDb t("2010-06-05");
    const int id = t.Fixture(4, "2010-06-06", 5000, c.history, "", c.under);
    if (!c.odds.empty()) t.Odds(id, c.odds);
    t.program().selection.result_mode = test::ModeOf(c.mode);
    RecordingView view;
    ASSERT_TRUE(RunWeekTips(t.program(), view));
    StoredTip expected = c.expected;
    expected.id = id;
    EXPECT_EQ(StoredTips(t.db().conn()), std::vector<StoredTip>{expected});
  }
}

TEST(TipRunsTest, UnderOverTodayListShowsTheRowsAtTheBestPercentage) {
  TipsDb t("2010-06-05");
  t.Fixture(1, "2010-06-05", 2000, {}, "", 62);  // " < " 62
  t.Fixture(2, "2010-06-05", 3000, {}, "", 38);  // " > " 62
  t.Fixture(3, "2010-06-05", 4000, {}, "", 55);  // " < " 55: below the best, not stored
  Program& p = t.program();
  p.selection.result_mode = test::ModeOf(3);
  RecordingView view;
  ASSERT_TRUE(RunTodayTips(p, view));
  EXPECT_EQ(p.tip_run.BestTipPercent, 62);
  TipsList list(p);
  list.Show();
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.DisplayText(0, "TIP1"), "38%");  // sorted by TIP2 descending
  EXPECT_EQ(list.DisplayText(1, "TIP1"), "62%");
}

TEST(TipRunsTest, OddsColumnOfEveryTipAndMode) {
  struct Case {
    int mode;
    const char* tip;
    const char* column;
  };
  const Case cases[] = {
      {0, "  1", "KURZ1"},     {0, "  0", "KURZX"},      {0, "  2", "KURZ2"},
      {0, " 10", "KURZ1X"},    {0, " 01", "KURZ1X"},     {0, " 20", "KURZX2"},
      {0, " 02", "KURZX2"},    {0, " 12", "KURZ12"},     {0, " 21", "KURZ12"},
      {0, "102", ""},          {1, "  1", "HT_KURZ1"},   {1, " 02", "HT_KURZX2"},
      {2, "  0", "SHT_KURZX"}, {2, " 21", "SHT_KURZ12"}, {3, " < ", "UNDER"},
      {3, " > ", "OVER"},      {3, "  1", ""},           {0, " < ", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OddsColumn(test::ModeOf(c.mode), c.tip), c.column) << c.mode << " '" << c.tip << "'";
}

}  // namespace
}  // namespace morvela
