#include "builder/demo_database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "builder/demo_names.h"
#include "builder/demo_random.h"
#include "builder/schema.h"
#include "core/cipher.h"
#include "core/data_module.h"
#include "core/helpers.h"
#include "fixture_db.h"
#include "i18n/leagues.h"
#include "test_support.h"

namespace morvela {
namespace {

Date Ymd(int y, int m, int d) {
  return *MakeDate(y, m, d);
}

const Date kToday = Ymd(2024, 3, 13);  // a Wednesday
constexpr uint64_t kSeed = 7;

// A schema-only database in memory with the demo data of `leagues`.
std::unique_ptr<Connection> GenerateInMemory(uint64_t seed, const Date& today,
                                             std::vector<int> leagues) {
  auto conn = std::make_unique<Connection>();
  conn->OpenFile(":memory:", true);
  CreateSchema(*conn);
  GenerateDemoData(*conn, DemoOptions{seed, today, std::move(leagues)}, {});
  return conn;
}

// FNV-1a over every value of the tables the generator writes, in key order.
uint64_t ContentChecksum(Connection& conn) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](const std::string& text) {
    for (unsigned char c : text + '\x1f') h = (h ^ c) * 1099511628211ull;
  };
  for (const char* sql :
       {"SELECT * FROM SUTAZ ORDER BY ID", "SELECT * FROM MUZSTVA ORDER BY ID",
        "SELECT * FROM SUTAZ_MUZSTVA ORDER BY ID_SUTAZ,ID_MUZSTVO",
        "SELECT * FROM VYSLEDKY ORDER BY ID", "SELECT * FROM KURZY ORDER BY ID"}) {
    Query q(conn);
    q.Open(sql);
    for (; !q.Eof(); q.Next())
      for (const std::string& name : q.FieldNames()) mix(q.FieldByName(name).AsString());
  }
  return h;
}

int64_t Count(Connection& conn, const std::string& sql) {
  Query q(conn);
  q.Open(sql);
  return q.FieldByName("N").AsInteger();
}

// The full demo of all twenty leagues with the season preparation, built once for the test
// binary (its own CTest entry) and shared by every test of the suite, so the tests only read it;
// a test that changes data works on a copy of the file.
class DemoDatabaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::TempDir>();
    NullWaitIndicator wait;
    Messages msgs;
    summary_ = CreateDemoDatabase(dir_->Folder() + "Morvela.mdb", DemoOptions{kSeed, kToday, {}},
                                  false, wait, msgs, {});
    dm_ = std::make_unique<Tdm>();
    dm_->ADOConnection1.OpenFile(dir_->Folder() + "Morvela.mdb", false);
  }
  static void TearDownTestSuite() {
    dm_.reset();
    dir_.reset();
  }
  static Connection& Conn() { return dm_->ADOConnection1; }

  static inline std::unique_ptr<test::TempDir> dir_;
  static inline std::unique_ptr<Tdm> dm_;
  static inline DemoSummary summary_;
};

