// The SQL search against the in-memory reference on the real data: identical percentages for
// several thousand differences in every league and half.
#include <gtest/gtest.h>

#include "core/database.h"
#include "predict/outcome_reference.h"
#include "predict/outcome_search.h"
#include "realdata_support.h"
#include "test_support.h"

namespace morvela {
namespace {

TEST(OutcomeSearchRealData, ReferenceAgreesWithSqlForThousandsOfDifferences) {
  if (!test::HaveRealData())
    GTEST_SKIP() << "real match data not found at " << test::RealDataFolder();
  Connection conn;
  conn.OpenFile(test::RealDatabase(), false);
  int compared = 0;
  for (int mode = 0; mode <= 2; ++mode) {
    OutcomeReference ref(conn, test::ModeOf(mode));
    ASSERT_GT(ref.MatchCount(), 50000) << "mode " << mode;
    for (int league = 1; league <= 20; ++league) {
      for (int d = -1180 + league * 3 + mode; d <= 1180; d += 41) {
        PredictionState sql, mem;
        SearchContext ctx;
        ctx.result_mode = test::ModeOf(mode);
        ctx.league = std::to_string(league);
        FindOutcomeFrequencies(conn, sql, ctx, SearchMode::kList, d);
        ref.ListSearch(mem, league, d);
        ASSERT_EQ(std::tie(sql.HomePercent, sql.DrawPercent, sql.AwayPercent, sql.LeagueHomePercent,
                           sql.LeagueDrawPercent, sql.LeagueAwayPercent),
                  std::tie(mem.HomePercent, mem.DrawPercent, mem.AwayPercent, mem.LeagueHomePercent,
                           mem.LeagueDrawPercent, mem.LeagueAwayPercent))
            << "mode " << mode << " league " << league << " d " << d;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace morvela
