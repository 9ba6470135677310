// `morvela-cli fetch` against a local mirror of the public source: a first fetch into an empty
// folder, a second that sends only conditional requests, new results that meet their fixtures,
// a missing file, a malformed one, the size cap, and runs killed half-way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "child_process.h"
#include "cli_capture.h"
#include "core/database.h"
#include "fetch_mirror.h"
#include "fixture_db.h"
#include "nginx_server.h"
#include "slow_servers.h"
#include "test_support.h"
#include "update/http_client.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;
using test::EnglandSeason;
using test::kFixturesHeader;
using test::MirrorServer;
using ::testing::HasSubstr;
using ::testing::Not;

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [path, body] : test::SmallMirror()) server_.Serve(path, body);
  }

  std::vector<std::string> Args(const std::string& today, const std::string& source = "") {
    return {"--home",
            home_.Folder(),
            "--today",
            today,
            "fetch",
            "--source",
            source.empty() ? server_.Url() : source,
            "--league",
            "E0",
            "--league",
            "AUT",
            "--seasons",
            "2"};
  }
  test::CliRun Fetch(const std::string& today = "2025-03-10", const std::string& source = "") {
    return test::RunCliInProcess(Args(today, source));
  }
  std::string Dump(const std::string& sql) {
    Connection conn;
    conn.SetConnectionString(MakeConnectionString(home_.Folder(), ""));
    conn.Open();
    return test::DumpRows(conn, sql);
  }
  // Every match as "league|date|home|away|goals|1X2 and 1X odds", in a fixed order.
  std::string Matches() {
    return Dump(
        "SELECT SUTAZ.ID_LIGA,DATUM,H.NAZOV AS HN,A.NAZOV AS AN,HOME_GOAL,AWAY_GOAL,KURZ1,KURZ1X "
        "FROM VYSLEDKY INNER JOIN SUTAZ ON SUTAZ.ID=VYSLEDKY.ID_SUTAZ INNER JOIN MUZSTVA H ON "
        "H.ID=VYSLEDKY.HOME INNER JOIN MUZSTVA A ON A.ID=VYSLEDKY.AWAY LEFT JOIN KURZY ON "
        "KURZY.ID=VYSLEDKY.ID ORDER BY SUTAZ.ID_LIGA,DATUM,HN");
  }

  test::TempDir home_, work_;
  MirrorServer server_;
};

constexpr const char* kFirstFetch =
    "1|01.03.2025|Salzburg|Sturm|1|1|1,88|1,22\n"
    "1|02.03.2025|Rapid|LASK|2|0|2,05|1,26\n"
    "1|15.03.2025|Sturm|Rapid|-|-|1,78|1,19\n"  // a fixture of the smaller leagues' list
    "4|07.05.2023|Chelsea|Arsenal|1|2|3,1|1,62\n"
    "4|05.05.2024|Arsenal|Fulham|3|0|1,3|1,04\n"
    "4|02.03.2025|Arsenal|Chelsea|2|1|2,05|1,26\n"
    "4|02.03.2025|Everton|Fulham|0|0|2,5|1,4\n"
    "4|09.03.2025|Chelsea|Everton|1|1|1,62|1,15\n"
    "4|15.03.2025|Fulham|Arsenal|-|-|4|1,87\n";  // a fixture with its odds

