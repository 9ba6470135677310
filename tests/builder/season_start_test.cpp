#include "builder/season_start.h"

#include <gtest/gtest.h>

#include "fixture_db.h"

namespace morvela {
namespace {

// A league of two seasons. Season one: A, B, C, all at 1500;
//   A-B 2:0 (half time 1:0), B-C 1:1 (no half-time score), C-A 0:1 (half time 0:0).
// Full time, overall (RatingChange400): A +20, B -20; B-C: (0.5 - 0.4712) * 32 = 0.92 -> 0;
//   C-A: (0 - 0.4712) * 32 = -15.08 -> -15. End A 1535, B 1480, C 1485, mean 1500.
//   Carried A 1500 + 2/3 * 35 = 1523.33, B 1486.67, C 1490 (C leaves: D starts at 1490).
// Full time, home/away (RatingChange200, home rating against the visitor's away rating):
//   A home 1520, C home 1484, A away 1516, B away 1480; means 1501.33 and 1498.67.
// First half: A-B 1:0 gives 16, C-A 0:0 gives 0; B-C has no half-time score and is skipped.
// Second half: A-B 1:0 gives 16, C-A 0:1 gives -15; B-C skipped.
// Season two: A, B and the newcomer D.
class TwoSeasonLeague : public ::testing::Test {
 protected:
  static constexpr int kLeague = 4;
  void SetUp() override {
    first_ = db_.AddCompetition(kLeague, "2020/2021", 3, 2020);
    second_ = db_.AddCompetition(kLeague, "Active", 3, 2021);
    a_ = db_.AddTeam(kLeague, "A");
    b_ = db_.AddTeam(kLeague, "B");
    c_ = db_.AddTeam(kLeague, "C");
    d_ = db_.AddTeam(kLeague, "D");
    test::SeasonStart junk;  // whatever the rows held before must not matter
    junk.elo = 999;
    junk.pr = 9;
    for (int t : {a_, b_, c_}) db_.AddTeamToCompetition(first_, t, junk);
    for (int t : {a_, b_, d_}) db_.AddTeamToCompetition(second_, t, junk);
    db_.AddMatch({first_, "2020-08-01", a_, b_, 2, 0, 1, 0});
    db_.AddMatch({first_, "2020-08-08", b_, c_, 1, 1});
    db_.AddMatch({first_, "2020-08-15", c_, a_, 0, 1, 0, 0});
    // A forfeit and a fixture change nothing.
    db_.AddMatch({first_, "2020-08-20", b_, a_, 3, 0, 1, 0, /*forfeit=*/true});
    db_.AddMatch({first_, "2020-08-22", a_, c_});
    db_.AddMatch({second_, "2021-08-01", a_, b_, 1, 0});
  }

  struct Row {
    std::array<int, 9> ratings;
    std::array<double, 3> pr;
  };
  Row Read(int competition, int team) {
    Query q(db_.conn());
    q.Open("SELECT * FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" + std::to_string(competition) +
           " AND ID_MUZSTVO=" + std::to_string(team));
    Row r{};
    const char* names[] = {"ELO",         "ELO_HOME", "ELO_AWAY",     "HT_ELO",      "HT_ELO_HOME",
                           "HT_ELO_AWAY", "SHT_ELO",  "SHT_ELO_HOME", "SHT_ELO_AWAY"};
    for (int i = 0; i < 9; ++i)
      r.ratings[i] = static_cast<int>(q.FieldByName(names[i]).AsInteger());
    r.pr = {q.FieldByName("PR").AsFloat(), q.FieldByName("PR_HOME").AsFloat(),
            q.FieldByName("PR_AWAY").AsFloat()};
    return r;
  }