TEST_F(DemoDatabaseTest, EveryLeagueHasItsClubCountInEightSeasonsEndingWithTheActiveOne) {
  const std::map<int, std::set<int>> clubs = {
      {1, {12}},  {2, {16}},  {3, {16}},  {4, {20}},  {5, {18}},      {6, {18}},  {7, {20}},
      {8, {18}},  {9, {18}},  {10, {12}}, {11, {20}}, {12, {19, 20}}, {13, {14}}, {14, {16}},
      {15, {12}}, {16, {10}}, {17, {12}}, {18, {18}}, {19, {16}},     {20, {16}}};
  for (const auto& [league, allowed] : clubs) {
    SCOPED_TRACE(LeagueName(league, kEnglish));
    Query q(Conn());
    q.Open("SELECT * FROM SUTAZ WHERE ID_LIGA=" + std::to_string(league) + " ORDER BY ID_POR");
    ASSERT_EQ(q.RecordCount(), kDemoSeasons);
    int64_t first_year = q.FieldByName("ID_POR").AsInteger();
    for (int season = 0; !q.Eof(); q.Next(), ++season) {
      const int64_t year = first_year + season;
      const std::string id = q.FieldByName("ID").AsString();
      EXPECT_EQ(q.FieldByName("ID_POR").AsInteger(), year);
      EXPECT_EQ(q.FieldByName("ROCNIK").AsString(),
                season == kDemoSeasons - 1 ? "Active"
                                           : std::to_string(year) + "/" + std::to_string(year + 1));
      const int64_t count = q.FieldByName("POCET").AsInteger();
      EXPECT_TRUE(allowed.count(static_cast<int>(count))) << count;
      EXPECT_EQ(Count(Conn(), "SELECT COUNT(*) AS N FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" + id),
                count);
      EXPECT_EQ(Count(Conn(),
                      "SELECT COUNT(*) AS N FROM (SELECT DISTINCT HOME FROM VYSLEDKY "
                      "WHERE ID_SUTAZ=" +
                          id + ")"),
                count);
      const int64_t lm = q.FieldByName("LM").AsInteger(), el = q.FieldByName("EL").AsInteger();
      const int64_t vyp = q.FieldByName("VYP").AsInteger();
      EXPECT_GT(lm, 0);
      EXPECT_GT(vyp, std::max(lm, el));
      EXPECT_LE(vyp, count);
    }
  }
  // Turkey's size changes between seasons, as it did in reality.
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM (SELECT DISTINCT POCET FROM SUTAZ WHERE "
                  "ID_LIGA=12)"),
            2);
}

TEST_F(DemoDatabaseTest, TheActiveSeasonIsPlayedUntilYesterdayWithFixturesForFourWeeks) {
  const std::string today = FormatSqlDate(kToday);
  const std::string window_end = FormatSqlDate(AddDays(kToday, kDemoFixtureDays));
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL AND "
                  "DATUM>=" +
                      today),
            0);
  EXPECT_EQ(Count(Conn(), "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NULL AND (DATUM<" +
                              today + " OR DATUM>=" + window_end + ")"),
            0);
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM VYSLEDKY, SUTAZ WHERE VYSLEDKY.ID_SUTAZ="
                  "SUTAZ.ID AND VYSLEDOK IS NULL AND ROCNIK<>\"Active\""),
            0);
  EXPECT_EQ(Count(Conn(), "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NULL"),
            summary_.fixtures);
  EXPECT_EQ(
      Count(Conn(), "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NULL AND DATUM=" + today),
      summary_.fixtures_today);
  for (int league = 1; league <= kLeagueCount; ++league) {
    SCOPED_TRACE(LeagueName(league, kEnglish));
    Query q(Conn());
    q.Open(
        "SELECT SUM(IIF(VYSLEDOK IS NULL,0,1)) AS PLAYED, SUM(IIF(VYSLEDOK IS NULL,1,0)) AS "
        "TO_PLAY, MAX(DATUM) AS LAST, MIN(POCET) AS CLUBS FROM VYSLEDKY, SUTAZ WHERE "
        "VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND ROCNIK=\"Active\" AND ID_LIGA=" +
        std::to_string(league));
    // At least four rounds are behind, and the fixtures reach into the window's second half.
    EXPECT_GE(q.FieldByName("PLAYED").AsInteger(), 4 * (q.FieldByName("CLUBS").AsInteger() / 2));
    EXPECT_GT(q.FieldByName("TO_PLAY").AsInteger(), 0);
    EXPECT_GE(DaysBetween(kToday, ParseDateText(q.FieldByName("LAST").AsString())), 14);
  }
}

TEST_F(DemoDatabaseTest, FixturesFallOnMostDaysOfTheFourWeeks) {
  Query q(Conn());
  q.Open("SELECT DISTINCT DATUM FROM VYSLEDKY WHERE VYSLEDOK IS NULL");
  EXPECT_GE(q.RecordCount(), 20);
  EXPECT_GT(summary_.fixtures_today, 0);
}

