#include "predict/tip_selection.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morvela {
namespace {

struct Percentages {
  int home, draw, away;
};

struct SelectTipCase {
  Percentages final;
  Percentages league;
  std::string tip;
  int tip_percent;
};

PredictionState StateWith(const Percentages& final, const Percentages& league) {
  PredictionState s;
  s.HomePercent = static_cast<uint16_t>(final.home);
  s.DrawPercent = static_cast<uint16_t>(final.draw);
  s.AwayPercent = static_cast<uint16_t>(final.away);
  s.LeagueHomePercent = static_cast<uint16_t>(league.home);
  s.LeagueDrawPercent = static_cast<uint16_t>(league.draw);
  s.LeagueAwayPercent = static_cast<uint16_t>(league.away);
  // Leftovers of an earlier selection must be overwritten.
  s.Tip = "stale";
  s.TipPercent = 7;
  return s;
}

void ExpectTips(const std::vector<SelectTipCase>& cases) {
  for (const SelectTipCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "final " << c.final.home << "/" << c.final.draw << "/" << c.final.away
                 << " league " << c.league.home << "/" << c.league.draw << "/" << c.league.away);
    PredictionState s = StateWith(c.final, c.league);
    SelectTip(s);
    EXPECT_EQ(s.Tip, c.tip);
    EXPECT_EQ(int{s.TipPercent}, c.tip_percent);
  }
}

// Where the league pass should not matter, each case runs with no league figures and with
// league figures ordered against the final ones.
TEST(SelectTipTest, WorkedCases) {
  ExpectTips({
      {{60, 27, 13}, {0, 0, 0}, "  1", 60},
      {{60, 27, 13}, {10, 30, 60}, "  1", 60},
      {{60, 28, 12}, {0, 0, 0}, " 10", 88},
      {{60, 28, 12}, {10, 30, 60}, " 10", 88},
      {{20, 25, 55}, {0, 0, 0}, " 20", 80},
      {{20, 25, 55}, {60, 30, 10}, " 20", 80},
      {{41, 35, 30}, {0, 0, 0}, " 10", 76},
      {{41, 35, 30}, {10, 30, 60}, " 10", 76},
      {{40, 35, 30}, {0, 0, 0}, "102", 100},
      {{40, 35, 30}, {10, 30, 60}, "102", 100},
      // The away league figure is the highest but cannot lift the last-ranked outcome.
      {{40, 40, 20}, {45, 40, 50}, " 10", 80},
      {{40, 40, 20}, {40, 45, 50}, " 01", 80},
      {{40, 40, 20}, {40, 40, 50}, " 10", 80},
      // The weak home league figure does not matter for the clear leader.
      {{45, 25, 25}, {10, 20, 30}, " 12", 70},
      {{45, 25, 25}, {10, 25, 25}, " 10", 70},
      {{30, 35, 35}, {33, 33, 33}, "021", 100},
      // The tie for second place needs the league pass: home before draw unless the league
      // pass ranks the draw higher.
      {{33, 33, 34}, {0, 0, 0}, "210", 100},
      {{33, 33, 34}, {40, 30, 30}, "210", 100},
  });
}

TEST(SelectTipTest, ThresholdsAreInclusive) {
  ExpectTips({
      // p1 - p2 exactly 33 is a single tip, 32 is not.
      {{66, 33, 1}, {0, 0, 0}, "  1", 66},
      {{65, 33, 2}, {0, 0, 0}, " 10", 98},
      {{10, 23, 56}, {0, 0, 0}, "  2", 56},
      {{10, 24, 56}, {0, 0, 0}, " 20", 80},
      // p1 - p3 exactly 11 is a double chance, 10 is a three-way tip.
      {{30, 34, 41}, {0, 0, 0}, " 20", 75},
      {{30, 34, 40}, {0, 0, 0}, "201", 100},
      {{30, 40, 29}, {0, 0, 0}, " 01", 70},
      {{30, 40, 31}, {0, 0, 0}, "021", 100},
  });
}

