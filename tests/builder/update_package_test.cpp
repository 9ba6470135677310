// The update server's files: the results package inflates to a database equal to the source,
// the odds package holds only the coming fixtures' KURZY rows, the check answers the date.
#include "builder/update_package.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/cipher.h"
#include "core/database.h"
#include "core/helpers.h"
#include "fixture_db.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

// Inflates a zlib stream into a file; false when the stream is not complete and valid.
bool InflateInto(const std::string& stream, const fs::path& target) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  z.avail_in = static_cast<uInt>(stream.size());
  std::string out;
  char buffer[1 << 15];
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  std::ofstream(target, std::ios::binary) << out;
  return rc == Z_STREAM_END && z.avail_in == 0;
}

int64_t Count(Connection& conn, const std::string& sql) {
  return std::get<int64_t>(conn.Select(sql).rows.at(0).at(0));
}

class UpdatePackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const int season = db_.AddCompetition(4, "Active", 4, 1);
    const int a = db_.AddTeam(4, "Alpha"), b = db_.AddTeam(4, "Beta");
    db_.AddTeamToCompetition(season, a);
    db_.AddTeamToCompetition(season, b);
    auto match = [&](const char* date, std::optional<int> hg, std::optional<int> ag) {
      test::MatchSpec m;
      m.competition = season;
      m.date = date;
      m.home = a;
      m.away = b;
      m.home_goals = hg;
      m.away_goals = ag;
      return db_.AddMatch(m);
    };
    played_ = match("2026-12-01", 2, 1);
    unplayed_past_ = match("2026-12-05", std::nullopt, std::nullopt);  // result never entered
    today_ = match("2026-12-09", std::nullopt, std::nullopt);
    later_ = match("2026-12-20", std::nullopt, std::nullopt);
    played_today_ = match("2026-12-09", 0, 0);
    no_odds_ = match("2026-12-21", std::nullopt, std::nullopt);
    for (int id : {played_, unplayed_past_, today_, later_, played_today_})
      db_.AddOdds(id, 1.85, 3.4, 4.1, 1.2, 1.9, 1.3, 1.7, 2.05);
    db_.conn().Execute("UPDATE KURZY SET BWIN_ID=\"77\"");
  }

  test::FixtureDb db_;
  test::TempDir out_;
  const Date kToday = *MakeDate(2026, 12, 9);
  int played_ = 0, unplayed_past_ = 0, today_ = 0, later_ = 0, played_today_ = 0, no_odds_ = 0;
};

TEST_F(UpdatePackageTest, PackagesRoundTripToTheSourceDatabaseAndTheComingOdds) {
  const PackageReport r =
      WriteUpdatePackages(db_.Path(), out_.Folder() + "pub", "07.12.2026", kToday);
  const fs::path pub = out_.Path() / "pub";
  EXPECT_EQ(DecipherText(test::ReadBytes(pub / "check.txt"), false), "07.12.2026");
  EXPECT_EQ(test::ReadBytes(pub / "version.txt"), "4.8");
  EXPECT_EQ(r.date, "07.12.2026");

  // results.qvz: the whole database, every table with the source's rows.
  ASSERT_TRUE(InflateInto(test::ReadBytes(pub / "results.qvz"), out_.Path() / "results.mdb"));
  EXPECT_EQ(r.results_bytes, fs::file_size(pub / "results.qvz"));
  Connection copy;
  copy.OpenFile((out_.Path() / "results.mdb").string(), false);
  EXPECT_EQ(std::get<std::string>(copy.Select("PRAGMA integrity_check").rows.at(0).at(0)), "ok");
  for (const char* table : kProgramTables) {
    SCOPED_TRACE(table);
    const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
    EXPECT_EQ(Count(copy, sql), Count(db_.conn(), sql));
  }

  // odds.qvz: only KURZY, only fixtures without a result from today on, BWIN_ID left out.
  ASSERT_TRUE(InflateInto(test::ReadBytes(pub / "odds.qvz"), out_.Path() / "odds.mdb"));
  Connection odds;
  odds.OpenFile((out_.Path() / "odds.mdb").string(), false);
  const ResultData tables =
      odds.Select("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
  ASSERT_EQ(tables.rows.size(), 1u);
  EXPECT_EQ(std::get<std::string>(tables.rows[0][0]), "KURZY");
  const ResultData rows = odds.Select("SELECT * FROM KURZY ORDER BY ID");
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(r.odds_rows, 2);
  EXPECT_EQ(std::get<int64_t>(rows.rows[0][0]), today_);
  EXPECT_EQ(std::get<int64_t>(rows.rows[1][0]), later_);
  EXPECT_EQ(rows.names.size(), 21u);
  EXPECT_DOUBLE_EQ(std::get<double>(rows.rows[0][1]), 1.85);
  EXPECT_EQ(Count(odds, "SELECT COUNT(*) FROM KURZY WHERE OVER=2.05 AND UNDER=1.7"), 2);
  EXPECT_EQ(Count(odds, "SELECT COUNT(*) FROM KURZY WHERE HT_KURZ1 IS NULL"), 2);  // not given
}

TEST_F(UpdatePackageTest, TheDefaultDateIsTheDatabaseDateOrElseToday) {
  struct Case {
    std::string stored;  // NASTAVENIE.DAT_DB
    std::string expected;
  };
  const Case cases[] = {
      {EncipherText("03.11.2026"), "03.11.2026"},
      {EncipherText("3.11.2026"), "03.11.2026"},
      {"03.11.2026", "09.12.2026"},  // not enciphered
      {EncipherText("someday"), "09.12.2026"},
      {"", "09.12.2026"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.stored);
    db_.conn().Execute("UPDATE NASTAVENIE SET DAT_DB=\"" + k.stored + "\"");
    EXPECT_EQ(DefaultPackageDate(db_.Path(), kToday), k.expected);
  }
}

TEST_F(UpdatePackageTest, ASecondRunReplacesTheFilesAndLeavesNoScratchFiles) {
  WriteUpdatePackages(db_.Path(), out_.Folder(), "01.12.2026", kToday);
  db_.conn().Execute("DELETE FROM KURZY");
  const PackageReport r = WriteUpdatePackages(db_.Path(), out_.Folder(), "02.12.2026", kToday);
  EXPECT_EQ(r.odds_rows, 0);
  EXPECT_EQ(DecipherText(test::ReadBytes(out_.Path() / "check.txt"), false), "02.12.2026");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(out_.Path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"check.txt", "odds.qvz", "results.qvz", "version.txt"}));
}

}  // namespace
}  // namespace morvela