TEST_F(DemoDatabaseTest, PlayedMatchesHaveConsistentHalfAndFullTimeScores) {
  auto outcome = [](int64_t home, int64_t away) {
    return home > away ? "1" : home == away ? "0" : "2";
  };
  Query q(Conn());
  q.Open("SELECT * FROM VYSLEDKY");
  int played = 0;
  for (; !q.Eof(); q.Next()) {
    auto f = [&](const char* name) { return q.FieldByName(name); };
    if (f("VYSLEDOK").IsNull()) {
      for (const char* c : {"HOME_GOAL", "AWAY_GOAL", "HT_HOME_GOAL", "HT_AWAY_GOAL", "HT_VYSLEDOK",
                            "SHT_HOME_GOAL", "SHT_AWAY_GOAL", "SHT_VYSLEDOK"})
        ASSERT_TRUE(f(c).IsNull()) << c << " of fixture " << f("ID").AsInteger();
      continue;
    }
    ++played;
    SCOPED_TRACE("match " + f("ID").AsString());
    const int64_t h = f("HOME_GOAL").AsInteger(), a = f("AWAY_GOAL").AsInteger();
    const int64_t hh = f("HT_HOME_GOAL").AsInteger(), ha = f("HT_AWAY_GOAL").AsInteger();
    const int64_t sh = f("SHT_HOME_GOAL").AsInteger(), sa = f("SHT_AWAY_GOAL").AsInteger();
    ASSERT_GE(hh, 0);
    ASSERT_GE(ha, 0);
    ASSERT_GE(sh, 0);
    ASSERT_GE(sa, 0);
    ASSERT_EQ(hh + sh, h);
    ASSERT_EQ(ha + sa, a);
    ASSERT_EQ(f("VYSLEDOK").AsString(), outcome(h, a));
    ASSERT_EQ(f("HT_VYSLEDOK").AsString(), outcome(hh, ha));
    ASSERT_EQ(f("SHT_VYSLEDOK").AsString(), outcome(sh, sa));
    ASSERT_FALSE(f("KONTUMACIA").AsBoolean());
    ASSERT_NE(f("HOME").AsInteger(), f("AWAY").AsInteger());
  }
  EXPECT_EQ(played, summary_.matches);
}

TEST_F(DemoDatabaseTest, ResultsLookLikeFootball) {
  Query q(Conn());
  q.Open(
      "SELECT AVG(HOME_GOAL+AWAY_GOAL) AS GOALS, AVG(IIF(VYSLEDOK=\"1\",1.0,0.0)) AS HOME, "
      "AVG(IIF(VYSLEDOK=\"0\",1.0,0.0)) AS DRAW, SUM(HT_HOME_GOAL+HT_AWAY_GOAL)/"
      "SUM(HOME_GOAL+AWAY_GOAL) AS FIRST_HALF FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL");
  struct Case {
    const char* column;
    double low, high;
  };
  const Case cases[] = {
      {"GOALS", 2.4, 3.1}, {"HOME", 0.40, 0.50}, {"DRAW", 0.21, 0.31}, {"FIRST_HALF", 0.42, 0.48}};
  for (const Case& c : cases) {
    const double value = q.FieldByName(c.column).AsFloat();
    EXPECT_GE(value, c.low) << c.column;
    EXPECT_LE(value, c.high) << c.column;
  }
}

TEST_F(DemoDatabaseTest, EveryCompetitionStaysWithinTheReplayLimits) {
  Query competitions(Conn());
  competitions.Open("SELECT ID FROM SUTAZ");
  ASSERT_EQ(competitions.RecordCount(), summary_.seasons);
  for (; !competitions.Eof(); competitions.Next()) {
    const std::string id = competitions.FieldByName("ID").AsString();
    std::set<int64_t> entered;
    Query t(Conn());
    t.Open("SELECT ID_MUZSTVO FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" + id);
    for (; !t.Eof(); t.Next()) entered.insert(t.FieldByName("ID_MUZSTVO").AsInteger());
    EXPECT_LE(entered.size(), 25u);
    std::map<int64_t, int> home, away;
    Query m(Conn());
    m.Open("SELECT HOME,AWAY FROM VYSLEDKY WHERE ID_SUTAZ=" + id);
    for (; !m.Eof(); m.Next()) {
      ++home[m.FieldByName("HOME").AsInteger()];
      ++away[m.FieldByName("AWAY").AsInteger()];
    }
    for (const auto* side : {&home, &away}) {
      for (const auto& [club, n] : *side) {
        EXPECT_TRUE(entered.count(club)) << "club " << club << " of competition " << id;
        EXPECT_LE(n, 25);
        EXPECT_LE(n + (side == &home ? away[club] : home[club]), 50);
      }
    }
  }
}