TEST(SelectTipTest, TiesAreBrokenByLeaguePassThenHomeDrawAway) {
  ExpectTips({
      // Tie for first place: the loser of the tie is the second letter.
      {{20, 40, 40}, {0, 30, 35}, " 20", 80},
      {{20, 40, 40}, {0, 35, 30}, " 02", 80},
      {{20, 40, 40}, {0, 30, 30}, " 02", 80},
      {{40, 20, 40}, {30, 0, 30}, " 12", 80},
      {{40, 20, 40}, {30, 0, 31}, " 21", 80},
      // Tie for second place in a three-way tip: the loser of the tie is the third letter.
      {{38, 30, 30}, {0, 35, 30}, "102", 100},
      {{38, 30, 30}, {0, 30, 35}, "120", 100},
      {{38, 30, 30}, {0, 30, 30}, "102", 100},
      {{30, 38, 30}, {0, 0, 0}, "012", 100},
      // Tie for second place in a double chance.
      {{50, 25, 25}, {0, 10, 30}, " 12", 75},
      {{50, 25, 25}, {0, 10, 10}, " 10", 75},
      {{25, 25, 50}, {0, 0, 0}, " 21", 75},
  });
}

TEST(SelectTipTest, ThreeEqualPercentagesRankLikeAnyOtherTie) {
  ExpectTips({
      {{33, 33, 33}, {0, 0, 0}, "102", 100},
      {{33, 33, 33}, {20, 30, 50}, "201", 100},
      {{33, 33, 33}, {40, 30, 30}, "102", 100},
      {{0, 0, 0}, {0, 0, 0}, "102", 100},
  });
}

TEST(SelectUnderOverTipTest, SplitsAtFifty) {
  struct Case {
    int under;
    std::string tip;
    int tip_percent;
  };
  const Case cases[] = {
      {51, " < ", 51}, {50, " > ", 50}, {0, " > ", 100}, {100, " < ", 100}, {49, " > ", 51},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "under=" << c.under);
    PredictionState s;
    s.HomePercent = 1;
    s.DrawPercent = 23;
    s.AwayPercent = 4;
    SelectUnderOverTip(s, c.under);
    EXPECT_EQ(s.Tip, c.tip);
    EXPECT_EQ(int{s.TipPercent}, c.tip_percent);
    EXPECT_EQ(s.HomePercent, c.under);
    EXPECT_EQ(s.AwayPercent, 100 - c.under);
    EXPECT_EQ(s.DrawPercent, 23);
  }
}

TEST(TipTextTest, TrimRemovesOnlyOuterBlanks) {
  const std::pair<std::string, std::string> cases[] = {
      {"  1", "1"}, {" 10", "10"}, {"102", "102"},   {" < ", "<"},
      {"", ""},     {"   ", ""},   {" 1 0 ", "1 0"},
  };
  for (const auto& [tip, expected] : cases) {
    EXPECT_EQ(TrimTip(tip), expected) << "'" << tip << "'";
  }
}

TEST(TipTextTest, KindOfTipRecognisesEveryFormat) {
  const std::pair<std::string, TipKind> cases[] = {
      {"  1", TipKind::Single},
      {"  0", TipKind::Single},
      {"2", TipKind::Single},
      {" 10", TipKind::DoubleChance},
      {" 02", TipKind::DoubleChance},
      {"21", TipKind::DoubleChance},
      {"102", TipKind::ThreeWay},
      {"210", TipKind::ThreeWay},
      {" < ", TipKind::Under},
      {" > ", TipKind::Over},
      {"", TipKind::None},
      {"   ", TipKind::None},
      {"UNDER", TipKind::None},
      {" 11", TipKind::None},
      {"3", TipKind::None},
      {"1022", TipKind::None},
      {"<>", TipKind::None},
  };
  for (const auto& [tip, expected] : cases) {
    EXPECT_EQ(KindOfTip(tip), expected) << "'" << tip << "'";
  }
}

TEST(TipTextTest, TipWinsOnItsOutcomeLetters) {
  struct Case {
    std::string tip;
    char outcome;
    bool wins;
  };
  const Case cases[] = {
      {"  1", '1', true},  {"  1", '0', false}, {"  1", '2', false}, {" 10", '1', true},
      {" 10", '0', true},  {" 10", '2', false}, {" 02", '2', true},  {" 02", '1', false},
      {"102", '1', true},  {"210", '0', true},  {"021", '2', true},  {"102", 'x', false},
      {" < ", '1', false}, {" > ", '0', false}, {"", '1', false},    {"UNDER", '0', false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TipWins(c.tip, c.outcome), c.wins) << "'" << c.tip << "' outcome " << c.outcome;
  }
}

}  // namespace
}  // namespace morvela
