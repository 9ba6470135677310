#include "builder/prepare_seasons.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "builder/csv_import.h"
#include "fixture_db.h"

namespace morvela {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kHeader =
    "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,OddsH,OddsD,OddsA,OddsOver25,"
    "OddsUnder25\n";

class Preparing : public ::testing::Test {
 protected:
  void Import(const std::string& name, const std::string& rows) {
    const auto path = files_.Path() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << kHeader << rows;
    const ImportReport r = ImportCsv(db_.conn(), {path.string()}, {});
    ASSERT_TRUE(r.errors.empty()) << r.errors[0];
  }
  std::vector<std::string> Prepare(const std::vector<int>& leagues) {
    std::vector<std::string> lines;
    PrepareSeasons(db_.dm(), wait_, msgs_, leagues,
                   [&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(wait_.Depth(), 0);
    EXPECT_FALSE(db_.conn().InTransaction());
    return lines;
  }
  int64_t Count(const std::string& where) {
    Query q(db_.conn());
    q.Open("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE " + where);
    return q.FieldByName("N").AsInteger();
  }

  test::FixtureDb db_;
  test::TempDir files_;
  NullWaitIndicator wait_;
  Messages msgs_;
};

TEST_F(Preparing, ReplaysEverySeasonOfTheLeagues) {
  // Two English seasons, each ending with a fixture, and one German season.
  Import("en/2022-23.csv",
         "E0,01/09/2022,A,B,2,0,H,1,0,H,,,,,\nE0,08/09/2022,B,C,1,1,D,0,0,D,,,,,\n"
         "E0,15/09/2022,C,A,0,1,A,,,,,,,,\nE0,22/09/2022,A,C,,,,,,,,,,,\n");
  Import("en/2023-24.csv", "E0,01/09/2023,A,B,1,0,H,1,0,H,,,,,\nE0,08/09/2023,D,A,,,,,,,,,,,\n");
  Import("de/2023-24.csv", "D1,01/09/2023,X,Y,3,0,H,1,0,H,,,,,\n");

  const std::vector<std::string> lines = Prepare({4});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_THAT(lines[0], StartsWith("England: 2 seasons, 6 matches, "));
  // Every English row has its three differences, every English fixture its under percentage,
  // the old season included; the German league was not asked for.
  const std::string english = "ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=4)";
  EXPECT_EQ(Count(english + " AND (ELO_ROZDIEL IS NULL OR HT_ELO_ROZDIEL IS NULL OR "
                            "SHT_ELO_ROZDIEL IS NULL)"),
            0);
  EXPECT_EQ(Count(english + " AND VYSLEDOK IS NULL AND UNDER IS NOT NULL"), 2);
  EXPECT_EQ(Count("ELO_ROZDIEL IS NULL"), 1);
  // The second season starts from the first one's end: A (winner of both its matches) above B.
  Query q(db_.conn());
  q.Open(
      "SELECT MUZSTVA.NAZOV AS NAME,ELO FROM SUTAZ_MUZSTVA INNER JOIN MUZSTVA ON "
      "MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO WHERE ID_SUTAZ=(SELECT ID FROM SUTAZ WHERE "
      "ID_LIGA=4 AND ROCNIK=\"Active\") ORDER BY MUZSTVA.NAZOV");
  std::string starts;
  for (; !q.Eof(); q.Next())
    starts += q.FieldByName("NAME").AsString() + "=" + q.FieldByName("ELO").AsString() + " ";
  EXPECT_EQ(starts, "A=1523 B=1487 D=1490 ");

  // All leagues when none is named; leagues without seasons print nothing.
  const std::vector<std::string> all = Prepare({});
  ASSERT_EQ(all.size(), 2u);
  EXPECT_THAT(all[1], StartsWith("Germany: 1 season, 1 match, "));
  EXPECT_EQ(Count("ELO_ROZDIEL IS NULL"), 0);
}

TEST_F(Preparing, ReportsSeasonsBeyondTheReplayLimits) {
  Import("en/2022-23.csv", "E0,01/09/2022,A,B,2,0,H,1,0,H,,,,,\n");
  // 26 teams: one more than the goal pass holds.
  std::string rows;
  for (int i = 0; i < 13; ++i)
    rows += "E0,01/09/2023,H" + std::to_string(i) + ",A" + std::to_string(i) + ",1,0,H,,,,,,,,\n";
  Import("en/2023-24.csv", rows);
  EXPECT_EQ(Count("ID_SUTAZ=2"), 13);

  const std::vector<std::string> lines = Prepare({4});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], StartsWith("  England 2023/2024: not replayable: "));
  EXPECT_THAT(lines[1], StartsWith("England: 2 seasons, 1 match, "));
  // The big season keeps its rows untouched; the other one is replayed.
  EXPECT_EQ(Count("ID_SUTAZ=2 AND ELO_ROZDIEL IS NULL"), 13);
  EXPECT_EQ(Count("ID_SUTAZ=1 AND ELO_ROZDIEL IS NOT NULL"), 1);
}

// The import marks what it changed; the pending replay replays exactly the marked leagues and
// clears their marks, a refused season's too (it is reported, and a retry cannot change it).
TEST_F(Preparing, ReplaysWhatIsMarkedAndClearsTheMarks) {
  Import("en/2022-23.csv", "E0,01/09/2022,A,B,2,0,H,1,0,H,,,,,\n");
  std::string rows;
  for (int i = 0; i < 13; ++i)
    rows += "E0,01/09/2023,H" + std::to_string(i) + ",A" + std::to_string(i) + ",1,0,H,,,,,,,,\n";
  Import("en/2023-24.csv", rows);
  Import("de/2023-24.csv", "D1,01/09/2023,X,Y,3,0,H,1,0,H,,,,,\n");
  EXPECT_EQ(PendingReplayLeagues(db_.conn()), (std::vector<int>{4, 6}));
  // Germany's marks gone: as if its replay had run and the import was killed afterwards.
  db_.conn().ExecuteNative(
      "DELETE FROM REPLAY_PENDING WHERE ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=6)");

  const PrepareReport r = ReplayPendingSeasons(db_.dm(), wait_, msgs_, nullptr);
  ASSERT_EQ(r.not_replayable.size(), 1u);
  EXPECT_THAT(r.not_replayable[0], StartsWith("England 2023/2024: not replayable: "));
  EXPECT_EQ(Count("ID_SUTAZ=1 AND ELO_ROZDIEL IS NOT NULL"), 1);
  EXPECT_EQ(Count("ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=6) AND ELO_ROZDIEL IS NULL"), 1);
  EXPECT_TRUE(PendingReplayLeagues(db_.conn()).empty());
  EXPECT_FALSE(db_.conn().InTransaction());
  // Nothing marked: nothing replayed, nothing reported.
  EXPECT_TRUE(ReplayPendingSeasons(db_.dm(), wait_, msgs_, nullptr).not_replayable.empty());
}

}  // namespace
}  // namespace morvela