TEST_F(DemoDatabaseTest, OddsCarryABookmakersMargin) {
  struct Family {
    std::vector<const char*> columns;
    bool fixtures_only;
  };
  const Family families[] = {
      {{"KURZ1", "KURZX", "KURZ2"}, false},
      {{"OVER", "UNDER"}, false},
      {{"HT_KURZ1", "HT_KURZX", "HT_KURZ2"}, true},
      {{"SHT_KURZ1", "SHT_KURZX", "SHT_KURZ2"}, true},
  };
  Query q(Conn());
  q.Open(
      "SELECT KURZY.*, VYSLEDKY.VYSLEDOK AS PLAYED FROM KURZY INNER JOIN VYSLEDKY ON "
      "VYSLEDKY.ID=KURZY.ID");
  int fixtures = 0, played = 0, event_ids = 0;
  for (; !q.Eof(); q.Next()) {
    const bool fixture = q.FieldByName("PLAYED").IsNull();
    (fixture ? fixtures : played) += 1;
    for (const Family& f : families) {
      if (f.fixtures_only && !fixture) {
        for (const char* c : f.columns) ASSERT_TRUE(q.FieldByName(c).IsNull()) << c;
        continue;
      }
      double implied = 0;
      for (const char* c : f.columns) implied += 1 / q.FieldByName(c).AsFloat();
      ASSERT_GE(implied, 1.03) << f.columns[0] << " of " << q.FieldByName("ID").AsInteger();
      ASSERT_LE(implied, 1.10) << f.columns[0] << " of " << q.FieldByName("ID").AsInteger();
    }
    // A double chance never pays more than either outcome it covers.
    const double k1 = q.FieldByName("KURZ1").AsFloat(), kx = q.FieldByName("KURZX").AsFloat();
    const double k2 = q.FieldByName("KURZ2").AsFloat();
    ASSERT_LE(q.FieldByName("KURZ1X").AsFloat(), std::min(k1, kx));
    ASSERT_LE(q.FieldByName("KURZX2").AsFloat(), std::min(kx, k2));
    ASSERT_LE(q.FieldByName("KURZ12").AsFloat(), std::min(k1, k2));
    ASSERT_GE(q.FieldByName("KURZ1X").AsFloat(), 1.01);
    const std::string event = q.FieldByName("BWIN_ID").AsString();
    if (!event.empty()) {
      ASSERT_TRUE(fixture);
      ASSERT_EQ(event.size(), 8u);
      ASSERT_EQ(event.find_first_not_of("0123456789"), std::string::npos) << event;
      ++event_ids;
    }
  }
  EXPECT_EQ(fixtures, summary_.fixtures);
  EXPECT_NEAR(static_cast<double>(played) / summary_.matches, 0.9, 0.03);
  EXPECT_NEAR(static_cast<double>(event_ids) / fixtures, 0.3, 0.08);
}

// The odds come from the same model as the results: the home win share of matches grouped by
// the odds' implied home probability follows that probability.
TEST_F(DemoDatabaseTest, OddsPredictTheResults) {
  Query q(Conn());
  q.Open(
      "SELECT KURZ1,KURZX,KURZ2,VYSLEDOK FROM KURZY INNER JOIN VYSLEDKY ON "
      "VYSLEDKY.ID=KURZY.ID WHERE VYSLEDOK IS NOT NULL");
  struct Bucket {
    double implied = 0;
    int wins = 0, n = 0;
  };
  std::map<int, Bucket> buckets;  // by implied home probability in tenths
  for (; !q.Eof(); q.Next()) {
    const double p1 = 1 / q.FieldByName("KURZ1").AsFloat();
    const double sum =
        p1 + 1 / q.FieldByName("KURZX").AsFloat() + 1 / q.FieldByName("KURZ2").AsFloat();
    Bucket& b = buckets[static_cast<int>(p1 / sum * 10)];
    b.implied += p1 / sum;
    b.wins += q.FieldByName("VYSLEDOK").AsString() == "1";
    ++b.n;
  }
  int checked = 0;
  for (const auto& [tenth, b] : buckets) {
    if (b.n < 500) continue;
    ++checked;
    EXPECT_NEAR(static_cast<double>(b.wins) / b.n, b.implied / b.n, 0.04) << "bucket " << tenth;
  }
  EXPECT_GE(checked, 4);
}

