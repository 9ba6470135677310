#include "analysis/pairing_analysis.h"

#include <gtest/gtest.h>

#include "analysis/analysis_messages.h"
#include "fixture_db.h"
#include "i18n/messages.h"
#include "predict/support_routines.h"
#include "test_support.h"

namespace morvela::test {
namespace {

analysis::Tmuzstva WithHistory(std::vector<uint16_t> overall, std::vector<uint16_t> home = {1500},
                               std::vector<uint16_t> away = {1500}) {
  analysis::Tmuzstva t;
  t.id = 1;
  for (size_t k = 0; k < overall.size(); ++k) t.history[k] = overall[k];
  for (size_t k = 0; k < home.size(); ++k) t.history_home[k] = home[k];
  for (size_t k = 0; k < away.size(); ++k) t.history_away[k] = away[k];
  t.history_count = static_cast<uint8_t>(overall.size() - 1);
  t.history_home_count = static_cast<uint8_t>(home.size() - 1);
  t.history_away_count = static_cast<uint8_t>(away.size() - 1);
  t.rating = overall.back();
  t.rating_home = home.back();
  t.rating_away = away.back();
  return t;
}

TEST(PairingFormsTest, FormsLookBackFourMatchesOrToTheSeasonStart) {
  PairingFigures f;
  // Six matches: the form is the change over the last four.
  const analysis::Tmuzstva six = WithHistory({1500, 1512, 1520, 1509, 1530, 1541, 1538});
  // Three matches: the change since the season start.
  const analysis::Tmuzstva three = WithHistory({1500, 1490, 1495, 1510});
  ComputeForms(six, three, f);
  EXPECT_EQ(f.form_h, 18);
  EXPECT_EQ(f.form_a, 10);
  // One home match: its change from the start value; none away: 0.
  ComputeForms(WithHistory({1500, 1507}, {1500, 1511}), WithHistory({1500}), f);
  EXPECT_EQ(f.home_form_h, 11);
  EXPECT_EQ(f.away_form_a, 0);
  EXPECT_EQ(f.form_a, 0);
}

TEST(PairingFormsTest, HalvedAndThirdTermsTruncateTowardZero) {
  // Home form of h 0 - 7 (two home matches back), away form of a 0: (0 - 7) div 3 = -2.
  // rating_home 1495 - rating_away 1500 = -5: div 2 = -2. Overall ratings and forms equal.
  const analysis::Tmuzstva h = WithHistory({1500}, {1500, 1507, 1500}, {1500});
  analysis::Tmuzstva h2 = h;
  h2.history_home = {};
  h2.history_home[0] = 1502;
  h2.history_home[1] = 1502;
  h2.history_home[2] = 1495;
  h2.rating_home = 1495;
  const analysis::Tmuzstva a = WithHistory({1500}, {1500}, {1500});
  PairingFigures f;
  ComputeForms(h2, a, f);
  EXPECT_EQ(f.home_form_h, -7);
  EXPECT_EQ(f.difference, -2 + 0 + 0 + -2);
}

TEST(PairingMeetingsTest, WeightsShrinkWithAgeAndDrawsPullTowardMinus130) {
  struct Case {
    const char* what;
    int32_t d;
    std::vector<Meeting> meetings;
    int32_t expected;
  };
  const Case cases[] = {
      {"no meeting", 40, {}, 40},
      {"single win: its age is the whole sum, weight 0", 40, {{100, "1"}}, 40},
      {"ages 10 and 30: weights 18 and 5", 0, {{10, "1"}, {30, "1"}}, 23},
      {"ages 10 and 30, away wins", 0, {{10, "2"}, {30, "2"}}, -23},
      {"draw halves 18 to 9 and pulls -120 to -129", -120, {{10, "0"}, {30, "x"}}, -129},
      {"draw would cross -130: nothing", -125, {{10, "0"}, {30, "x"}}, -125},
      {"draw below -130 pulls up", -200, {{10, "0"}, {30, "x"}}, -191},
      {"draw below -130 that would reach it: nothing", -135, {{10, "0"}, {30, "x"}}, -135},
      {"same-day meetings: age sum 0 keeps the base weights", 0, {{0, "1"}, {0, "2"}}, 4},
      // A fifth row (ties on the last date) keeps the weight the fourth left: 12 scaled.
      {"fifth row keeps the previous weight",
       0,
       {{1, "x"}, {1, "x"}, {1, "x"}, {1, "1"}, {1, "1"}},
       static_cast<int32_t>(10 + 8)},
  };
  for (const Case& c : cases) EXPECT_EQ(AdjustByMeetings(c.d, c.meetings), c.expected) << c.what;
}

TEST(PairingRankTest, VratPoradieSharesTiesAndRanksEmptySlotsLast) {
  TeamTable t{};
  t[1].id = 10;
  t[2].id = 11;
  t[3].id = 12;
  t[1].history = {1500, 1520};
  t[2].history = {1500, 1520};
  t[3].history = {1500, 1480};
  t[3].history_count = 1;
  EXPECT_EQ(VratPoradie(t, 1, 1), 1);
  EXPECT_EQ(VratPoradie(t, 2, 1), 1);
  EXPECT_EQ(VratPoradie(t, 3, 1), 3);
  EXPECT_EQ(VratPoradie(t, 3, 0), 1);  // everybody starts at 1500
  // After two matches nobody has a value: all share the first place, empty slots too.
  EXPECT_EQ(VratPoradie(t, 1, 2), 1);
  EXPECT_EQ(VratPoradie(t, 4, 1), 4);  // an empty slot: 0, after the three teams
}

// A season of three teams with a few played matches and a fixture.
class PairingDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comp = db.AddCompetition(1);
    for (const char* n : {"Alpha", "Beta", "Gamma"}) {
      teams.push_back(db.AddTeam(1, n));
      db.AddTeamToCompetition(comp, teams.back(), {});
    }
    // Gamma starts stronger in the first half.
    db.conn().Execute("UPDATE SUTAZ_MUZSTVA SET HT_ELO=1600 WHERE ID_MUZSTVO=" +
                      std::to_string(teams[2]));
  }
  int Play(const std::string& date, int h, int a, int hg, int ag, int hth = 0, int hta = 0,
           int competition = 0) {
    MatchSpec m{
        .competition = competition ? competition : comp, .date = date, .home = h, .away = a};
    m.home_goals = hg;
    m.away_goals = ag;
    m.ht_home_goals = hth;
    m.ht_away_goals = hta;
    return db.AddMatch(m);
  }
  PairingInput Input(int home, int away, int mode = 0, const char* ref = "2011-06-01") {
    return {home, away, test::ModeOf(mode), std::to_string(comp), kEnglish, *ParseIsoDate(ref)};
  }

