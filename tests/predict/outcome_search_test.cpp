#include "predict/outcome_search.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixture_db.h"
#include "predict/outcome_reference.h"
#include "test_support.h"

namespace morvela {
namespace {

using test::FixtureDb;
using test::MatchSpec;

// Past matches placed by hand: count copies of one score at one difference. The half-time
// and second-half differences equal the full-time one unless half_diff is given.
struct Placed {
  int league = 1;
  int diff = 0;
  std::string score = "1:0";  // "h:a", or "" for a fixture
  int count = 1;
  std::optional<int> ht_home = std::nullopt, ht_away = std::nullopt;
  std::string date = "2020-01-01";
  bool forfeit = false;
  std::optional<int> half_diff = std::nullopt;
};

struct Percent {
  int home, draw, away;
  bool operator==(const Percent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Percent& p) {
  return os << p.home << "/" << p.draw << "/" << p.away;
}

Percent Final(const PredictionState& s) {
  return {s.HomePercent, s.DrawPercent, s.AwayPercent};
}
Percent League(const PredictionState& s) {
  return {s.LeagueHomePercent, s.LeagueDrawPercent, s.LeagueAwayPercent};
}

// A database with one competition in each of the leagues 1 to 4.
class SearchDb {
 public:
  SearchDb() {
    for (int league = 1; league <= 4; ++league) {
      competition_[league] = db_.AddCompetition(league);
      home_[league] = db_.AddTeam(league, "Home " + std::to_string(league));
      away_[league] = db_.AddTeam(league, "Away " + std::to_string(league));
    }
  }

  Connection& conn() { return db_.conn(); }

  // Returns the ID of the last match added.
  int Add(const Placed& p) { return Insert(competition_[p.league], p); }

  void AddAll(const std::vector<Placed>& placed) {
    for (const Placed& p : placed) Add(p);
  }

  // A match in a competition that SUTAZ does not know.
  void AddOrphan(const Placed& p) { Insert(999, p); }

 private:
  FixtureDb db_;
  int competition_[5] = {};
  int home_[5] = {};
  int away_[5] = {};

