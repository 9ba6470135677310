// Importing the real match data beside the repository: every league and season, with the
// season starts and the replay of every season.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "builder/csv_import.h"
#include "builder/prepare_seasons.h"
#include "builder/season_start.h"
#include "fixture_db.h"
#include "realdata_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

int64_t Count(Connection& conn, const std::string& sql) {
  Query q(conn);
  q.Open(sql);
  return q.FieldByName("N").AsInteger();
}

TEST(ImportRealData, AllLeaguesReplayedAndCarriedStartsFitBetter) {
  const fs::path data = test::RealDataFolder();
  if (!test::HaveRealData())
    GTEST_SKIP() << "real match data not found at " << data << " (set MORVELA_DATA)";

  // The cached database is this build's import of the data; a copy takes the second import.
  const test::RealDataBuild& build = test::RealDatabaseBuild();
  ASSERT_TRUE(build.errors.empty()) << build.errors[0];
  EXPECT_EQ(build.files, 256u);
  EXPECT_EQ(build.inserted, 73343);
  EXPECT_EQ(build.changed_leagues, 20u);
  std::string joined;
  for (const std::string& l : build.preparation_lines) joined += l + "\n";
  EXPECT_EQ(build.preparation_lines.size(), 20u)
      << "one line per league, no season beyond the limits:\n"
      << joined;

  test::FixtureDb db;
  db.conn().Close();
  fs::copy_file(build.path, db.Path(), fs::copy_options::overwrite_existing);
  db.conn().Open();
  Connection& conn = db.conn();
  EXPECT_EQ(Count(conn, "SELECT COUNT(*) AS N FROM SUTAZ"), 256);
  EXPECT_EQ(Count(conn, "SELECT COUNT(*) AS N FROM SUTAZ WHERE ROCNIK=\"Active\""), 20);
  EXPECT_EQ(Count(conn,
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ELO_ROZDIEL IS NULL OR "
                  "HT_ELO_ROZDIEL IS NULL OR SHT_ELO_ROZDIEL IS NULL"),
            0);
  // Quirks of the data: Ukraine has no half-time scores; Greece 2014-15 misses 22 of 305.
  EXPECT_EQ(Count(conn,
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE HT_HOME_GOAL IS NOT NULL AND "
                  "ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=20)"),
            0);
  EXPECT_EQ(Count(conn,
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE HT_HOME_GOAL IS NULL AND "
                  "ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=13 AND ID_POR=2014)"),
            22);
  // The aliases chain the English clubs' seasons: seven clubs played all fifteen.
  EXPECT_EQ(Count(conn,
                  "SELECT COUNT(*) AS N FROM (SELECT ID_MUZSTVO FROM SUTAZ_MUZSTVA WHERE "
                  "ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=4) GROUP BY ID_MUZSTVO "
                  "HAVING COUNT(*)=15)"),
            7);

  std::vector<int> all;
  for (int id = 1; id <= 20; ++id) all.push_back(id);
  const StartRuleComparison c = CompareStartRules(conn, all);
  std::cout << "Import and preparation of " << build.inserted << " matches: " << build.seconds
            << " s\nMean |rating change| over each team's first 5 matches (" << c.seasons
            << " seasons, " << c.changes << " team-matches): carried-over start " << c.stored
            << ", constant 1500 start " << c.constant << "\n";
  EXPECT_LT(c.stored, c.constant);

  // Importing everything again writes nothing.
  ImportOptions options;
  options.aliases = TeamAliases::Load((data / "team_aliases.csv").string());
  const ImportReport again = ImportCsv(db.conn(), {(data / "results").string()}, options);
  EXPECT_EQ(again.Inserted(), 0);
  EXPECT_EQ(again.Updated(), 0);
  EXPECT_TRUE(again.changed_leagues.empty());
}

}  // namespace
}  // namespace morvela