TEST_F(DemoDatabaseTest, ClubsComeAndGoBetweenSeasonsUnderUniqueNames) {
  EXPECT_EQ(Count(Conn(), "SELECT COUNT(*) AS N FROM MUZSTVA"), summary_.clubs);
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM MUZSTVA WHERE NAZOV<>NAZOV_EN OR "
                  "NAZOV<>NAZOV_DE OR NAZOV<>NAZOV_IT OR NAZOV=\"\""),
            0);
  int returns = 0;
  for (int league = 1; league <= kLeagueCount; ++league) {
    SCOPED_TRACE(LeagueName(league, kEnglish));
    EXPECT_EQ(
        Count(Conn(),
              "SELECT COUNT(*) AS N FROM (SELECT DISTINCT NAZOV FROM MUZSTVA WHERE "
              "ID_LIGA=" +
                  std::to_string(league) + ")"),
        Count(Conn(), "SELECT COUNT(*) AS N FROM MUZSTVA WHERE ID_LIGA=" + std::to_string(league)));
    Query q(Conn());
    q.Open(
        "SELECT ID_MUZSTVO, ID_POR FROM SUTAZ_MUZSTVA INNER JOIN SUTAZ ON "
        "SUTAZ.ID=SUTAZ_MUZSTVA.ID_SUTAZ WHERE ID_LIGA=" +
        std::to_string(league));
    std::map<int64_t, std::set<int64_t>> seasons;  // ID_POR -> clubs
    std::map<int64_t, std::set<int64_t>> of_club;  // club -> ID_POR
    for (; !q.Eof(); q.Next()) {
      seasons[q.FieldByName("ID_POR").AsInteger()].insert(q.FieldByName("ID_MUZSTVO").AsInteger());
      of_club[q.FieldByName("ID_MUZSTVO").AsInteger()].insert(q.FieldByName("ID_POR").AsInteger());
    }
    for (auto it = std::next(seasons.begin()); it != seasons.end(); ++it) {
      const std::set<int64_t>& before = std::prev(it)->second;
      int stayed = 0;
      for (int64_t club : it->second) stayed += before.count(club) ? 1 : 0;
      EXPECT_LT(stayed, static_cast<int>(before.size())) << "season " << it->first;
      EXPECT_LT(stayed, static_cast<int>(it->second.size())) << "season " << it->first;
      EXPECT_GE(stayed, static_cast<int>(before.size()) - 4) << "season " << it->first;
    }
    for (const auto& [club, years] : of_club)
      returns +=
          static_cast<int>(*years.rbegin() - *years.begin() + 1) != static_cast<int>(years.size());
  }
  EXPECT_GT(returns, 0);  // some relegated clubs came back
}

TEST_F(DemoDatabaseTest, ThePreparedDatabaseCarriesRatingsDifferencesAndUnderPercentages) {
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ELO_ROZDIEL IS NULL OR "
                  "HT_ELO_ROZDIEL IS NULL OR SHT_ELO_ROZDIEL IS NULL"),
            0);
  EXPECT_EQ(Count(Conn(),
                  "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NULL AND (UNDER "
                  "IS NULL OR UNDER<0 OR UNDER>100)"),
            0);
  // Only a league's first season starts everybody at 1500.
  EXPECT_GT(Count(Conn(), "SELECT COUNT(*) AS N FROM SUTAZ_MUZSTVA WHERE ELO<>1500"),
            summary_.clubs);
  Query q(Conn());
  q.Open("SELECT DAT_DB FROM NASTAVENIE");
  EXPECT_EQ(DecipherText(q.FieldByName("DAT_DB").AsString(), false), "13.03.2024");
  // The build sets the difference indexes aside while it writes; they are all back.
  test::TempDir empty;
  CreateEmptyDatabase(empty.Folder() + "Morvela.mdb", false);
  Connection fresh;
  fresh.OpenFile(empty.Folder() + "Morvela.mdb", false);
  const std::string indexes =
      "SELECT name, sql FROM sqlite_master WHERE type=\"index\" ORDER BY name";
  EXPECT_EQ(test::DumpRows(Conn(), indexes), test::DumpRows(fresh, indexes));
}