// A first fetch brings the played matches and the fixtures with their odds; a second asks only
// conditionally and finds nothing new; two weeks later the fixture's result (played a day
// later than listed) becomes that match, and a file gone from the source is a warning only.
TEST_F(FetchTest, FirstFetchThenNothingNewThenResults) {
  const test::CliRun first = Fetch();
  ASSERT_EQ(first.rc, 0) << first.err;
  EXPECT_THAT(first.out, HasSubstr("Files: 6 new, 0 changed, 0 unchanged"));
  EXPECT_THAT(first.out, HasSubstr("England: 6 added, 0 updated, 1 fixtures"));
  EXPECT_EQ(Matches(), kFirstFetch);  // 2021/2022 is older than --seasons 2 allows
  EXPECT_EQ(server_.TakeRequests().size(), 6u);

  const test::CliRun second = Fetch();
  EXPECT_EQ(second.rc, 3) << second.err;  // nothing to do
  EXPECT_THAT(second.out, HasSubstr("Nothing new"));
  // The season before last is had and not asked for again; everything else only
  // conditionally.
  EXPECT_THAT(server_.TakeRequests(),
              ::testing::UnorderedElementsAre("mmz4281/2324/E0.csv ?", "mmz4281/2425/E0.csv ?",
                                              "fixtures.csv ?", "new/AUT.csv ?",
                                              "new_league_fixtures.csv ?"));
  EXPECT_EQ(Matches(), kFirstFetch);

  server_.Serve("mmz4281/2425/E0.csv", EnglandSeason(true));
  server_.Serve("fixtures.csv", kFixturesHeader);  // the match is played
  server_.Remove("new_league_fixtures.csv");
  const test::CliRun later = Fetch("2025-03-24");
  EXPECT_EQ(later.rc, 0) << later.err;
  EXPECT_THAT(later.err, HasSubstr("Warning: new_league_fixtures.csv: the server answered 404"));
  EXPECT_THAT(later.out, HasSubstr("Files: 0 new, 2 changed, 2 unchanged, 1 not available"));
  const std::string after = Matches();
  EXPECT_THAT(after, HasSubstr("4|16.03.2025|Fulham|Arsenal|0|3|4,1|1,89\n"));
  EXPECT_THAT(after, Not(HasSubstr("15.03.2025|Fulham")));
  // The fixture of Austria has passed unplayed and stays as it was; info says so.
  EXPECT_THAT(after, HasSubstr("1|15.03.2025|Sturm|Rapid|-|-|1,78|1,19\n"));
  EXPECT_THAT(
      test::RunCliInProcess({"--home", home_.Folder(), "--today", "2025-03-24", "info"}).out,
      HasSubstr("1 fixture(s) passed their date without a result (the first on 15.03.2025)"));
  // The replay reached the new result.
  EXPECT_EQ(Dump("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE HOME_GOAL=0 AND AWAY_GOAL=3 AND "
                 "ELO_ROZDIEL IS NOT NULL"),
            "1\n");
}

// The same mirror as static files of a real nginx, which answers conditional requests from the
// files' modification times and sizes. The second fetch's requests are all answered 304; a
// season file that grows (its time moved on) is the one file the third fetch downloads.
TEST_F(FetchTest, RealNginxAnswersTheSecondFetchWithNotModified) {
  if (!fs::exists(test::kNginx)) GTEST_SKIP() << "nginx is not installed (scripts/install-deps.sh)";
  test::TempDir server_dir;
  const fs::path www = server_dir.Path() / "www";
  for (const auto& [path, body] : test::SmallMirror()) {
    fs::create_directories((www / path).parent_path());
    test::WriteBytes(www / path, body);
  }
  test::Nginx nginx(server_dir.Path(), "");
  ASSERT_TRUE(nginx.Running()) << test::ReadBytes(server_dir.Path() / "error.log");
  // The access log's lines since the last call: "status \"GET /path HTTP/1.1\" \"etag\" \"date\"".
  size_t logged = 0;
  const auto requests = [&] {
    std::vector<std::string> lines;
    std::istringstream log(test::ReadBytes(server_dir.Path() / "access.log"));
    size_t n = 0;
    for (std::string line; std::getline(log, line); ++n)
      if (n >= logged) lines.push_back(line);
    logged = n;
    return lines;
  };

  const test::CliRun first = Fetch("2025-03-12", nginx.Url());
  ASSERT_EQ(first.rc, 0) << first.err;
  EXPECT_THAT(first.out, HasSubstr("Files: 6 new, 0 changed, 0 unchanged"));
  EXPECT_EQ(Matches(), kFirstFetch);
  EXPECT_THAT(requests(), ::testing::Each(::testing::StartsWith("200 ")));
  const test::CliRun week =
      test::RunCliInProcess({"--home", home_.Folder(), "--today", "2025-03-12", "tips", "week"});
  EXPECT_EQ(week.rc, 0) << week.err;
  EXPECT_THAT(week.out, HasSubstr("Fulham"));

  const test::CliRun second = Fetch("2025-03-12", nginx.Url());
  EXPECT_EQ(second.rc, 3) << second.err;
  EXPECT_THAT(second.out, HasSubstr("Nothing new"));
  const std::vector<std::string> conditional = requests();
  EXPECT_EQ(conditional.size(), 5u);  // the season before last is not asked for again
  // Answered 304 because of the validators sent back: each came with both.
  EXPECT_THAT(conditional, ::testing::Each(::testing::StartsWith("304 ")));
  EXPECT_THAT(conditional, ::testing::Each(Not(HasSubstr("\"-\""))));

  const fs::path season = www / "mmz4281/2425/E0.csv";
  test::WriteBytes(season, EnglandSeason(true));
  fs::last_write_time(season, fs::last_write_time(season) + std::chrono::minutes(5));
  const test::CliRun third = Fetch("2025-03-24", nginx.Url());
  EXPECT_EQ(third.rc, 0) << third.err;
  EXPECT_THAT(third.out, HasSubstr("Files: 0 new, 1 changed, 4 unchanged"));
  std::vector<std::string> downloaded;
  for (const std::string& line : requests())
    if (line.rfind("304 ", 0) != 0) downloaded.push_back(line.substr(0, line.find(" HTTP/")));
  EXPECT_THAT(downloaded, ::testing::ElementsAre("200 \"GET /mmz4281/2425/E0.csv"));
  EXPECT_THAT(Matches(), HasSubstr("4|16.03.2025|Fulham|Arsenal|0|3|4,1|1,89\n"));
}

