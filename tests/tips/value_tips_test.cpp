#include "tips/value_tips.h"

#include <gtest/gtest.h>

#include "tips/calibration_store.h"
#include "tips/tips_list.h"
#include "tips_test_support.h"

namespace morvela {
namespace {

using test::RecordingView;
using test::TipsDb;

struct ListedBet {
  int64_t id;
  std::string tip;
  int64_t perc;
  std::string kurz;
  int64_t profit;
  bool operator==(const ListedBet&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ListedBet& b) {
  return os << "{" << b.id << " '" << b.tip << "' " << b.perc << "% " << b.kurz << " " << b.profit
            << "}";
}

// The rows of the value-tip list in the order the list shows them.
std::vector<ListedBet> Listed(Program& p) {
  TipsList list(p);
  list.Show();
  std::vector<ListedBet> out;
  const bool uo = p.selection.result_mode == ResultMode::kUnderOver;
  for (int r = 0; r < list.RowCount(); ++r) {
    // Under/over rows store no PERC; their percentage is the under or over column.
    const std::string tip = list.Value(r, "TIP").AsString();
    const int64_t perc = uo ? list.Value(r, tip == " < " ? "TIP1" : "TIP2").AsInteger()
                            : list.Value(r, "PERC").AsInteger();
    out.push_back({list.Value(r, "ID").AsInteger(), tip, perc, list.Value(r, "KURZ").AsString(),
                   list.Value(r, "PROFIT").AsInteger()});
  }
  return out;
}

TEST(ValueTipsTest, EveryPricedBetIsListedByItsMargin) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> odds;
    std::vector<ListedBet> listed;  // id 0 stands for the fixture
  };
  const Case cases[] = {
      // 50/30/20: 50-56, 30-29, 20-22, 80-83, 50-53, 70-77; the two -3 rows by odds descending.
      {"six odds",
       {{"KURZ1", "1.8"},
        {"KURZX", "3.4"},
        {"KURZ2", "4.5"},
        {"KURZ1X", "1.2"},
        {"KURZX2", "1.9"},
        {"KURZ12", "1.3"}},
       {{0, "  0", 30, "3,4", 1},
        {0, "  2", 20, "4,5", -2},
        {0, " 02", 50, "1,9", -3},
        {0, " 10", 80, "1,2", -3},
        {0, "  1", 50, "1,8", -6},
        {0, " 12", 70, "1,3", -7}}},
      {"three odds",
       {{"KURZ1", "1.8"}, {"KURZX", "3.4"}, {"KURZ2", "4.5"}},
       {{0, "  0", 30, "3,4", 1}, {0, "  2", 20, "4,5", -2}, {0, "  1", 50, "1,8", -6}}},
      // Odds of 2 imply 50, odds of 8 imply 12 (12.5 to the even 12).
      {"exact and tied implied percentages",
       {{"KURZ1", "2"}, {"KURZ2", "8"}},
       {{0, "  2", 20, "8", 8}, {0, "  1", 50, "2", 0}}},
      {"unreadable odds skip their bet",
       {{"KURZ1", "\"\""},
        {"KURZX", "\"abc\""},
        {"KURZ2", "0"},
        {"KURZ1X", "-1.5"},
        {"KURZX2", "\"1,9\""}},
       {{0, " 02", 50, "1,9", -3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TipsDb t("2010-06-05");
    const int id = t.Fixture(4, "2010-06-20", 5000, test::k50_30_20);
    t.Odds(id, c.odds);
    t.Fixture(4, "2010-06-21", 6000, test::k80Home);  // no KURZY row: never listed
    RecordingView view;
    ASSERT_TRUE(RunValueTips(t.program(), view));
    EXPECT_EQ(view.shown, 1);
    EXPECT_EQ(t.program().tip_run.TipRunKind, TipRun::kValue);
    std::vector<ListedBet> expected = c.listed;
    for (ListedBet& b : expected) b.id = id;
    EXPECT_EQ(Listed(t.program()), expected);
  }
}

TEST(ValueTipsTest, UnderOverGivesTheUnderAndOverBets) {
  TipsDb t("2010-06-05");
  const int id = t.Fixture(4, "2010-06-20", 5000, {}, "", 64);
  t.Odds(id, {{"UNDER", "1.7"}, {"OVER", "2.1"}, {"KURZ1", "1.5"}});
  Program& p = t.program();
  p.selection.result_mode = test::ModeOf(3);
  RecordingView view;
  ASSERT_TRUE(RunValueTips(p, view));
  // 64 - 59 = 5 and 36 - 48 = -12.
  EXPECT_EQ(Listed(p),
            (std::vector<ListedBet>{{id, " < ", 64, "1,7", 5}, {id, " > ", 36, "2,1", -12}}));
  for (const test::StoredTip& s : test::StoredTips(t.db().conn())) {
    EXPECT_EQ(s.tip1, "64");
    EXPECT_EQ(s.tip2, "36");
    EXPECT_EQ(s.tipx, "NULL");
    EXPECT_EQ(s.perc, "NULL");
  }
  EXPECT_EQ(p.prediction.Tip, " > ");  // the last stored row
  EXPECT_EQ(p.prediction.TipPercent, 36);
}

TEST(ValueTipsTest, CoversEveryLeagueFromTodayOnAndReplacesTheTips) {
  TipsDb t("2010-06-05");
  const int today = t.Fixture(4, "2010-06-05", 2000, {});
  const int later = t.Fixture(9, "2010-12-24", 3000, {});
  const int past = t.Fixture(9, "2010-06-04", 4000, {});  // unplayed but before today
  for (int id : {today, later, past}) t.Odds(id, {{"KURZ1", "1.25"}});
  InsertTipRow(t.program().dm, ResultMode::kFullTime,
               {.id = 99, .league = 1, .date_text = "01.06.2010", .tip = "  1"});
  RecordingView view;
  ASSERT_TRUE(RunValueTips(t.program(), view));
  std::vector<int64_t> ids;
  for (const test::StoredTip& s : test::StoredTips(t.db().conn())) ids.push_back(s.id);
  EXPECT_EQ(ids, (std::vector<int64_t>{today, later}));
}

// The fixture's season starts on 2009-08-01 (its pairing's earlier matches). The blend takes
// the weights stored for the latest season start on or before that which learnt on enough
// matches, so each case must list exactly what the forecaster its weights single out lists.
TEST(ValueTipsTest, TheBlendPoolsWithTheWeightsStoredForAnEarlierSeason) {
  const Date before = *ParseIsoDate("2009-07-01"), same = *ParseIsoDate("2009-08-01"),
             later = *ParseIsoDate("2009-08-02");
  struct Case {
    const char* name;
    std::vector<SeasonBlend> stored;
    ValueAgainst lists_as;
  };
  const Case cases[] = {
      {"nothing stored: the market alone", {}, ValueAgainst::kMarket},
      {"the model's weights of an earlier season",
       {{before, {0, 1, 0}, 500}},
       ValueAgainst::kModel},
      {"the tips' weights of the same season start", {{same, {0, 0, 1}, 500}}, ValueAgainst::kTips},
      {"a later season's weights stay unused",
       {{before, {0, 1, 0}, 500}, {later, {0, 0, 1}, 500}},
       ValueAgainst::kModel},
      {"too few training matches",
       {{before, {0, 1, 0}, kMinBlendTraining - 1}},
       ValueAgainst::kMarket},
  };
  const ValueFilter at_least_one_point{.min_profit = 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TipsDb t("2010-06-05");
    const int id = t.Fixture(4, "2010-06-20", 5000, test::k50_30_20);
    t.Odds(id, {{"KURZ1", "2.6"}, {"KURZX", "3.3"}, {"KURZ2", "2.9"}});
    Program& p = t.program();
    StoreBlendWeights(t.db().conn(), ResultMode::kFullTime, MarginMethod::kPower, c.stored);
    RecordingView view;
    ASSERT_TRUE(RunValueTips(p, view, at_least_one_point, c.lists_as));
    const std::vector<ListedBet> expected = Listed(p);
    ASSERT_TRUE(RunValueTips(p, view, at_least_one_point, ValueAgainst::kBlend));
    EXPECT_EQ(Listed(p), expected);
  }
  // The choice matters: the odds without their margin never rate a bet above its own odds,
  // while the model finds value in this fixture.
  TipsDb t("2010-06-05");
  const int id = t.Fixture(4, "2010-06-20", 5000, test::k50_30_20);
  t.Odds(id, {{"KURZ1", "2.6"}, {"KURZX", "3.3"}, {"KURZ2", "2.9"}});
  RecordingView view;
  ASSERT_TRUE(RunValueTips(t.program(), view, at_least_one_point, ValueAgainst::kMarket));
  EXPECT_TRUE(Listed(t.program()).empty());
  ASSERT_TRUE(RunValueTips(t.program(), view, at_least_one_point, ValueAgainst::kModel));
  EXPECT_FALSE(Listed(t.program()).empty());
}

}  // namespace
}  // namespace morvela