TEST(DemoDataTest, TheSameSeedAndTodayGiveTheSameData) {
  struct Case {
    uint64_t seed;
    Date today;
    bool same;
  };
  const Case cases[] = {
      {kSeed, kToday, true},
      {kSeed + 1, kToday, false},
      {kSeed, AddDays(kToday, 7), false},
  };
  const std::vector<int> leagues = {10, 12};
  const uint64_t reference = ContentChecksum(*GenerateInMemory(kSeed, kToday, leagues));
  for (const Case& c : cases) {
    const uint64_t checksum = ContentChecksum(*GenerateInMemory(c.seed, c.today, leagues));
    EXPECT_EQ(checksum == reference, c.same) << c.seed << " " << FormatIsoDate(c.today);
  }
}

// Whatever the day - in the summer break, in the winter, at a season's end - the current
// season has rounds behind it and fixtures ahead, and the seasons before it are complete.
TEST(DemoDataTest, TheCurrentSeasonStandsAtAnyDayOfTheYear) {
  const Date todays[] = {Ymd(2024, 6, 20),  Ymd(2024, 7, 3),  Ymd(2024, 8, 2),
                         Ymd(2024, 12, 27), Ymd(2025, 2, 28), Ymd(2025, 5, 25)};
  const std::vector<int> leagues = {4, 10, 16};  // 38, 33 and 36 rounds; opening in Aug and July
  for (const Date& today : todays) {
    SCOPED_TRACE(FormatIsoDate(today));
    auto conn = GenerateInMemory(kSeed, today, leagues);
    const std::string day = FormatSqlDate(today);
    EXPECT_EQ(Count(*conn,
                    "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL AND "
                    "DATUM>=" +
                        day),
              0);
    for (int league : leagues) {
      SCOPED_TRACE(league);
      const std::string active =
          "(SELECT ID FROM SUTAZ WHERE ROCNIK=\"Active\" AND ID_LIGA=" + std::to_string(league) +
          ")";
      EXPECT_GE(Count(*conn,
                      "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL AND "
                      "ID_SUTAZ=" +
                          active),
                20);
      EXPECT_GT(Count(*conn,
                      "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NULL AND "
                      "ID_SUTAZ=" +
                          active + " AND DATUM>=" + day + " AND DATUM<" +
                          FormatSqlDate(AddDays(today, 14))),
                0);
      // The past seasons are complete (every club met every other the same number of times),
      // and each season ends before the next one starts.
      Query q(*conn);
      q.Open(
          "SELECT ROCNIK, POCET, (SELECT COUNT(*) FROM VYSLEDKY WHERE ID_SUTAZ=SUTAZ.ID) AS "
          "MATCHES, (SELECT MIN(DATUM) FROM VYSLEDKY WHERE ID_SUTAZ=SUTAZ.ID) AS FIRST, (SELECT "
          "MAX(DATUM) FROM VYSLEDKY WHERE ID_SUTAZ=SUTAZ.ID) AS LAST FROM SUTAZ WHERE ID_LIGA=" +
          std::to_string(league) + " ORDER BY ID_POR");
      std::optional<Date> previous_end;
      for (; !q.Eof(); q.Next()) {
        const Date first = ParseDateText(q.FieldByName("FIRST").AsString());
        if (previous_end) {
          EXPECT_LT(*previous_end, first);
        }
        previous_end = ParseDateText(q.FieldByName("LAST").AsString());
        if (q.FieldByName("ROCNIK").AsString() == "Active") continue;
        const int64_t n = q.FieldByName("POCET").AsInteger();
        EXPECT_EQ(q.FieldByName("MATCHES").AsInteger() % (n * (n - 1) / 2), 0);
      }
    }
  }
}

TEST(DemoDataTest, AnUnknownLeagueIsRefused) {
  for (int league : {0, 21}) {
    Connection conn;
    conn.OpenFile(":memory:", true);
    CreateSchema(conn);
    EXPECT_THROW(GenerateDemoData(conn, DemoOptions{kSeed, kToday, {league}}, {}),
                 std::out_of_range)
        << league;
  }
}