  int Insert(int competition, const Placed& p) {
    MatchSpec m;
    m.competition = competition;
    m.date = p.date;
    m.home = home_[p.league];
    m.away = away_[p.league];
    m.ht_home_goals = p.ht_home;
    m.ht_away_goals = p.ht_away;
    m.forfeit = p.forfeit;
    m.elo_diff = p.diff;
    m.ht_elo_diff = m.sht_elo_diff = p.half_diff.value_or(p.diff);
    if (!p.score.empty()) {
      const size_t colon = p.score.find(':');
      m.home_goals = std::stoi(p.score.substr(0, colon));
      m.away_goals = std::stoi(p.score.substr(colon + 1));
    }
    int id = 0;
    for (int i = 0; i < p.count; ++i) id = db_.AddMatch(m);
    return id;
  }
};

SearchContext Context(int result_mode, int league = 1) {
  SearchContext ctx;
  ctx.result_mode = test::ModeOf(result_mode);
  ctx.league = std::to_string(league);
  return ctx;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int w = from; w <= to; ++w) v.push_back(w);
  return v;
}

TEST(OutcomeSearchStatementTest, TextsAreExact) {
  struct Case {
    SearchMode mode;
    int result_mode;
    bool league_pass;
    int64_t lo, hi;
    std::string expected;
  };
  const Case cases[] = {
      {SearchMode::kLive, 0, true, 248, 252,
       R"sql(SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=248 AND ELO_ROZDIEL<=252 AND VYSLEDOK<>"" AND HT_VYSLEDOK<>"" AND HT_HOME_GOAL=2 AND HT_AWAY_GOAL=1 AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      // A live search counts full-time outcomes whatever the result mode.
      {SearchMode::kLive, 2, true, 248, 252,
       R"sql(SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=248 AND ELO_ROZDIEL<=252 AND VYSLEDOK<>"" AND HT_VYSLEDOK<>"" AND HT_HOME_GOAL=2 AND HT_AWAY_GOAL=1 AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kList, 0, true, 248, 252,
       R"sql(SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=248 AND ELO_ROZDIEL<=252 AND VYSLEDOK<>"" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kMatch, 0, true, -1139, -961,
       R"sql(SELECT VYSLEDOK,ID,ELO_ROZDIEL,HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ELO_ROZDIEL>=-1139 AND ELO_ROZDIEL<=-961 AND VYSLEDOK<>"" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kList, 1, true, 248, 252,
       R"sql(SELECT HT_VYSLEDOK,ID,HT_ELO_ROZDIEL FROM VYSLEDKY WHERE HT_ELO_ROZDIEL>=248 AND HT_ELO_ROZDIEL<=252 AND HT_VYSLEDOK<>"" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kMatch, 1, true, 248, 252,
       R"sql(SELECT HT_VYSLEDOK,ID,HT_ELO_ROZDIEL FROM VYSLEDKY WHERE HT_ELO_ROZDIEL>=248 AND HT_ELO_ROZDIEL<=252 AND HT_VYSLEDOK<>"" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kMatch, 2, true, 248, 252,
       R"sql(SELECT SHT_VYSLEDOK,ID,SHT_ELO_ROZDIEL FROM VYSLEDKY WHERE SHT_ELO_ROZDIEL>=248 AND SHT_ELO_ROZDIEL<=252 AND SHT_VYSLEDOK<>"" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=7))sql"},
      {SearchMode::kLive, 1, false, 249, 251,
       R"sql(SELECT VYSLEDOK FROM VYSLEDKY WHERE ELO_ROZDIEL>=249 AND ELO_ROZDIEL<=251 AND VYSLEDOK<>"" AND HT_VYSLEDOK<>"" AND HT_HOME_GOAL=2 AND HT_AWAY_GOAL=1 AND KONTUMACIA=0 )sql"},
      {SearchMode::kList, 0, false, 249, 251,
       R"sql(SELECT VYSLEDOK,HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ELO_ROZDIEL>=249 AND ELO_ROZDIEL<=251 AND VYSLEDOK<>""  AND KONTUMACIA=0 )sql"},
      {SearchMode::kMatch, 0, false, 249, 251,
       R"sql(SELECT VYSLEDOK,HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ELO_ROZDIEL>=249 AND ELO_ROZDIEL<=251 AND VYSLEDOK<>""  AND KONTUMACIA=0 )sql"},
      {SearchMode::kList, 1, false, 249, 251,
       R"sql(SELECT HT_VYSLEDOK FROM VYSLEDKY WHERE HT_ELO_ROZDIEL>=249 AND HT_ELO_ROZDIEL<=251 AND HT_VYSLEDOK<>""  AND KONTUMACIA=0 )sql"},
      {SearchMode::kMatch, 2, false, -5, 5,
       R"sql(SELECT SHT_VYSLEDOK FROM VYSLEDKY WHERE SHT_ELO_ROZDIEL>=-5 AND SHT_ELO_ROZDIEL<=5 AND SHT_VYSLEDOK<>""  AND KONTUMACIA=0 )sql"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << " result mode "
                                    << c.result_mode << (c.league_pass ? " league" : " all"));
    SearchContext ctx = Context(c.result_mode, 7);
    ctx.ht_home = 2;
    ctx.ht_away = 1;
    const std::string text = c.league_pass ? LeaguePassStatement(ctx, c.mode, c.lo, c.hi)
                                           : AllLeaguesPassStatement(ctx, c.mode, c.lo, c.hi);
    EXPECT_EQ(text, c.expected);
    // A backtest appends its date limit to the unchanged statement.
    ctx.before = MakeDate(2021, 3, 7);
    const std::string limited = c.league_pass ? LeaguePassStatement(ctx, c.mode, c.lo, c.hi)
                                              : AllLeaguesPassStatement(ctx, c.mode, c.lo, c.hi);
    EXPECT_EQ(limited, c.expected + " AND DATUM<#2021-03-07#");
  }
}

TEST(OutcomeSearchWidthTest, StartWidthsFollowTheTables) {
  struct Case {
    int32_t d;
    int league, all;
  };
  const Case cases[] = {
      {0, 0, 0},
      {99, 0, 0},
      {-99, 0, 0},
      {100, 1, 0},
      {-199, 1, 0},
      {250, 2, 1},
      {-250, 2, 1},
      {399, 3, 2},
      {400, 5, 3},
      {500, 8, 5},
      {650, 13, 8},
      {-700, 21, 13},
      {899, 34, 21},
      {950, 55, 34},
      {-1050, 89, 55},
      {1099, 89, 55},
      {1100, 89, 55},
      {-1100, 89, 55},
      {25000, 89, 55},
      {std::numeric_limits<int32_t>::min(), 89, 55},
      {std::numeric_limits<int32_t>::max(), 89, 55},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    EXPECT_EQ(LeagueStartWidth(c.d), c.league);
    EXPECT_EQ(AllLeaguesStartWidth(c.d), c.all);
  }
}

// Which windows each pass tries, which window's matches it counts, and the fallbacks of a
// pass without matches.
TEST(OutcomeSearchWideningTest, WidensUntilEnoughMatches) {
  struct Case {
    std::string name;
    std::vector<Placed> matches;
    int32_t d;
    std::vector<int> league_widths, all_widths;
    Percent league, final;
  };
  const std::vector<Case> cases = {
      {"d=250 starts at 2 (248..252) and 1 (249..251)",
       {{.league = 1, .diff = 248, .score = "1:0", .count = 12},
        {.league = 1, .diff = 253, .score = "0:1", .count = 3},
        {.league = 2, .diff = 252, .score = "1:1", .count = 4}},
       250,
       {2},
       {1, 2},
       {100, 0, 0},
       // All leagues at w=2: 12 home wins and 4 draws give 75/25/0; 87.5 -> 88, 12.5 -> 12.
       {88, 12, 0}},
      {"d=-1050 runs one statement per pass at the widest windows",
       {{.league = 1, .diff = -1139, .score = "1:0"},
        {.league = 1, .diff = -1140, .score = "0:1"},
        {.league = 1, .diff = -1106, .score = "1:1"}},
       -1050,
       {89},
       {55},
       // League window -1139..-961 holds the home win and the draw; the all-leagues window
       // -1105..-995 holds nothing, so d < 0 gives 0/0/100.
       {50, 50, 0},
       {25, 25, 50}},
      {"a first window with 12 matches runs one statement",
       {{.league = 1, .diff = 0, .score = "1:1", .count = 12},
        {.league = 1, .diff = 1, .score = "1:0", .count = 5}},
       0,
       {0},
       {0},
       {0, 100, 0},
       {0, 100, 0}},
      {"widening stops at the first width that reaches 12",
       {{.league = 1, .diff = 0, .score = "1:0", .count = 6},
        {.league = 1, .diff = -3, .score = "1:1", .count = 5},
        {.league = 1, .diff = 5, .score = "0:1"},
        {.league = 1, .diff = -6, .score = "0:1", .count = 3}},
       0,
       {0, 1, 2, 3, 4, 5},
       {0, 1, 2, 3, 4, 5},
       // 6, 5 and 1 of 12: 50, 41.67 and 8.33.
       {50, 42, 8},
       {50, 42, 8}},
      {"no league match and d > 0 gives 100/0/0 to the average",
       {{.league = 2, .diff = 150, .score = "2:0", .count = 8},
        {.league = 2, .diff = 150, .score = "0:0", .count = 6},
        {.league = 2, .diff = 150, .score = "0:2", .count = 6}},
       150,
       Range(1, 89),
       {0},
       {100, 0, 0},
       {70, 15, 15}},
      {"no league match and d < 0 gives 0/0/100 to the average",
       {{.league = 2, .diff = -300, .score = "1:0", .count = 20}},
       -300,
       Range(3, 89),
       {2},
       {0, 0, 100},
       {50, 0, 50}},
      {"d=0 without league match gives 0/0/0 to the average",
       {{.league = 2, .diff = 0, .score = "1:0", .count = 12}},
       0,
       Range(0, 89),
       {0},
       {0, 0, 0},
       {50, 0, 0}},
      {"d=0 without any match gives 0/0/0",
       {},
       0,
       Range(0, 89),
       Range(0, 55),
       {0, 0, 0},
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchDb db;
    db.AddAll(c.matches);
    PredictionState state;
    SearchTrace trace;
    FindOutcomeFrequencies(db.conn(), state, Context(0), SearchMode::kList, c.d, &trace);
    EXPECT_EQ(trace.league_widths, c.league_widths);
    EXPECT_EQ(trace.all_widths, c.all_widths);
    EXPECT_EQ(trace.statements, static_cast<int>(c.league_widths.size() + c.all_widths.size()));
    EXPECT_EQ(League(state), c.league);
    EXPECT_EQ(Final(state), c.final);
  }
}

TEST(OutcomeSearchRoundingTest, RoundsExactRatiosHalfToEven) {
  struct Case {
    std::string name;
    std::vector<Placed> matches;
    Percent league, final;
  };
  const std::vector<Case> cases = {
      // 23 of 40 is exactly 57.5 (doubles give 57.4999...), 17 of 40 exactly 42.5.
      {"23 of 40",
       {{.league = 1, .score = "2:1", .count = 23}, {.league = 1, .score = "1:2", .count = 17}},
       {58, 0, 42},
       {58, 0, 42}},
      // League 50/45/5; all leagues 18, 19 and 3 of 40: 45, 47.5 -> 48, 7.5 -> 8.
      // Averages 47.5 -> 48, 46.5 -> 46, 6.5 -> 6.
      {"averages",
       {{.league = 1, .score = "1:0", .count = 10},
        {.league = 1, .score = "0:0", .count = 9},
        {.league = 1, .score = "0:1", .count = 1},
        {.league = 2, .score = "1:0", .count = 8},
        {.league = 2, .score = "0:0", .count = 10},
        {.league = 2, .score = "0:1", .count = 2}},
       {50, 45, 5},
       {48, 46, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchDb db;
    db.AddAll(c.matches);
    PredictionState state;
    FindOutcomeFrequencies(db.conn(), state, Context(0), SearchMode::kList, 0);
    EXPECT_EQ(League(state), c.league);
    EXPECT_EQ(Final(state), c.final);
  }
}

TEST(OutcomeSearchCountingTest, OtherOutcomeValuesCountOnlyInTheMatchNumber) {
  SearchDb db;
  db.Add({.league = 1, .score = "1:0", .count = 9});
  for (const char* odd : {"3", "x", "-1"}) {
    const int id = db.Add({.league = 1, .score = "1:0"});
    db.conn().Execute(std::string("UPDATE VYSLEDKY SET VYSLEDOK=\"") + odd +
                      "\" WHERE ID=" + std::to_string(id));
  }
  PredictionState state;
  SearchTrace trace;
  FindOutcomeFrequencies(db.conn(), state, Context(0), SearchMode::kList, 0, &trace);
  // Twelve rows stop the widening at once; 9 of 12 are home wins.
  EXPECT_EQ(trace.league_widths, std::vector<int>{0});
  EXPECT_EQ(League(state), (Percent{75, 0, 0}));
  EXPECT_EQ(Final(state), (Percent{75, 0, 0}));
}

// Outcome values are read as integers from their text.
TEST(OutcomeSearchCountingTest, OutcomeValueReadsTrimmedIntegers) {
  struct Case {
    Cell cell;
    std::optional<int64_t> expected;
  };
  const Case cases[] = {
      {std::string("1"), 1},
      {std::string("0"), 0},
      {std::string(" 2 "), 2},
      {int64_t{2}, 2},
      {std::string("7"), 7},
      {std::string("x"), std::nullopt},
      {std::string(""), std::nullopt},
      {Cell{}, std::nullopt},
      {std::string("1a"), std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OutcomeValue(Field(c.cell, ColumnKind::kPlain)), c.expected);
  }
}

TEST(OutcomeSearchExclusionTest, ForfeitsAndFixturesNeverCount) {
  SearchDb db;
  db.AddAll({
      {.league = 1, .score = "1:0", .count = 12, .ht_home = 0, .ht_away = 0},
      {.league = 1, .score = "0:3", .count = 6, .ht_home = 0, .ht_away = 0, .forfeit = true},
      {.league = 1, .score = "", .count = 6},
  });
  struct Case {
    SearchMode mode;
    int result_mode;
  };
  const Case cases[] = {{SearchMode::kList, 0},  {SearchMode::kList, 1},  {SearchMode::kList, 2},
                        {SearchMode::kMatch, 0}, {SearchMode::kMatch, 2}, {SearchMode::kLive, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "mode " << static_cast<int>(c.mode) << " result mode " << c.result_mode);
    PredictionState state;
    FindOutcomeFrequencies(db.conn(), state, Context(c.result_mode), c.mode, 0);
    // First halves 0:0 are draws; second halves 1:0 home wins.
    const Percent expected = c.result_mode == 1 ? Percent{0, 100, 0} : Percent{100, 0, 0};
    EXPECT_EQ(League(state), expected);
    EXPECT_EQ(Final(state), expected);
  }
}

TEST(OutcomeSearchExclusionTest, BeforeLimitLeavesOutLaterMatches) {
  SearchDb db;
  db.AddAll({
      {.league = 1, .score = "1:0", .count = 12, .date = "2021-06-04"},
      {.league = 1, .score = "0:1", .count = 12, .date = "2021-06-05"},
  });
  struct Case {
    std::optional<Date> before;
    Percent final;
    size_t league_statements;
  };
  const Case cases[] = {
      {std::nullopt, {50, 0, 50}, 1},
      {MakeDate(2021, 6, 6), {50, 0, 50}, 1},
      // Strictly before: the matches of 5 June are left out on 5 June.
      {MakeDate(2021, 6, 5), {100, 0, 0}, 1},
      {MakeDate(2021, 6, 4), {0, 0, 0}, 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before ? FormatIsoDate(*c.before) : "no limit");
    SearchContext ctx = Context(0);
    ctx.before = c.before;
    PredictionState state;
    SearchTrace trace;
    FindOutcomeFrequencies(db.conn(), state, ctx, SearchMode::kList, 0, &trace);
    EXPECT_EQ(Final(state), c.final);
    EXPECT_EQ(trace.league_widths.size(), c.league_statements);
  }
}

TEST(OutcomeSearchLiveTest, CountsOneHalfTimeScore) {
  struct Case {
    std::string name;
    std::vector<Placed> matches;
    int result_mode;
    int ht_home, ht_away;
    std::vector<int> league_widths;
    Percent league, final;
  };
  const std::vector<Case> cases = {
      {"no past match with the half-time score",
       {{.league = 1, .score = "2:0", .count = 12, .ht_home = 1, .ht_away = 0}},
       0,
       2,
       2,
       Range(0, 89),
       {0, 0, 0},
       {0, 0, 0}},
      {"five matches suffice",
       {{.league = 1, .score = "2:0", .count = 3, .ht_home = 1, .ht_away = 0},
        {.league = 1, .score = "1:1", .count = 2, .ht_home = 1, .ht_away = 0},
        {.league = 1, .diff = 1, .score = "0:3", .count = 9, .ht_home = 1, .ht_away = 0}},
       0,
       1,
       0,
       {0},
       {60, 40, 0},
       {60, 40, 0}},
      {"matches only in other leagues: the all-leagues figures unaveraged",
       {{.league = 2, .score = "2:0", .count = 3, .ht_home = 1, .ht_away = 0},
        {.league = 2, .score = "1:1", .ht_home = 1, .ht_away = 0},
        {.league = 2, .score = "1:2", .ht_home = 1, .ht_away = 0}},
       0,
       1,
       0,
       Range(0, 89),
       {0, 0, 0},
       {60, 20, 20}},
      {"a league match beyond the all-leagues limit: the league figures unaveraged",
       {{.league = 1, .diff = 70, .score = "2:0", .ht_home = 1, .ht_away = 0}},
       0,
       1,
       0,
       Range(0, 89),
       {100, 0, 0},
       {100, 0, 0}},
      {"full-time outcomes and differences in first-half mode",
       {{.league = 1, .score = "1:2", .count = 5, .ht_home = 1, .ht_away = 0, .half_diff = 500}},
       1,
       1,
       0,
       {0},
       {0, 0, 100},
       {0, 0, 100}},
      {"both passes found matches: averaged",
       {{.league = 1, .score = "1:0", .count = 5, .ht_home = 0, .ht_away = 0},
        {.league = 2, .score = "0:1", .count = 5, .ht_home = 0, .ht_away = 0}},
       0,
       0,
       0,
       {0},
       {100, 0, 0},
       // All leagues 50/0/50: (100 + 50) / 2 and (0 + 50) / 2.
       {75, 0, 25}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchDb db;
    db.AddAll(c.matches);
    SearchContext ctx = Context(c.result_mode);
    ctx.ht_home = c.ht_home;
    ctx.ht_away = c.ht_away;
    PredictionState state;
    state.LikelyScore = "prev";
    SearchTrace trace;
    FindOutcomeFrequencies(db.conn(), state, ctx, SearchMode::kLive, 0, &trace);
    EXPECT_EQ(trace.league_widths, c.league_widths);
    EXPECT_EQ(League(state), c.league);
    EXPECT_EQ(Final(state), c.final);
    EXPECT_EQ(state.LikelyScore, "prev");
  }
}

TEST(OutcomeSearchLikelyScoreTest, MostFrequentScoreOfBothPasses) {
  struct Case {
    std::string name;
    std::vector<Placed> matches;
    SearchMode mode;
    int result_mode;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"ties go to fewer home goals, then fewer away goals",
       {{.league = 1, .score = "2:1", .count = 3},
        {.league = 1, .score = "1:3", .count = 3},
        {.league = 1, .score = "1:2", .count = 3},
        {.league = 1, .score = "0:0", .count = 2},
        {.league = 1, .score = "3:0", .count = 1}},
       SearchMode::kMatch,
       0,
       "1:2"},
      // League pass 12 x 1:0; all leagues adds 12 x 1:0 and 13 x 0:1.
      {"both passes add to the matrix",
       {{.league = 1, .score = "1:0", .count = 12}, {.league = 2, .score = "0:1", .count = 13}},
       SearchMode::kMatch,
       0,
       "1:0"},
      // The same league pass; now 25 away wins elsewhere outweigh twice 12 home wins.
      {"the all-leagues rows add to the league rows",
       {{.league = 1, .score = "1:0", .count = 12}, {.league = 2, .score = "0:1", .count = 25}},
       SearchMode::kMatch,
       0,
       "0:1"},
      {"scores beyond 16 goals stay out of the matrix",
       {{.league = 1, .score = "17:0", .count = 12}, {.league = 1, .score = "3:3"}},
       SearchMode::kMatch,
       0,
       "3:3"},
      {"no match gives 0:0", {}, SearchMode::kMatch, 0, "0:0"},
      {"a list search leaves it unchanged",
       {{.league = 1, .score = "2:1", .count = 12}},
       SearchMode::kList,
       0,
       "prev"},
      {"a first-half match search leaves it unchanged",
       {{.league = 1, .score = "2:1", .count = 12, .ht_home = 1, .ht_away = 1}},
       SearchMode::kMatch,
       1,
       "prev"},
      {"a second-half match search leaves it unchanged",
       {{.league = 1, .score = "2:1", .count = 12, .ht_home = 1, .ht_away = 1}},
       SearchMode::kMatch,
       2,
       "prev"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchDb db;
    db.AddAll(c.matches);
    PredictionState state;
    state.LikelyScore = "prev";
    FindOutcomeFrequencies(db.conn(), state, Context(c.result_mode), c.mode, 0);
    EXPECT_EQ(state.LikelyScore, c.expected);
  }
}

TEST(OutcomeSearchLikelyScoreTest, OutsizedScoreStillCountsAsOutcome) {
  SearchDb db;
  db.AddAll({{.league = 1, .score = "17:0", .count = 11}, {.league = 1, .score = "3:3"}});
  PredictionState state;
  FindOutcomeFrequencies(db.conn(), state, Context(0), SearchMode::kMatch, 0);
  // 11 home wins and one draw of 12: 91.67 and 8.33.
  EXPECT_EQ(Final(state), (Percent{92, 8, 0}));
}

TEST(OutcomeSearchArgumentTest, RejectsUndefinedSearchesBeforeAnyStatement) {
  struct Case {
    SearchMode mode;
    int result_mode;
  };
  const Case cases[] = {{SearchMode::kList, 3},
                        {SearchMode::kMatch, 3},
                        {SearchMode::kList, -1},
                        {SearchMode::kLive, 4},
                        {static_cast<SearchMode>(0), 0}};
  SearchDb db;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "mode " << static_cast<int>(c.mode) << " result mode " << c.result_mode);
    const uint64_t before = db.conn().Stats().statements;
    PredictionState state;
    EXPECT_THROW(FindOutcomeFrequencies(db.conn(), state, Context(c.result_mode), c.mode, 250),
                 std::invalid_argument);
    EXPECT_EQ(db.conn().Stats().statements, before);
  }
  EXPECT_THROW(OutcomeReference(db.conn(), ResultMode::kUnderOver), std::invalid_argument);
}

// The in-memory reference must give the list search's percentages exactly, over a random
// database with the awkward rows the SQL filters must drop.
TEST(OutcomeSearchReferenceTest, AgreesWithTheSqlSearch) {
  SearchDb db;
  std::mt19937 rng(20240611);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  int64_t counted = 0;  // played, not forfeited: what every result mode may count
  db.conn().Begin();
  for (int i = 0; i < 2000; ++i) {
    // Mostly near zero, a few far out so that the wide windows and their limits matter.
    const int diff = pick(10) == 0 ? pick(2601) - 1300 : pick(401) + pick(401) - 400;
    const int half_diff = pick(10) == 0 ? pick(2601) - 1300 : pick(301) + pick(301) - 300;
    Placed p{.league = 1 + pick(3),
             .diff = diff,
             .score = std::to_string(pick(5)) + ":" + std::to_string(pick(4)),
             .ht_home = pick(2),
             .ht_away = pick(2),
             .half_diff = half_diff};
    switch (pick(40)) {
      case 0:  // a fixture: no score at all
        p.score = "";
        p.ht_home = p.ht_away = std::nullopt;
        db.Add(p);
        break;
      case 1:
        p.forfeit = true;
        db.Add(p);
        break;
      case 2:
        db.AddOrphan(p);  // counts in all leagues only
        ++counted;
        break;
      default:
        db.Add(p);
        ++counted;
    }
  }
  db.conn().Commit();

  for (int result_mode = 0; result_mode <= 2; ++result_mode) {
    SCOPED_TRACE(testing::Message() << "result mode " << result_mode);
    const OutcomeReference reference(db.conn(), test::ModeOf(result_mode));
    EXPECT_EQ(reference.MatchCount(), counted);
    int i = 0;
    for (int32_t d = -1200; d <= 1200; d += 7, ++i) {
      const int league = 1 + i % 4;  // league 4 has no match at all
      SCOPED_TRACE(testing::Message() << "d " << d << " league " << league);
      PredictionState sql, memory;
      FindOutcomeFrequencies(db.conn(), sql, Context(result_mode, league), SearchMode::kList, d);
      reference.ListSearch(memory, league, d);
      ASSERT_EQ(Final(memory), Final(sql));
      ASSERT_EQ(League(memory), League(sql));
    }
  }
}

}  // namespace
}  // namespace morvela