  test::FixtureDb db_;
  int first_ = 0, second_ = 0, a_ = 0, b_ = 0, c_ = 0, d_ = 0;
};

TEST_F(TwoSeasonLeague, StoresHandComputedStarts) {
  ASSERT_EQ(ComputeSeasonStarts(db_.conn(), kLeague), 2);
  struct Case {
    const char* what;
    int competition;
    int team;
    Row expected;
  };
  const Case cases[] = {
      {"first season A",
       first_,
       a_,
       {{1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500}, {2.6, 2.6, 2.6}}},
      {"first season C",
       first_,
       c_,
       {{1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500, 1500}, {2.6, 2.6, 2.6}}},
      // A: goals 2 and 1 in its two played matches, 2 at home, 1 away.
      {"A carried",
       second_,
       a_,
       {{1523, 1514, 1510, 1511, 1512, 1498, 1521, 1511, 1511}, {1.5, 2.0, 1.0}}},
      {"B carried",
       second_,
       b_,
       {{1487, 1500, 1486, 1489, 1502, 1488, 1489, 1500, 1489}, {2.0, 2.0, 2.0}}},
      // D takes C's carried ratings; the league averaged 5 goals in 3 matches = 1.67.
      {"D new",
       second_,
       d_,
       {{1490, 1490, 1500, 1500, 1502, 1498, 1490, 1489, 1500}, {1.67, 1.67, 1.67}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Row r = Read(c.competition, c.team);
    EXPECT_EQ(r.ratings, c.expected.ratings);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(r.pr[i], c.expected.pr[i]) << i;
  }
}

TEST_F(TwoSeasonLeague, StoredStartsFitBetterThanConstant) {
  ComputeSeasonStarts(db_.conn(), kLeague);
  // Season two, A (1523) beats B (1487) 1:0: (1 - 0.5516) * 32 = 14.35 -> 14 for both teams;
  // from 1500 each it is 16. The first season is not compared.
  const StartRuleComparison c = CompareStartRules(db_.conn(), {kLeague});
  EXPECT_EQ(c.seasons, 1);
  EXPECT_EQ(c.changes, 2);
  EXPECT_DOUBLE_EQ(c.stored, 14);
  EXPECT_DOUBLE_EQ(c.constant, 16);
}

SeasonStarts StartsAt(const std::vector<std::pair<int64_t, int32_t>>& overall) {
  SeasonStarts s;
  for (auto [team, rating] : overall) {
    TeamStart t;
    for (auto& mode : t.rating) mode.fill(1500);
    t.rating[0][kOverall] = rating;
    s[team] = t;
  }
  return s;
}

TEST(NextSeasonStarts, NewcomersAndLimits) {
  struct Case {
    const char* what;
    SeasonStarts previous_starts;
    std::vector<SeasonMatch> matches;
    std::vector<int64_t> next_teams;
    int64_t team;
    int32_t expected;
  };
  // Five teams of mean 1500 without matches: carried 1566.67, 1526.67, 1500, 1486.67, 1420.
  const SeasonStarts five = StartsAt({{1, 1600}, {2, 1540}, {3, 1500}, {4, 1480}, {5, 1380}});
  SeasonMatch low_loses;  // team 1 (at 0) loses 0:2 to team 2 (at 0): -20 / +20
  low_loses.home = 1;
  low_loses.away = 2;
  low_loses.goals[0] = std::make_pair(0, 2);
  SeasonMatch high_wins = low_loses;  // team 1 (at 65535) beats team 2 (at 65535) 2:0
  high_wins.goals[0] = std::make_pair(2, 0);
  const Case cases[] = {
      {"staying team keeps 2/3 of its distance", five, {}, {1, 2, 3, 4, 6}, 1, 1567},
      {"newcomer takes the mean of the leavers", five, {}, {1, 2, 3, 6}, 6, 1453},
      // Nobody left: the lowest quarter, rounded up to two teams: (1486.67 + 1420) / 2.
      {"league grew: lowest quarter", five, {}, {1, 2, 3, 4, 5, 6}, 6, 1453},
      {"one leaver", five, {}, {2, 3, 4, 5, 6}, 6, 1567},
      {"below 0 clamps", StartsAt({{1, 0}, {2, 0}}), {low_loses}, {1, 2}, 1, 0},
      {"above 65535 clamps", StartsAt({{1, 65535}, {2, 65535}}), {high_wins}, {1, 2}, 1, 65535},
      {"no previous teams: 1500", {}, {}, {7}, 7, 1500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeasonRecord previous;
    for (const auto& [team, s] : c.previous_starts) previous.teams.push_back(team);
    previous.matches = c.matches;
    const SeasonStarts next = NextSeasonStarts(previous, c.previous_starts, c.next_teams);
    ASSERT_EQ(next.size(), c.next_teams.size());
    EXPECT_EQ(next.at(c.team).rating[0][kOverall], c.expected);
    // Without played matches every goal average falls back to 2.6.
    if (c.matches.empty()) {
      EXPECT_DOUBLE_EQ(next.at(c.team).pr, kDefaultGoalAverage);
    }
  }
}

}  // namespace
}  // namespace morvela