// A malformed row is reported by the source's address and line; the rest of the file and the
// other files are imported.
TEST_F(FetchTest, MalformedRowNamesTheSourceFileAndLine) {
  server_.Serve("mmz4281/2425/E0.csv", EnglandSeason(false) +
                                           "E0,31/02/2025,15:00,A,B,1,0,H,"
                                           "0,0,D,2,3,4,2,3,4,2,2\n");
  const test::CliRun run = Fetch();
  EXPECT_EQ(run.rc, 1);
  EXPECT_THAT(run.err, HasSubstr(server_.Url() + "mmz4281/2425/E0.csv:5: malformed date"));
  EXPECT_EQ(Matches(), kFirstFetch);
}

// An answer longer than the cap ends the request; the file is not kept.
TEST(FetchHttp, AFileOverTheCapFails) {
  auto endless = test::EndlessServer();
  test::TempDir dir;
  HttpClient http;
  HttpValidators fresh;
  const HttpResult r =
      http.GetFileIfChanged(endless->Url() + "x.csv", dir.Path() / "x.csv", {}, fresh, 100 * 1024);
  EXPECT_FALSE(r.ok);
  EXPECT_THAT(r.error, HasSubstr("longer than 100 KiB"));
  EXPECT_FALSE(fs::exists(dir.Path() / "x.csv"));
}

// Killed after the downloads and after the first file's commit: the next fetch completes the
// job, with the same matches as an undisturbed run and nothing left behind.
TEST_F(FetchTest, AKilledFetchIsCompletedByTheNext) {
  for (const char* step : {"fetch:downloaded", "import:file-committed"}) {
    SCOPED_TRACE(step);
    for (const auto& e : fs::directory_iterator(home_.Path())) fs::remove_all(e.path());
    const test::Finished killed =
        test::Process(Args("2025-03-10"), work_.Path() / "killed", MORVELA_CLI_PATH,
                      {std::string("MORVELA_KILL_AT=") + step})
            .Wait();
    ASSERT_EQ(killed.code, -SIGKILL) << killed.err;
    const test::CliRun next = Fetch();
    EXPECT_EQ(next.rc, 0) << next.err;
    EXPECT_EQ(Matches(), kFirstFetch);
    EXPECT_EQ(Dump("SELECT COUNT(*) AS N FROM REPLAY_PENDING"), "0\n");
    for (const auto& e : fs::directory_iterator(home_.Path()))
      EXPECT_NE(e.path().filename().string().rfind(".fetch-", 0), 0u) << e.path();
  }
}

}  // namespace
}  // namespace morvela