  FixtureDb db;
  int comp = 0;
  std::vector<int> teams;
  TeamTable table;
  PairingFigures f;
};

TEST_F(PairingDbTest, ReplayRecordsRatingsPairingsAndScoresOfEveryMatch) {
  const int A = teams[0], B = teams[1], C = teams[2];
  Play("2011-01-10", A, B, 2, 0, 1, 0);
  Play("2011-01-17", C, A, 1, 1, 0, 1);
  Play("2011-01-24", B, C, 0, 3, 0, 2);
  MatchSpec forfeit{.competition = comp, .date = "2011-01-30", .home = A, .away = C};
  forfeit.home_goals = 3;
  forfeit.away_goals = 0;
  forfeit.forfeit = true;
  db.AddMatch(forfeit);
  db.AddMatch({.competition = comp, .date = "2011-06-10", .home = A, .away = B});  // fixture

  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, B), table, f).ok());
  ASSERT_EQ(f.h, 1);
  ASSERT_EQ(f.a, 2);
  EXPECT_EQ(table[1].name, "Alpha");
  const int32_t d1 = RatingChange400(1500, 1500, 2, 0);
  const int32_t e1 = RatingChange200(1500, 1500, 2, 0);
  const auto a1 = static_cast<uint16_t>(1500 + d1);
  const int32_t d2 = RatingChange400(1500, a1, 1, 1);
  EXPECT_EQ(table[1].history_count, 2);  // the forfeit and the fixture are not replayed
  EXPECT_EQ(table[1].history[1], a1);
  EXPECT_EQ(table[1].history[2], static_cast<uint16_t>(a1 - d2));
  EXPECT_EQ(table[1].history_home[1], 1500 + e1);
  EXPECT_EQ(table[1].history_away_count, 1);
  EXPECT_EQ(table[2].history[1], 1500 - d1);
  EXPECT_EQ(table[1].match_home_slot[2], 3);
  EXPECT_EQ(table[1].match_away_slot[2], 1);
  EXPECT_EQ(table[1].match_score[1], "2 : 0");
  EXPECT_EQ(table[3].match_score[2], "0 : 3");
  EXPECT_EQ(table[3].rating, table[3].history[2]);

  // First half: the half-time goals and the half-time start ratings.
  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, B, 1), table, f).ok());
  EXPECT_EQ(table[3].history[0], 1600);
  EXPECT_EQ(table[1].match_score[1], "1 : 0");
  EXPECT_EQ(table[1].history[1], 1500 + RatingChange400(1500, 1500, 1, 0));
  // Second half: full time minus half time (2:0 - 1:0 = 1:0).
  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, B, 2), table, f).ok());
  EXPECT_EQ(table[1].match_score[1], "1 : 0");
}