TEST(DemoDataTest, AnExistingDatabaseIsReplacedOnlyWhenAsked) {
  test::TempDir dir;
  const std::string path = dir.Folder() + "Morvela.mdb";
  { std::ofstream(path) << "not a database"; }
  NullWaitIndicator wait;
  Messages msgs;
  const DemoOptions options{kSeed, kToday, {16}};
  EXPECT_THROW(CreateDemoDatabase(path, options, false, wait, msgs, {}), DatabaseError);
  EXPECT_EQ(std::filesystem::file_size(path), std::string("not a database").size());

  const DemoSummary s = CreateDemoDatabase(path, options, true, wait, msgs, {});
  EXPECT_EQ(s.leagues, 1);
  Connection conn;
  conn.OpenFile(path, false);
  EXPECT_EQ(Count(conn, "SELECT COUNT(*) AS N FROM VYSLEDKY"), s.matches + s.fixtures);
  conn.Close();
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename(), "Morvela.mdb") << "left behind: " << entry.path();
}

TEST(ClubNamerTest, NamesAreUniqueAndFitTheNameColumns) {
  for (int league = 1; league <= kLeagueCount; ++league) {
    SCOPED_TRACE(LeagueName(league, kEnglish));
    DemoRandom rng(DemoRandom::StreamSeed(kSeed, static_cast<uint64_t>(league)));
    ClubNamer namer(league);
    std::set<std::string> names;
    for (int i = 0; i < 80; ++i) {
      const std::string name = namer.Next(rng);
      EXPECT_FALSE(name.empty());
      EXPECT_LE(name.size(), 50u) << name;
      EXPECT_EQ(name.find('"'), std::string::npos) << name;
      EXPECT_TRUE(names.insert(name).second) << name;
    }
  }
  EXPECT_THROW(ClubNamer(0), std::out_of_range);
  EXPECT_THROW(ClubNamer(21), std::out_of_range);
}

TEST(DemoRandomTest, DistributionsHaveTheirMeansAndSpreads) {
  struct Case {
    const char* name;
    std::function<double(DemoRandom&)> draw;
    double mean, sd;
  };
  const Case cases[] = {
      {"uniform", [](DemoRandom& r) { return r.Uniform(); }, 0.5, std::sqrt(1.0 / 12)},
      {"below 10", [](DemoRandom& r) { return r.Below(10); }, 4.5, std::sqrt(99.0 / 12)},
      {"normal", [](DemoRandom& r) { return r.Normal(2, 0.5); }, 2, 0.5},
      {"poisson 0.6", [](DemoRandom& r) { return r.Poisson(0.6); }, 0.6, std::sqrt(0.6)},
      {"poisson 3", [](DemoRandom& r) { return r.Poisson(3); }, 3, std::sqrt(3.0)},
      {"weighted 1:3",
       [](DemoRandom& r) {
         return r.Weighted({1, 3});
       },
       0.75, std::sqrt(0.1875)},
  };
  constexpr int kDraws = 200000;
  for (const Case& c : cases) {
    DemoRandom rng(kSeed);
    double sum = 0, squares = 0;
    for (int i = 0; i < kDraws; ++i) {
      const double x = c.draw(rng);
      sum += x;
      squares += x * x;
    }
    const double mean = sum / kDraws;
    EXPECT_NEAR(mean, c.mean, 4 * c.sd / std::sqrt(kDraws)) << c.name;
    EXPECT_NEAR(std::sqrt(squares / kDraws - mean * mean), c.sd, 0.01 * c.sd + 0.002) << c.name;
  }
}

TEST(DemoRandomTest, StreamsAreReproducibleAndIndependent) {
  DemoRandom a(DemoRandom::StreamSeed(kSeed, 4)), b(DemoRandom::StreamSeed(kSeed, 4));
  DemoRandom c(DemoRandom::StreamSeed(kSeed, 5));
  int equal_to_other_stream = 0;
  for (int i = 0; i < 100; ++i) {
    const double x = a.Uniform();
    EXPECT_EQ(x, b.Uniform());
    equal_to_other_stream += x == c.Uniform();
  }
  EXPECT_EQ(equal_to_other_stream, 0);
}

}  // namespace
}  // namespace morvela
