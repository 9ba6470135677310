// The second opinion in the backtest: the goal model and the blend see only the past, the blend
// of a season learns from earlier seasons alone, and every forecaster is scored beside the tips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/database.h"
#include "fixture_db.h"
#include "tips/backtest.h"

namespace morvela {
namespace {

using test::FixtureDb;
using test::MatchSpec;

constexpr int kLeague = 4;

std::string Day(int year, int n) {
  const Date d = AddDays(*MakeDate(year, 8, 1), n);
  return FormatIsoDate(d);
}

// Two seasons of a six-club league, each a double round robin on consecutive days from August
// 1st, every match with 1X2 and under/over odds. Goals follow the clubs' order so the model
// has something to find.
struct TwoSeasons {
  FixtureDb db;
  std::vector<int> second_season_ids;
  TwoSeasons() {
    std::vector<int> clubs;
    for (int k = 0; k < 6; ++k) clubs.push_back(db.AddTeam(kLeague, "C" + std::to_string(k)));
    for (int year : {2022, 2023}) {
      const int c = db.AddCompetition(kLeague, std::to_string(year), 6, year);
      for (int club : clubs) db.AddTeamToCompetition(c, club);
      int n = 0;
      for (int h = 0; h < 6; ++h)
        for (int a = 0; a < 6; ++a) {
          if (h == a) continue;
          MatchSpec m{c, Day(year, n++), clubs[h], clubs[a], (6 - h + n) % 4, (6 - a + n) % 3};
          m.elo_diff = 20 * (a - h);
          const int id = db.AddMatch(m);
          db.AddOdds(id, 1.9 + 0.2 * h, 3.4, 2.2 + 0.2 * a, 0, 0, 0, 1.9, 1.95);
          if (year == 2023) second_season_ids.push_back(id);
        }
    }
  }
};

BacktestOptions BothSeasons(int mode) {
  BacktestOptions o;
  o.from = *ParseIsoDate(Day(2022, 0));
  o.to = *ParseIsoDate(Day(2023, 40));
  o.result_mode = static_cast<ResultMode>(mode);
  return o;
}

TEST(BacktestForecastersTest, ALaterSeasonNeverChangesAnEarlierForecast) {
  for (int mode : {0, 3}) {
    SCOPED_TRACE("result mode " + std::to_string(mode));
    TwoSeasons t;
    const BacktestRun before = RunBacktest(t.db.conn(), BothSeasons(mode));
    ASSERT_EQ(before.matches.size(), 60u);
    // The second season's blend is fitted on the first season's 30 matches; the first season
    // has no earlier match and pools the market alone.
    ASSERT_EQ(before.blends.size(), 2u);
    EXPECT_EQ(before.blends[0].training_matches, 0);
    EXPECT_EQ(before.blends[0].weights, (BlendWeights{1, 0, 0}));
    EXPECT_EQ(before.blends[1].training_matches, 20);  // the model needs ten earlier matches
    EXPECT_NE(before.blends[1].weights, before.blends[0].weights);
    EXPECT_FALSE(before.matches[9].model.has_value());  // nine earlier matches are too few
    EXPECT_TRUE(before.matches[10].model.has_value());

    // Every second-season result turned round.
    for (int id : t.second_season_ids)
      t.db.conn().ExecuteNative(
          "UPDATE VYSLEDKY SET HOME_GOAL=AWAY_GOAL+3, VYSLEDOK='1' WHERE ID=" + std::to_string(id));
    const BacktestRun after = RunBacktest(t.db.conn(), BothSeasons(mode));
    ASSERT_EQ(after.matches.size(), 60u);
    for (size_t i = 0; i < 60; ++i) {
      const BacktestMatch &b = before.matches[i], &a = after.matches[i];
      EXPECT_EQ(a.markets, b.markets) << i;
      if (i >= 31) continue;  // the first season, and the second season's first day
      EXPECT_EQ(a.model, b.model) << i;
      EXPECT_EQ(a.blend, b.blend) << i;
    }
    EXPECT_EQ(after.blends[1].weights, before.blends[1].weights);
  }
}

TEST(BacktestForecastersTest, EveryForecasterIsScoredOnTheMatchesWithOdds) {
  TwoSeasons t;
  const BacktestRun run = RunBacktest(t.db.conn(), BothSeasons(0));
  const std::vector<BacktestGroup> groups = ScoreBacktest(run.matches, ValueFilter{5});
  const BacktestGroup& all = groups[0];
  EXPECT_EQ(all.forecasters[static_cast<size_t>(Forecaster::kTips)].matches, 60);
  EXPECT_EQ(all.forecasters[static_cast<size_t>(Forecaster::kMarket)].matches, 60);
  EXPECT_EQ(all.forecasters[static_cast<size_t>(Forecaster::kBlend)].matches, 60);
  EXPECT_EQ(all.forecasters[static_cast<size_t>(Forecaster::kModel)].matches, 50);
  // The market scored by the default method is the margins' entry of that method, and the
  // proportional one is the bookmaker's figure beside the tips.
  EXPECT_DOUBLE_EQ(all.forecasters[static_cast<size_t>(Forecaster::kMarket)].rps,
                   all.margins[static_cast<size_t>(kDefaultMarginMethod)].rps);
  EXPECT_DOUBLE_EQ(all.margins[static_cast<size_t>(MarginMethod::kProportional)].rps,
                   all.market_odds.rps);
  // Reliability: every outcome of every match is one forecast, and one per match happened.
  for (size_t f = 0; f < kForecasters; ++f) {
    int forecasts = 0, happened = 0;
    for (const ProbabilityBucket& b : all.reliability[f]) {
      forecasts += b.forecasts;
      happened += b.happened;
    }
    EXPECT_EQ(forecasts, 3 * all.forecasters[f].matches) << ForecasterKey(Forecaster(f));
    EXPECT_EQ(happened, all.forecasters[f].matches) << ForecasterKey(Forecaster(f));
  }
  // Against the market's own margin-free odds no outcome is worth 5 points more.
  EXPECT_EQ(all.value_against[static_cast<size_t>(Forecaster::kMarket)].Bets(), 0);
}

}  // namespace
}  // namespace morvela
