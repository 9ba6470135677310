#include "analysis/under_over_analysis.h"

#include <gtest/gtest.h>

#include "fixture_db.h"
#include "i18n/messages.h"
#include "predict/support_routines.h"

namespace morvela::test {
namespace {

TEST(GoalFiguresTest, AveragesAndFormsStandInTheSeasonStartAverageForMissingMatches) {
  // Two matches of 3 and 1 goals with a season-start average of 2.6.
  std::array<uint8_t, kAnalysisMatches + 1> goals{};
  goals[1] = 3;
  goals[2] = 1;
  EXPECT_DOUBLE_EQ(GoalAverage(4, 2, 2.6), 2.0);
  EXPECT_DOUBLE_EQ(GoalForm(goals, 2, 2.6), (1 + 3 + 2.6 + 2.6) / 4);
  EXPECT_DOUBLE_EQ(GoalAverage(0, 0, 2.6), 2.6);
  EXPECT_DOUBLE_EQ(GoalForm(goals, 0, 2.6), 2.6);
}

TEST(GoalFiguresTest, ExpectedGoalsDivideByTheNumberOfFigures) {
  EXPECT_DOUBLE_EQ(ExpectedGoals(10, 6, 0, 0, 0), 2.0);  // no meeting: / 8
  EXPECT_DOUBLE_EQ(ExpectedGoals(10, 6, 2, 0, 2), 2.0);  // only at the other venue: / 9
  EXPECT_DOUBLE_EQ(ExpectedGoals(10, 6, 3, 1, 4), 2.0);  // both: / 10
  EXPECT_EQ(UnderPercentage(2.0), 68);
}

class UnderOverDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comp = db.AddCompetition(1);
    SeasonStart s;
    s.pr = 2.6;
    s.pr_home = 2.8;
    s.pr_away = 2.4;
    for (const char* n : {"Alpha", "Beta", "Gamma"}) {
      teams.push_back(db.AddTeam(1, n));
      db.AddTeamToCompetition(comp, teams.back(), s);
    }
  }
  void Play(const std::string& date, int h, int a, int hg, int ag, int competition = 0,
            bool forfeit = false) {
    MatchSpec m{
        .competition = competition ? competition : comp, .date = date, .home = h, .away = a};
    m.home_goals = hg;
    m.away_goals = ag;
    m.forfeit = forfeit;
    db.AddMatch(m);
  }
  AnalysisStatus Run(int home, int away) {
    return AnalyseUnderOver(db.conn(), std::to_string(comp), kEnglish, home, away, table, f);
  }

  FixtureDb db;
  int comp = 0;
  std::vector<int> teams;
  GoalTable table;
  GoalFigures f;
};

TEST_F(UnderOverDbTest, GoalFiguresFromTheSeasonAndNoMeeting) {
  const int A = teams[0], B = teams[1], C = teams[2];
  Play("2011-01-10", A, C, 2, 1);  // 3 goals
  Play("2011-01-17", C, A, 1, 0);  // 1 goal
  Play("2011-01-24", C, B, 0, 0);  // 0 goals
  Play("2011-01-30", A, C, 5, 0, 0, /*forfeit=*/true);
  ASSERT_TRUE(Run(A, B).ok());
  EXPECT_EQ(table[f.h].goals_count, 2);
  EXPECT_EQ(table[f.h].match_score[2], "1 : 0");
  EXPECT_EQ(table[f.h].match_home_slot[2], 3);
  EXPECT_DOUBLE_EQ(f.average_h, 2.0);
  EXPECT_DOUBLE_EQ(f.form_h, (1 + 3 + 2.6 + 2.6) / 4);
  EXPECT_DOUBLE_EQ(f.average_home_h, 3.0);
  EXPECT_DOUBLE_EQ(f.home_form_h, (3 + 2.8 * 3) / 4);
  EXPECT_DOUBLE_EQ(f.average_a, 0.0);
  EXPECT_DOUBLE_EQ(f.average_away_a, 0.0);
  EXPECT_DOUBLE_EQ(f.form_a, (0 + 2.6 * 3) / 4);
  EXPECT_DOUBLE_EQ(f.away_form_a, (0 + 2.4 * 3) / 4);
  EXPECT_DOUBLE_EQ(f.expected_h, f.average_h + f.average_home_h + f.form_h + f.home_form_h);
  EXPECT_EQ(f.meetings_any, 0);
  EXPECT_DOUBLE_EQ(f.lambda, (f.expected_h + f.expected_a) / 8);
  EXPECT_EQ(f.under, UnderPercentage(f.lambda));
  EXPECT_EQ(f.under_count + f.over_count, 0);
}

TEST_F(UnderOverDbTest, MeetingsAtEitherVenueAnySeasonAndTheRecordAtThisVenue) {
  const int A = teams[0], B = teams[1];
  const int old = db.AddCompetition(1, "2009/2010");
  // Only B at home against A: m1 = 2, m2 = 0, X = (3 + 1) / 2.
  Play("2010-03-01", B, A, 2, 1, old);
  Play("2010-04-01", B, A, 1, 0, old);
  ASSERT_TRUE(Run(A, B).ok());
  EXPECT_EQ(f.meetings_any, 2);
  EXPECT_EQ(f.meetings_same, 0);
  EXPECT_DOUBLE_EQ(f.meetings_goals, 2.0);
  EXPECT_DOUBLE_EQ(f.lambda, (f.expected_h + f.expected_a + 2.0) / 9);

  // A at home against B twice (1:1 under, 3:2 over) and a forfeit, which counts in the record
  // but not among the meetings.
  Play("2010-05-01", A, B, 1, 1, old);
  Play("2010-06-01", A, B, 3, 2, old);
  Play("2010-07-01", A, B, 3, 0, old, /*forfeit=*/true);
  ASSERT_TRUE(Run(A, B).ok());
  EXPECT_EQ(f.meetings_any, 4);
  EXPECT_EQ(f.meetings_same, 2);
  // Last four at either venue: 5, 2, 1, 3 goals; at this venue 5 and 2.
  EXPECT_DOUBLE_EQ(f.meetings_goals, (5 + 2 + 1 + 3) / 4.0 + (5 + 2) / 2.0);
  EXPECT_DOUBLE_EQ(f.lambda, (f.expected_h + f.expected_a + f.meetings_goals) / 10);
  EXPECT_EQ(f.under_count, 1);
  EXPECT_EQ(f.over_count, 2);
}

TEST_F(UnderOverDbTest, LimitsAndMissingTeams) {
  const int A = teams[0], B = teams[1];
  EXPECT_EQ(Run(A, db.AddTeam(1, "Stranger")).problem, AnalysisProblem::kAwayTeamNotFound);
  for (int i = 0; i < 26; ++i)
    Play("2011-02-" + std::string(i + 1 < 10 ? "0" : "") + std::to_string(i + 1), B, A, 1, 0);
  const AnalysisStatus s = Run(A, B);
  EXPECT_EQ(s.problem, AnalysisProblem::kTooManyMatches);
  EXPECT_EQ(table[1].id, 0);
}

}  // namespace
}  // namespace morvela::test
