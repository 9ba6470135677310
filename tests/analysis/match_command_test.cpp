// morvela-cli match on a small season: the window's lines in order, the JSON figures, and the
// team arguments.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "cli_capture.h"
#include "tips/tips_test_support.h"

namespace morvela::test {
namespace {

constexpr int kEngland = 4;

class MatchCommandTest : public ::testing::Test {
 protected:
  MatchCommandTest() : t("2010-06-05") {
    const int comp = t.Competition(kEngland);
    for (const char* n : {"Dundee", "Dundee United", "Celtic"}) {
      teams.push_back(t.db().AddTeam(kEngland, n));
      t.db().AddTeamToCompetition(comp, teams.back());
    }
    MatchSpec m{.competition = comp, .date = "2010-05-01", .home = teams[0], .away = teams[2]};
    m.home_goals = 2;
    m.away_goals = 1;
    t.db().AddMatch(m);
    const int fixture = t.db().AddMatch(
        {.competition = comp, .date = "2010-06-06", .home = teams[0], .away = teams[1]});
    t.Odds(fixture, {{"KURZ1", "2.5"}, {"UNDER", "1.9"}, {"OVER", "1.9"}, {"BWIN_ID", "\"77\""}});
  }
  std::vector<std::string> Base(const char* mode = "ft") {
    return {"--home", t.db().Folder(), "--today", "2010-06-05", "--mode", mode};
  }

  TipsDb t;
  std::vector<int> teams;
};

TEST_F(MatchCommandTest, PrintsTheWindowsLinesInOrderThenTheChart) {
  std::vector<std::string> args = Base();
  for (const char* a : {"match", "England", "dundee", "Dundee United"}) args.push_back(a);
  const CliRun r = RunCliInProcess(args);
  ASSERT_EQ(r.rc, 0) << r.err;
  std::istringstream in(r.out);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_GE(lines.size(), 20u);
  EXPECT_EQ(lines[0], "  FULL TIME :: Tip .: Dundee - Dundee United :.");
  EXPECT_EQ(lines[1], "Home: Dundee");
  EXPECT_EQ(lines[2].rfind("  ELO: ", 0), 0u);
  EXPECT_EQ(lines[6], "Guest: Dundee United");
  EXPECT_EQ(lines[11], "Head to head matches (wins-draws-losses):  0 - 0 - 0");
  EXPECT_EQ(lines[12].rfind("Tip: ", 0), 0u);
  EXPECT_EQ(lines[13], "Odds (1-0-2-10-02-12): 2,50 - 0 - 0 - 0 - 0 - 0");
  EXPECT_EQ(lines[14].rfind("Difference (1,0,2,10,02,12) %: ", 0), 0u);
  EXPECT_EQ(lines[15].rfind("Bet on match: https://", 0), 0u);
  EXPECT_NE(lines[15].find("&eventID=77"), std::string::npos);
  // The chart: Dundee has played once (two points), Dundee United not at all.
  EXPECT_EQ(lines[17].find("Match"), 0u);
  // After the chart and a blank line, the window's second opinion (three lines more than
  // before): the model's (one played match is too few for a fit) and the market's from the
  // fixture's odds (no full 1X2, even under/over).
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[22],
            "Goal model (1-0-2) %: Not available    under-over %: Not available    "
            "likely scores: Not available");
  EXPECT_EQ(lines[23], "Market without margin (1-0-2) %: Not available    under-over %: 50-50");
}

TEST_F(MatchCommandTest, UnderOverJsonHasTheGoalFigures) {
  std::vector<std::string> args = Base("uo");
  for (const std::string& a : {std::string("match"), std::string("4"), std::to_string(teams[0]),
                               std::string("united"), std::string("--json")})
    args.push_back(a);
  const CliRun r = RunCliInProcess(args);
  ASSERT_EQ(r.rc, 0) << r.err;
  for (const char* key :
       {"\"Goals\":{\"average_home_team\":", "\"ExpectedGoals\":", "\"UnderPercent\":",
        "\"OddsLine\":\"1,90 - 1,90\"", "\"BetEventId\":\"77\"", "\"Tip\":\"", "\"legend\":false"})
    EXPECT_NE(r.out.find(key), std::string::npos) << key << " in " << r.out;
  EXPECT_EQ(r.out.find("\"history\""), std::string::npos);
}

TEST_F(MatchCommandTest, TeamArgumentsThatFitNoTeamOrSeveral) {
  struct Case {
    const char* home;
    const char* away;
    const char* said;
  };
  const Case cases[] = {
      {"dundee u", "Hearts", "AWAY: no team of this season is called 'Hearts'"},
      {"und", "celtic", "HOME: more than one team of this season fits 'und'"},
      {"999", "celtic", "HOME: no team with id 999"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = Base();
    for (const char* a : {"match", "England", c.home, c.away}) args.push_back(a);
    const CliRun r = RunCliInProcess(args);
    EXPECT_EQ(r.rc, 2) << c.home;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Celtic (" + std::to_string(teams[2]) + ")"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace morvela::test