TEST_F(PairingDbTest, DifferenceCombinesRatingsFormsAndMeetingsBeforeTheReferenceDate) {
  const int A = teams[0], B = teams[1], C = teams[2];
  // Earlier meetings of A at home against B in an older season: 10 and 30 days before the
  // reference date, both home wins; one later meeting that the cut-off leaves out.
  const int old = db.AddCompetition(1, "2009/2010");
  Play("2011-05-22", A, B, 1, 0, 0, 0, old);
  Play("2011-05-02", A, B, 3, 1, 0, 0, old);
  Play("2011-06-05", A, B, 0, 4, 0, 0, old);
  // This season: A beats C, B loses to C.
  Play("2011-02-01", A, C, 2, 1);
  Play("2011-02-08", B, C, 0, 1);

  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, B), table, f).ok());
  const analysis::Tmuzstva& h = table[f.h];
  const analysis::Tmuzstva& a = table[f.a];
  const int32_t expected = (f.home_form_h - f.away_form_a) / 3 + (f.form_h - f.form_a) +
                           (int32_t{h.rating} - int32_t{a.rating}) +
                           (int32_t{h.rating_home} - int32_t{a.rating_away}) / 2;
  EXPECT_EQ(f.difference, expected);
  EXPECT_EQ(f.meetings, 2);
  EXPECT_EQ(f.adjusted, f.difference + 18 + 5);
  // The record counts every meeting at this venue, whatever its date: 2 wins, 1 loss.
  EXPECT_EQ(f.wins, 2);
  EXPECT_EQ(f.draws, 0);
  EXPECT_EQ(f.losses, 1);

  // A reference date after the third meeting takes it in as the most recent.
  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, B, 0, "2011-06-15"), table, f).ok());
  EXPECT_EQ(f.meetings, 3);
  // Ages 10, 24, 44 (sum 78): 24*68/78 = 20.92 -> 21 away win, 20*54/78 = 13.85 -> 14,
  // 16*34/78 = 6.97 -> 7.
  EXPECT_EQ(f.adjusted, f.difference - 21 + 14 + 7);
}

TEST_F(PairingDbTest, TeamsWithoutMatchesAndTheSameTeamTwice) {
  const int A = teams[0];
  ASSERT_TRUE(AnalysePairing(db.conn(), Input(A, A), table, f).ok());
  EXPECT_EQ(f.h, f.a);
  EXPECT_EQ(f.form_h, 0);
  EXPECT_EQ(f.home_form_h, 0);
  EXPECT_EQ(f.difference, 0);
  EXPECT_EQ(f.wins + f.draws + f.losses, 0);
  EXPECT_EQ(table[f.h].history_count, 0);
}

TEST_F(PairingDbTest, BeyondTheTablesNothingIsAnalysed) {
  const int A = teams[0], B = teams[1];
  // A team that is not in the season.
  const int stranger = db.AddTeam(1, "Stranger");
  AnalysisStatus s = AnalysePairing(db.conn(), Input(A, stranger), table, f);
  EXPECT_EQ(s.problem, AnalysisProblem::kAwayTeamNotFound);
  EXPECT_EQ(s.team, stranger);
  Messages de;
  de.NastavJazyk(kGerman);
  EXPECT_EQ(
      AnalysisProblemText(de, s, "Stranger"),
      de.Msg(msg::kTipCannotBeCalculated) + "\r\nStranger gehört nicht zur geladenen Saison.");
  EXPECT_EQ(AnalysePairing(db.conn(), Input(stranger, A), table, f).problem,
            AnalysisProblem::kHomeTeamNotFound);

  // 26 home matches of one team: beyond its 25 home entries.
  for (int i = 0; i < 26; ++i)
    Play("2011-01-" + std::string(i + 1 < 10 ? "0" : "") + std::to_string(i + 1), A, B, 1, 0);
  s = AnalysePairing(db.conn(), Input(A, B), table, f);
  EXPECT_EQ(s.problem, AnalysisProblem::kTooManyMatches);
  EXPECT_EQ(s.team, A);
  EXPECT_EQ(table[1].id, 0);  // the table stays cleared

  // 26 teams.
  FixtureDb big;
  const int c = big.AddCompetition(1);
  int first = 0;
  for (int i = 0; i < 26; ++i) {
    const int t = big.AddTeam(1, "T" + std::to_string(i));
    if (!first) first = t;
    big.AddTeamToCompetition(c, t);
  }
  s = AnalysePairing(
      big.conn(),
      {first, first + 1, ResultMode::kFullTime, std::to_string(c), 1, *ParseIsoDate("2011-01-01")},
      table, f);
  EXPECT_EQ(s.problem, AnalysisProblem::kTooManyTeams);
  EXPECT_EQ(s.count, 26);
  Messages en;
  EXPECT_EQ(
      AnalysisProblemText(en, s, ""),
      "Tip cannot be calculated\r\nThe season has 26 teams; the match analysis holds at most 25.");
}

}  // namespace
}  // namespace morvela::test
