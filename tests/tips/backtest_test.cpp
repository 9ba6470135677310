// Backtests: the scoring formulas on hand-computed cases, the leak-freedom of the day-by-day
// replay, and agreement with the live tip runs on a database cut at the tested day.
#include "tips/backtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "predict/outcome_search.h"
#include "rating/season_replay.h"
#include "tips/tip_runs.h"
#include "tips/value_tips.h"
#include "tips_test_support.h"

namespace morvela {
namespace {

using test::FixtureDb;
using test::MatchSpec;
using test::RecordingView;
using test::SeasonStart;
using test::StoredTip;
using test::StoredTips;
using test::TipsDb;

constexpr double kTolerance = 1e-9;

// ---------------------------------------------------------------------- scoring formulas

TEST(BacktestScoringTest, ForecastScoresOfHandComputedCases) {
  const double third = 1.0 / 3;
  struct Case {
    const char* name;
    std::vector<double> p;
    size_t outcome;
    double brier, rps, log_loss;
  };
  const Case cases[] = {
      {"certain and right", {1, 0, 0}, 0, 0, 0, 0},
      // (2/3)^2 + 2 (1/3)^2 = 6/9; RPS ((1/3 - 1)^2 + (2/3 - 1)^2) / 2 = 5/18; ln 3.
      {"a third each, home won", {third, third, third}, 0, 6.0 / 9, 5.0 / 18, std::log(3.0)},
      // RPS ((1/3)^2 + (2/3 - 1)^2) / 2 = 1/9: a draw lies between the other two.
      {"a third each, draw", {third, third, third}, 1, 6.0 / 9, 1.0 / 9, std::log(3.0)},
      // Missing by one outcome costs half of missing by two in the RPS, the same in Brier.
      {"certain home, draw", {1, 0, 0}, 1, 2, 0.5, -std::log(1e-6)},
      {"certain home, away", {1, 0, 0}, 2, 2, 1, -std::log(1e-6)},
      // 0.25 + 0.09 + 0.64; RPS ((0.5)^2 + (0.8)^2) / 2 = 0.445.
      {"50/30/20, away", {0.5, 0.3, 0.2}, 2, 0.98, 0.445, -std::log(0.2)},
      // Under/over: two outcomes; the RPS is the one cumulative term.
      {"under 60 %, over", {0.6, 0.4}, 1, 0.72, 0.36, -std::log(0.4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(BrierScore(c.p, c.outcome), c.brier, kTolerance);
    EXPECT_NEAR(RankedProbabilityScore(c.p, c.outcome), c.rps, kTolerance);
    EXPECT_NEAR(LogLoss(c.p, c.outcome), c.log_loss, kTolerance);
  }
  ForecastScores sum;
  EXPECT_TRUE(std::isnan(sum.MeanBrier()));
  sum.Add(cases[0].p, cases[0].outcome);
  sum.Add(cases[5].p, cases[5].outcome);
  EXPECT_NEAR(sum.MeanBrier(), 0.49, kTolerance);
  EXPECT_NEAR(sum.MeanRps(), 0.2225, kTolerance);
  EXPECT_NEAR(sum.MeanLogLoss(), -std::log(0.2) / 2, kTolerance);
}

TEST(BacktestScoringTest, PercentagesAndOddsBecomeProbabilities) {
  struct PercentCase {
    std::vector<int> percents;
    std::vector<double> p;
  };
  const PercentCase percents[] = {
      {{50, 30, 20}, {0.5, 0.3, 0.2}},
      {{40, 40, 20}, {0.4, 0.4, 0.2}},
      {{34, 34, 34}, {1.0 / 3, 1.0 / 3, 1.0 / 3}},  // rounded percentages need not sum to 100
      {{0, 0, 0}, {1.0 / 3, 1.0 / 3, 1.0 / 3}},
      {{62, 38}, {0.62, 0.38}},
  };
  for (const PercentCase& c : percents) {
    const std::vector<double> p = ProbabilitiesFromPercents(c.percents);
    ASSERT_EQ(p.size(), c.p.size());
    for (size_t i = 0; i < p.size(); ++i) EXPECT_NEAR(p[i], c.p[i], kTolerance) << i;
  }

  struct OddsCase {
    const char* name;
    std::vector<std::optional<double>> odds;
    std::optional<std::vector<double>> p;
  };
  // 1/1.8 + 1/3.4 + 1/4.5 = 1.07190; the margin is taken off in proportion.
  const double s = 1 / 1.8 + 1 / 3.4 + 1 / 4.5;
  const OddsCase odds[] = {
      {"fair odds", {2.0, 4.0, 4.0}, std::vector<double>{0.5, 0.25, 0.25}},
      {"with margin", {1.8, 3.4, 4.5}, std::vector<double>{1 / 1.8 / s, 1 / 3.4 / s, 1 / 4.5 / s}},
      {"under/over", {1.9, 1.9}, std::vector<double>{0.5, 0.5}},
      {"a missing price", {1.8, std::nullopt, 4.5}, std::nullopt},
      {"a zero price", {1.8, 0.0, 4.5}, std::nullopt},
  };
  for (const OddsCase& c : odds) {
    SCOPED_TRACE(c.name);
    const auto p = ProbabilitiesFromOdds(c.odds);
    ASSERT_EQ(p.has_value(), c.p.has_value());
    if (!p) continue;
    double total = 0;
    for (size_t i = 0; i < p->size(); ++i) {
      EXPECT_NEAR((*p)[i], (*c.p)[i], kTolerance) << i;
      total += (*p)[i];
    }
    EXPECT_NEAR(total, 1, kTolerance);
  }
}

TEST(BacktestScoringTest, FlatStakesGiveRoiLosingRunAndDrawdown) {
  struct Bet {
    double odds;
    bool won;
  };
  struct Case {
    const char* name;
    std::vector<Bet> bets;
    double returns, roi;
    int losing_run;
    double drawdown;
  };
  const Case cases[] = {
      {"one win at 2.00", {{2.0, true}}, 2, 100, 0, 0},
      {"one loss", {{2.0, false}}, 0, -100, 1, 1},
      // Bank +1, 0, -1, +1, 0: two losses in a row, two units below the high point of 1.
      {"win, two losses, win, loss",
       {{2.0, true}, {1.5, false}, {1.5, false}, {3.0, true}, {2.5, false}},
       5,
       0,
       2,
       2},
      // Bank -1, -2, -3, +1: the start counts as the first high point.
      {"three losses, then a long shot",
       {{2, false}, {2, false}, {2, false}, {5.0, true}},
       5,
       25,
       3,
       3},
      // Bank +0.5, +1.5, +0.5, +2.5, +1.5, +0.5: the deepest fall comes after the last high
      // point; a profit of 0.5 on 6 stakes.
      {"falls after the later high point",
       {{1.5, true}, {2, true}, {4, false}, {3, true}, {3, false}, {3, false}},
       6.5,
       50.0 / 6,
       2,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BettingRecord r;
    for (const Bet& b : c.bets) r.Add(b.odds, b.won);
    EXPECT_EQ(r.Bets(), static_cast<int>(c.bets.size()));
    EXPECT_DOUBLE_EQ(r.Stakes(), static_cast<double>(c.bets.size()));
    EXPECT_NEAR(r.Returns(), c.returns, kTolerance);
    EXPECT_NEAR(r.Roi(), c.roi, kTolerance);
    EXPECT_EQ(r.LongestLosingRun(), c.losing_run);
    EXPECT_NEAR(r.MaxDrawdown(), c.drawdown, kTolerance);
  }
  EXPECT_TRUE(std::isnan(BettingRecord().Roi()));
}

TEST(BacktestScoringTest, CalibrationBucketsAreTensWithTheTopOneOpen) {
  const std::pair<int, int> cases[] = {{0, 0},  {9, 0},  {10, 1},  {59, 5},
                                       {60, 6}, {90, 9}, {100, 9}, {101, 9}};
  for (auto [percent, bucket] : cases) EXPECT_EQ(CalibrationBucket(percent), bucket) << percent;
}

BacktestMatch Scored(int league, const std::string& tip, int tip_percent, size_t outcome, bool won,
                     std::optional<double> odds = std::nullopt) {
  BacktestMatch m;
  m.league = league;
  m.percents = {50, 30, 20};
  m.tip = tip;
  m.tip_percent = tip_percent;
  m.outcome = outcome;
  m.won = won;
  m.odds = odds;
  m.naive = {0.45, 0.25, 0.30};
  return m;
}

TEST(BacktestScoringTest, GroupsCountKindsCalibrationScoresAndBets) {
  std::vector<BacktestMatch> matches = {
      Scored(4, "  1", 50, 0, true, 1.9), Scored(4, " 10", 80, 2, false, 1.2),
      Scored(4, "102", 100, 1, true),  // three-way: no odds, no calibration
      Scored(1, "  2", 55, 2, true),   // a won tip without odds is no bet
  };
  matches[0].market = std::vector<double>{0.5, 0.25, 0.25};
  // Value bets at the threshold 5 and just below it.
  matches[0].bets = {{"  1", 50, 1.9, 5, true}, {"  0", 30, 3.6, 2, false}};
  matches[1].bets = {{"  2", 20, 4.0, 6, true}};

  const std::vector<BacktestGroup> groups = ScoreBacktest(matches, ValueFilter{5});
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].league, 0);
  EXPECT_EQ(groups[1].league, 1);
  EXPECT_EQ(groups[2].league, 4);

  const BacktestGroup& all = groups[0];
  EXPECT_EQ(all.matches, 4);
  EXPECT_EQ(all.kinds[KindIndex(TipKind::Single)].tips, 2);
  EXPECT_EQ(all.kinds[KindIndex(TipKind::Single)].won, 2);
  EXPECT_EQ(all.kinds[KindIndex(TipKind::DoubleChance)].tips, 1);
  EXPECT_EQ(all.kinds[KindIndex(TipKind::DoubleChance)].won, 0);
  EXPECT_EQ(all.kinds[KindIndex(TipKind::ThreeWay)].won, 1);
  EXPECT_EQ(all.calibration[5].tips, 2);  // 50 and 55
  EXPECT_EQ(all.calibration[8].tips, 1);
  EXPECT_EQ(all.calibration[9].tips, 0);  // the three-way tip stays out
  EXPECT_EQ(all.tips_all.matches, 4);
  EXPECT_EQ(all.tips_odds.matches, 1);
  EXPECT_NEAR(all.market_odds.MeanBrier(), 0.375, kTolerance);  // 0.25 + 2 * 0.0625
  EXPECT_NEAR(all.naive_odds.MeanBrier(), 0.3025 + 0.0625 + 0.09, kTolerance);
  // Tips staked: 1.9 won, 1.2 lost.
  EXPECT_EQ(all.tip_bets.Bets(), 2);
  EXPECT_NEAR(all.tip_bets.Profit(), -0.1, kTolerance);
  // Value bets staked: the one at the threshold and the one above it.
  EXPECT_EQ(all.value_bets.Bets(), 2);
  EXPECT_NEAR(all.value_bets.Returns(), 1.9 + 4.0, kTolerance);

  EXPECT_EQ(groups[1].matches, 1);
  EXPECT_EQ(groups[1].tip_bets.Bets(), 0);
  EXPECT_EQ(groups[2].matches, 3);
  EXPECT_EQ(groups[2].value_bets.Bets(), 2);
}

// ------------------------------------------------------------------ replays on a database

constexpr int kLeague = 4;
constexpr int kOtherLeague = 6;

std::string Day(int n) {
  return FormatIsoDate(AddDays(*MakeDate(2011, 8, 1), n));
}

BacktestOptions OneDay(int day, int mode, std::vector<int> leagues = {kLeague}) {
  BacktestOptions o;
  o.from = o.to = *ParseIsoDate(Day(day));
  o.result_mode = test::ModeOf(mode);
  o.leagues = std::move(leagues);
  return o;
}

const BacktestMatch& MatchOf(const BacktestRun& run, int64_t id) {
  for (const BacktestMatch& m : run.matches)
    if (m.id == id) return m;
  throw std::runtime_error("match " + std::to_string(id) + " was not tested");
}

MatchSpec Played(int competition, int day, int home, int away, int hg, int ag) {
  MatchSpec m{.competition = competition, .date = Day(day), .home = home, .away = away};
  m.home_goals = hg;
  m.away_goals = ag;
  m.ht_home_goals = hg / 2;
  m.ht_away_goals = ag / 2;
  return m;
}

// A season of six teams, each pair meeting home and away in ten rounds three days apart,
// with scores from a fixed formula. Returns the ids of the matches in round order.
std::vector<int> PlaySeason(FixtureDb& db, int competition, int first_day,
                            const std::vector<int>& teams) {
  // The circle method: team 0 stays, the others rotate.
  std::vector<int> ids;
  for (int round = 0; round < 10; ++round) {
    for (int k = 0; k < 3; ++k) {
      const int r = round % 5;
      int a = k == 0 ? 0 : 1 + (r + k - 1) % 5;
      int b = 1 + (r + 4 - k) % 5;
      if (round >= 5) std::swap(a, b);
      const int hg = (teams[a] * 3 + teams[b] + round) % 4;
      const int ag = (teams[b] * 2 + teams[a] + round * 5) % 3;
      ids.push_back(
          db.AddMatch(Played(competition, first_day + 3 * round, teams[a], teams[b], hg, ag)));
    }
  }
  return ids;
}

// Two seasons of the tested league and one of another league, replayed so that every match
// carries the differences and the fixtures their under percentages.
class ReplayedLeague {
 public:
  explicit ReplayedLeague(TipsDb& t) : t_(t) {
    FixtureDb& db = t.db();
    for (int k = 0; k < 6; ++k) teams_.push_back(db.AddTeam(kLeague, "Team " + std::to_string(k)));
    std::vector<int> others;
    for (int k = 0; k < 6; ++k)
      others.push_back(db.AddTeam(kOtherLeague, "Other " + std::to_string(k)));
    Season(kLeague, "2010/2011", teams_, -400);
    Season(kOtherLeague, "Active", others, -20);
    competition_ = Season(kLeague, "Active", teams_, 0, &season_ids_);
  }

  int Competition() const { return competition_; }
  // The id of match k (0..29) of the current season; round k / 3 is played on day 3 (k / 3).
  int MatchId(int k) const { return season_ids_[k]; }

  void Replay(int competition) {
    NullWaitIndicator wait;
    Messages msgs;
    const ReplayReport r = ReplaySeason(t_.program().dm, wait, msgs, std::to_string(competition));
    ASSERT_FALSE(r.over_limits);
  }

 private:
  int Season(int league, const std::string& label, const std::vector<int>& teams, int first_day,
             std::vector<int>* ids = nullptr) {
    FixtureDb& db = t_.db();
    const int c = db.AddCompetition(league, label);
    for (size_t k = 0; k < teams.size(); ++k) {
      SeasonStart s;
      s.elo = s.ht_elo = s.sht_elo = 1420 + 30 * static_cast<int>(k);
      s.elo_home = s.ht_elo_home = s.sht_elo_home = 1460 + 10 * static_cast<int>(k);
      s.elo_away = s.ht_elo_away = s.sht_elo_away = 1440 + 20 * static_cast<int>(k);
      s.pr = 2.2 + 0.1 * static_cast<double>(k);
      s.pr_home = s.pr + 0.3;
      s.pr_away = s.pr - 0.3;
      db.AddTeamToCompetition(c, teams[k], s);
    }
    std::vector<int> played = PlaySeason(db, c, first_day, teams);
    if (ids) *ids = played;
    Replay(c);
    return c;
  }

  TipsDb& t_;
  std::vector<int> teams_;
  std::vector<int> season_ids_;
  int competition_ = 0;
};

// What a backtest says about a match, in the form a tip run stores it.
StoredTip AsStoredTip(const BacktestMatch& m, int mode) {
  auto n = [](int v) { return std::to_string(v); };
  StoredTip s{m.id,
              m.tip,
              n(m.percents[0]),
              mode == 3 ? "NULL" : n(m.percents[1]),
              n(m.percents.back()),
              mode == 3 ? "NULL" : n(m.tip_percent),
              m.odds ? FormatNumber2(*m.odds) : "0",
              TipProfit(m.tip_percent, m.odds)};
  return s;
}

StoredTip AsStoredBet(const BacktestMatch& m, const BacktestBet& b, int mode) {
  StoredTip s = AsStoredTip(m, mode);
  s.tip = b.tip;
  s.perc = mode == 3 ? "NULL" : std::to_string(b.percent);
  s.kurz = FormatNumber2(b.odds);
  s.profit = b.profit;
  return s;
}

// The tip of a played match on day D agrees with the tip the runs give on day D for a database
// cut at D: every match from D on deleted, the tested match turned back into a fixture.
TEST(BacktestTest, TipsAgreeWithLiveTipRunsOnADatabaseCutAtTheDay) {
  constexpr int kTested = 20;  // round 6, played on day 18
  const int day = 3 * (kTested / 3);
  TipsDb t(Day(day));
  ReplayedLeague h(t);
  const int target = h.MatchId(kTested);
  // Prices with two significant decimals read back as the same text ("2,35").
  t.db().AddOdds(target, 2.35, 3.35, 3.15, 1.45, 1.65, 1.35, 1.85, 1.95);

  std::vector<BacktestMatch> tested;
  for (int mode = 0; mode <= 3; ++mode)
    tested.push_back(MatchOf(RunBacktest(t.db().conn(), OneDay(day, mode)), target));

  Connection& c = t.db().conn();
  Query before(c);
  before.Open("SELECT * FROM VYSLEDKY WHERE ID=" + std::to_string(target));
  const int64_t difference = before.FieldByName("ELO_ROZDIEL").AsInteger();
  c.Execute("DELETE FROM VYSLEDKY WHERE DATUM>=#" + Day(day) + "# AND ID<>" +
            std::to_string(target));
  c.Execute(
      "UPDATE VYSLEDKY SET HOME_GOAL=NULL,AWAY_GOAL=NULL,VYSLEDOK=NULL,HT_HOME_GOAL=NULL,"
      "HT_AWAY_GOAL=NULL,HT_VYSLEDOK=NULL,SHT_HOME_GOAL=NULL,SHT_AWAY_GOAL=NULL,"
      "SHT_VYSLEDOK=NULL WHERE ID=" +
      std::to_string(target));
  h.Replay(h.Competition());
  Query fixture(c);
  fixture.Open("SELECT * FROM VYSLEDKY WHERE ID=" + std::to_string(target));
  // A team plays once a day, so the fixture's rating difference is the match's stored one.
  EXPECT_EQ(fixture.FieldByName("ELO_ROZDIEL").AsInteger(), difference);
  EXPECT_EQ(tested[0].difference, difference);

  Program& p = t.program();
  p.settings.Tip3 = true;
  for (int mode = 0; mode <= 3; ++mode) {
    SCOPED_TRACE("result mode " + std::to_string(mode));
    const BacktestMatch& m = tested[mode];
    p.selection.result_mode = test::ModeOf(mode);
    RecordingView view;
    ASSERT_TRUE(RunWeekTips(p, view));
    EXPECT_EQ(StoredTips(c), std::vector<StoredTip>{AsStoredTip(m, mode)});

    ASSERT_TRUE(RunValueTips(p, view));
    std::vector<StoredTip> bets;
    for (const BacktestBet& b : m.bets) bets.push_back(AsStoredBet(m, b, mode));
    std::sort(bets.begin(), bets.end(), [](const StoredTip& a, const StoredTip& b) {
      return a.profit != b.profit ? a.profit > b.profit : a.tip < b.tip;
    });
    EXPECT_EQ(StoredTips(c, "PROFIT DESC, TIP"), bets);
    // Imported and fixture databases have no half-time odds.
    EXPECT_EQ(bets.size(), mode == 3 ? 2u : mode == 0 ? 6u : 0u);
  }
}

// Nothing dated on or after the tested day changes its tip: neither a result of the day itself
// nor later matches at the same difference, between the same teams or in other leagues.
TEST(BacktestTest, LaterMatchesNeverChangeATip) {
  constexpr int kTested = 21;
  const int day = 3 * (kTested / 3);
  for (int mode : {0, 1, 2, 3}) {
    SCOPED_TRACE("result mode " + std::to_string(mode));
    TipsDb t(Day(day));
    ReplayedLeague h(t);
    const int target = h.MatchId(kTested);
    const BacktestMatch before = MatchOf(RunBacktest(t.db().conn(), OneDay(day, mode)), target);

    Query q(t.db().conn());
    q.Open("SELECT * FROM VYSLEDKY WHERE ID=" + std::to_string(target));
    const int home = static_cast<int>(q.FieldByName("HOME").AsInteger());
    const int away = static_cast<int>(q.FieldByName("AWAY").AsInteger());
    const int d = static_cast<int>(q.FieldByName("ELO_ROZDIEL").AsInteger());
    const int ht_d = static_cast<int>(q.FieldByName("HT_ELO_ROZDIEL").AsInteger());
    const int sht_d = static_cast<int>(q.FieldByName("SHT_ELO_ROZDIEL").AsInteger());
    // Away wins with many goals at the tested difference, on the day and after it, between the
    // tested teams and in another league.
    for (int later : {0, 1, 30}) {
      for (int k = 0; k < 15; ++k) {
        MatchSpec m =
            Played(h.Competition(), day + later, k % 2 ? home : away, k % 2 ? away : home, 2, 5);
        m.elo_diff = d;
        m.ht_elo_diff = ht_d;
        m.sht_elo_diff = sht_d;
        t.db().AddMatch(m);
        m.competition = t.db().AddCompetition(kOtherLeague, "later " + std::to_string(k));
        t.db().AddMatch(m);
      }
    }
    // The additions reach the tested windows: without the restriction the search would differ.
    if (mode != 3) {
      PredictionState live;
      SearchContext ctx{.result_mode = test::ModeOf(mode), .league = std::to_string(kLeague)};
      FindOutcomeFrequencies(t.db().conn(), live, ctx, SearchMode::kList, before.difference);
      EXPECT_NE(std::vector<int>({live.HomePercent, live.DrawPercent, live.AwayPercent}),
                before.percents);
    }

    const BacktestMatch after = MatchOf(RunBacktest(t.db().conn(), OneDay(day, mode)), target);
    EXPECT_EQ(after.percents, before.percents);
    EXPECT_EQ(after.tip, before.tip);
    EXPECT_EQ(after.tip_percent, before.tip_percent);
    EXPECT_EQ(after.naive, before.naive);
    EXPECT_EQ(after.model, before.model);
    EXPECT_EQ(after.blend, before.blend);
  }
}

// The naive baseline is the league's outcome frequency over its matches before the day.
TEST(BacktestTest, NaiveBaselineIsTheLeaguesFrequencyBeforeTheDay) {
  FixtureDb db;
  const int c = db.AddCompetition(kLeague);
  const int other = db.AddCompetition(kOtherLeague);
  std::vector<int> teams;
  for (int k = 0; k < 8; ++k) teams.push_back(db.AddTeam(kLeague, "T" + std::to_string(k)));
  auto play = [&](int competition, int day, int pair, int hg, int ag) {
    return db.AddMatch(Played(competition, day, teams[2 * pair], teams[2 * pair + 1], hg, ag));
  };
  const int first = play(c, 1, 0, 1, 0);     // home win
  const int same_day = play(c, 1, 1, 0, 0);  // draw on the same day
  play(other, 2, 2, 0, 3);                   // another league's away win counts nowhere
  const int third = play(c, 3, 2, 2, 1);     // after a home win and a draw
  play(c, 4, 3, 0, 1);
  const int fifth = play(c, 5, 0, 3, 3);  // after two home wins, a draw and an away win

  BacktestOptions o = OneDay(1, 0);
  o.to = *ParseIsoDate(Day(5));
  const BacktestRun run = RunBacktest(db.conn(), o);
  ASSERT_EQ(run.matches.size(), 5u);
  const double third_of = 1.0 / 3;
  const std::pair<int, std::vector<double>> cases[] = {
      {first, {third_of, third_of, third_of}},
      {same_day, {third_of, third_of, third_of}},
      {third, {0.5, 0.5, 0}},
      {fifth, {0.5, 0.25, 0.25}},
  };
  for (const auto& [id, naive] : cases) {
    const std::vector<double>& got = MatchOf(run, id).naive;
    ASSERT_EQ(got.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], naive[i], kTolerance) << id << " " << i;
  }

  // Under/over: the share of matches with at most two goals.
  o.result_mode = test::ModeOf(3);
  o.leagues = {kLeague};
  const BacktestRun uo = RunBacktest(db.conn(), o);
  EXPECT_EQ(uo.matches.size(), 0u);  // no team is listed for the season: no under percentage
  EXPECT_EQ(uo.skipped, 5);
}

}  // namespace
}  // namespace morvela
