// `morvela-cli fetch` against a local mirror of the public source: a first fetch into an empty
// folder, a second that sends only conditional requests, new results that meet their fixtures,
// a missing file, a malformed one, the size cap, and runs killed half-way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <map>
#include <mutex>
#include <thread>

#include "child_process.h"
#include "cli_capture.h"
#include "core/database.h"
#include "slow_servers.h"
#include "test_support.h"
#include "update/http_client.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// Serves files by path with an ETag of their own; a request whose If-None-Match names the
// current ETag gets 304. Records each request's path and whether it was conditional.
class MirrorServer {
 public:
  MirrorServer() {
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> guard(mutex_);
      const std::string path = req.path.substr(1);
      const bool conditional = req.has_header("If-None-Match");
      requests_.push_back(path + (conditional ? " ?" : ""));
      const auto file = files_.find(path);
      if (file == files_.end()) {
        res.status = 404;
        return;
      }
      const std::string etag = "\"" + std::to_string(std::hash<std::string>{}(file->second)) + "\"";
      res.set_header("ETag", etag);
      if (req.get_header_value("If-None-Match") == etag) {
        res.status = 304;
        return;
      }
      res.set_content(file->second, "text/csv");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~MirrorServer() {
    server_.stop();
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
  void Serve(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> guard(mutex_);
    files_[path] = body;
  }
  void Remove(const std::string& path) {
    std::lock_guard<std::mutex> guard(mutex_);
    files_.erase(path);
  }
  // The requests since the last call, "path" or "path ?" for a conditional one.
  std::vector<std::string> TakeRequests() {
    std::lock_guard<std::mutex> guard(mutex_);
    return std::exchange(requests_, {});
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, std::string> files_;
  std::vector<std::string> requests_;
};

constexpr const char* kMainHeader =
    "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,B365H,B365D,B365A,AvgH,AvgD,"
    "AvgA,Avg>2.5,Avg<2.5\n";
constexpr const char* kNewHeader =
    "Country,League,Season,Date,Time,Home,Away,HG,AG,Res,PSCH,PSCD,PSCA,MaxCH,MaxCD,MaxCA,AvgCH,"
    "AvgCD,AvgCA\n";

// A round of four English clubs from 2 March; `late` adds the match of the fixture list played
// on 16 March (listed for the 15th).
std::string EnglandSeason(bool late) {
  std::string s = std::string(kMainHeader) +
                  "E0,02/03/2025,15:00,Arsenal,Chelsea,2,1,H,1,0,H,2,3.4,3.6,2.05,3.3,3.7,1.8,2\n"
                  "E0,02/03/2025,17:30,Everton,Fulham,0,0,D,0,0,D,2.6,3.1,2.8,2.5,3.2,2.9,2.1,1.7\n"
                  "E0,09/03/2025,15:00,Chelsea,Everton,1,1,D,0,1,A,1.6,4,5.5,1.62,4,5.2,1.7,2.1\n";
  if (late) s += "E0,16/03/2025,16:00,Fulham,Arsenal,0,3,A,0,1,A,4,3.6,1.9,4.1,3.5,1.9,1.9,1.9\n";
  return s;
}

constexpr const char* kFixturesHeader =
    "Div,Date,Time,HomeTeam,AwayTeam,B365H,B365D,B365A,AvgH,AvgD,AvgA,Avg>2.5,Avg<2.5\n";
const std::string kEnglishFixtures =
    std::string(kFixturesHeader) +
    "E0,15/03/2025,15:00,Fulham,Arsenal,4.2,3.6,1.85,4,3.5,1.9,1.9,1.9\n"
    "E1,15/03/2025,15:00,Leeds,Burnley,2,3.3,3.9,2,3.3,3.8,2,1.8\n";

const std::string kAustria = std::string(kNewHeader) +
                             "Austria,Bundesliga,2021/2022,30/07/2021,17:00,Salzburg,Rapid,3,0,H,"
                             "1.3,5.5,9,1.35,6,10,1.3,5.4,8.5\n"
                             "Austria,Bundesliga,2024/2025,01/03/2025,17:00,Salzburg,Sturm,1,1,D,"
                             "1.9,3.6,3.8,2,3.8,4,1.88,3.5,3.7\n"
                             "Austria,Bundesliga,2024/2025,02/03/2025,17:00,Rapid,LASK,2,0,H,2.1,"
                             "3.4,3.3,2.2,3.5,3.5,2.05,3.3,3.2\n";

constexpr const char* kNewFixtures =
    "Country,League,Date,Time,Home,Away,PSCH,PSCD,PSCA,AvgCH,AvgCD,AvgCA\n"
    "Austria,Bundesliga,15/03/2025,17:00,Sturm,Rapid,1.8,3.7,4.2,1.78,3.6,4.1\n"
    "Argentina,Liga Profesional,15/03/2025,20:00,Boca,River,2.4,3,3.1,2.3,3,3\n";

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Serve("mmz4281/2223/E0.csv", std::string(kMainHeader) +
                                             "E0,07/05/2023,15:00,Chelsea,Arsenal,1,2,A,0,1,A,3,"
                                             "3.5,2.2,3.1,3.4,2.3,1.7,2.1\n");
    server_.Serve("mmz4281/2324/E0.csv", std::string(kMainHeader) +
                                             "E0,05/05/2024,15:00,Arsenal,Fulham,3,0,H,1,0,H,1.3,"
                                             "5,9,1.3,5.2,9.5,1.5,2.6\n");
    server_.Serve("mmz4281/2425/E0.csv", EnglandSeason(false));
    server_.Serve("fixtures.csv", kEnglishFixtures);
    server_.Serve("new/AUT.csv", kAustria);
    server_.Serve("new_league_fixtures.csv", kNewFixtures);
  }

  std::vector<std::string> Args(const std::string& today) {
    return {"--home",   home_.Folder(), "--today",  today, "fetch",     "--source", server_.Url(),
            "--league", "E0",           "--league", "AUT", "--seasons", "2"};
  }
  test::CliRun Fetch(const std::string& today = "2025-03-10") {
    return test::RunCliInProcess(Args(today));
  }
  std::string Dump(const std::string& sql) {
    Connection conn;
    conn.SetConnectionString(MakeConnectionString(home_.Folder(), ""));
    conn.Open();
    Query q(conn);
    q.Open(sql);
    std::string out;
    for (; !q.Eof(); q.Next()) {
      for (size_t c = 0; c < q.FieldNames().size(); ++c) {
        const Field f = q.FieldByName(q.FieldNames()[c]);
        out += (c ? "|" : "") + (f.IsNull() ? std::string("-") : f.AsString());
      }
      out += "\n";
    }
    return out;
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
