// A backtest of two months of one league on the real data: every played match is tested and
// the figures are sane (the bookmaker, whose prices know far more, beats the naive baseline).
#include <gtest/gtest.h>

#include "core/database.h"
#include "realdata_support.h"
#include "test_support.h"
#include "tips/backtest.h"

namespace morvela {
namespace {

constexpr int kEngland = 4;

TEST(BacktestRealData, TwoMonthsOfOneLeagueGiveSaneFigures) {
  if (!test::HaveRealData())
    GTEST_SKIP() << "real match data not found at " << test::RealDataFolder();
  Connection conn;
  conn.OpenFile(test::RealDatabase(), false);
  for (int mode : {0, 3}) {
    SCOPED_TRACE("result mode " + std::to_string(mode));
    BacktestOptions o;
    o.from = *MakeDate(2023, 9, 1);
    o.to = *MakeDate(2023, 10, 31);
    o.leagues = {kEngland};
    o.result_mode = test::ModeOf(mode);
    const BacktestRun run = RunBacktest(conn, o);
    // Premier League 2023/2024: 71 matches in September and October, all with scores and odds.
    ASSERT_EQ(run.matches.size(), 71u);
    EXPECT_EQ(run.skipped, 0);
    for (const BacktestMatch& m : run.matches) {
      EXPECT_EQ(m.league, kEngland);
      EXPECT_NE(KindOfTip(m.tip), TipKind::None) << m.id;
      EXPECT_TRUE(m.market.has_value()) << m.id;
      EXPECT_EQ(m.percents.size(), mode == 3 ? 2u : 3u);
    }

    const std::vector<BacktestGroup> groups = ScoreBacktest(run.matches, ValueFilter{5});
    ASSERT_EQ(groups.size(), 2u);
    const BacktestGroup& all = groups[0];
    int tips = 0;
    for (const HitRecord& k : all.kinds) {
      tips += k.tips;
      if (k.tips == 0) continue;
      EXPECT_GE(k.HitRate(), 0);
      EXPECT_LE(k.HitRate(), 1);
    }
    EXPECT_EQ(tips, 71);
    EXPECT_EQ(all.tips_odds.matches, 71);
    EXPECT_LT(all.market_odds.MeanBrier(), all.naive_odds.MeanBrier());
    EXPECT_LT(all.market_odds.MeanRps(), all.naive_odds.MeanRps());
    EXPECT_GT(all.tips_odds.MeanBrier(), 0);
    EXPECT_LT(all.tips_odds.MeanBrier(), 1.0);  // a uniform forecast scores 2/3 or 1/2
    EXPECT_GT(all.tip_bets.Bets(), 0);
    EXPECT_GE(all.tip_bets.MaxDrawdown(), 0);
    EXPECT_LE(all.tip_bets.LongestLosingRun(), all.tip_bets.Bets());
  }
}

}  // namespace
}  // namespace morvela
