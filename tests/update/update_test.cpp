// The results database update and the odds update against an HTTP server the test runs itself.
#include "update/database_update.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "fake_ui.h"
#include "i18n/message_ids.h"
#include "test_support.h"
#include "update/odds_update.h"
#include "update/program_version.h"
#include "update_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;
using test::Compress;
using test::Inspect;
using test::MakeDatabase;

constexpr const char* kLocalDate = "01.06.2010";  // the local database's date
constexpr const char* kToday = "05.06.2010";      // the program's today in these tests

class UpdateTest : public test::UpdaterFixture {
 public:
  void SetUp() override {
    MakeDatabase(dir_.Path() / "Morvela.mdb", kLocalDate, 3, "Old");
    test::WriteUpdateSettings(dir_.Folder(), server_.Url());
  }

  Program& Start() {
    StartUpdater({2, 2, 1});
    return *program_;
  }

  // A results package: a database of this program dated `date` with `teams` "New" clubs.
  std::string Package(const std::string& date, int teams = 5, const std::string& mark = "3.1") {
    const fs::path file = packages_.Path() / "package.mdb";
    MakeDatabase(file, date, teams, "New");
    Connection c;
    c.OpenFile(file.string(), false);
    c.Execute("UPDATE NASTAVENIE SET VERZIA=" + QuoteSqlText(EncipherText(mark)));
    c.Close();
    return Compress(test::ReadBytes(file));
  }

  void ServeDate(const std::string& date) { server_.Serve(kDateCheckPath, EncipherText(date)); }

  // The old database is in place, whole, and the program still reads it.
  void ExpectOldDatabase() {
    const test::DatabaseState s = Inspect(dir_.Path() / "Morvela.mdb");
    EXPECT_TRUE(s.intact);
    EXPECT_EQ(s.tag, "Old");
    EXPECT_EQ(s.teams, 3);
    Query q(program_->dm.ADOConnection1);
    q.Open("SELECT COUNT(*) AS N FROM MUZSTVA");
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 3);
    EXPECT_TRUE(test::Leftovers(dir_.Folder()).empty())
        << ::testing::PrintToString(test::Leftovers(dir_.Folder()));
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : ui_.messages) texts.push_back(m.text);
    return texts;
  }

  test::TempDir packages_;
};

TEST(UpdateTextsTest, EncodingVersionsAndCommas) {
  struct Case {
    std::string in, out;
  } encodings[] = {{"4.8", "4.8"},
                   {"a b#c%d*e+f<g>h", "a%20b%23c%25d%2Ae%2Bf%3Cg%3Eh"},
                   {"\t\x7f", "%09\x7f"},
                   {"\xc3\xa1", "%C3%A1"},
                   {"", ""}};
  for (const Case& c : encodings) EXPECT_EQ(PercentEncode(c.in), c.out) << c.in;

  struct Order {
    const char *a, *b;
    int sign;
  } orders[] = {{"4.8", "4.8", 0},
                {"4.10", "4.9", 1},
                {"4.8", "4.8.0", 0},
                {"5", "4.99", 1},
                {"4.8", "4.8.1", -1}};
  for (const Order& o : orders) {
    const int r = CompareVersions(o.a, o.b);
    EXPECT_EQ((r > 0) - (r < 0), o.sign) << o.a << " vs " << o.b;
  }
  for (const char* bad : {"", "4.", ".4", "4..8", "v4.8", "4.8 beta"})
    EXPECT_FALSE(IsVersionText(bad)) << bad;

  EXPECT_EQ(CommaToPoint("1,85"), "1.85");
  EXPECT_EQ(CommaToPoint("1,2,3"), "1.2.3");
  EXPECT_EQ(JoinUrl("http://h/m", "/check.txt"), "http://h/m/check.txt");
  // Linux releases read "6.1.0-18-amd64": the major and minor version.
  const std::string os = OsVersionText();
  EXPECT_FALSE(os.empty());
  EXPECT_EQ(std::count(os.begin(), os.end(), '.'), 1) << os;
}

TEST(UpdateServerSettingsTest, ReadsServerAndCredentials) {
  test::TempDir dir;
  const fs::path ini = dir.Path() / "Nastavenie.ini";
  EXPECT_EQ(ReadUpdateServer(ini).base_url, kDefaultUpdateServer);
  IniFile f(ini);
  f.WriteString("Update", "Server", "http://example.test/morvela");
  f.WriteString("Update", "User", EncipherText("tipper"));
  f.WriteString("Update", "Password", "not enciphered");
  f.Save();
  const UpdateServer s = ReadUpdateServer(ini);
  EXPECT_EQ(s.base_url, "http://example.test/morvela/");
  EXPECT_EQ(s.user, "tipper");
  EXPECT_EQ(s.password, "");
  setenv("MORVELA_UPDATE_URL", "http://override.test/", 1);
  EXPECT_EQ(ReadUpdateServer(ini).base_url, "http://override.test/");
  unsetenv("MORVELA_UPDATE_URL");
}

TEST(HttpClientTest, HeadersAuthenticationCookiesAndStatuses) {
  test::TestServer server;
  server.Serve("first", "one", 200, "sid=42; Path=/");
  server.Serve("second", "two");
  server.Serve("gone", "", 404);
  server.Serve("broken", "oops", 500);
  server.Serve("secret", "", 401);
  HttpClient http;
  http.SetCredentials("user", "pw");
  std::string body;
  ASSERT_TRUE(http.GetText(server.Url() + "first", body).ok);
  EXPECT_EQ(body, "one");
  ASSERT_TRUE(http.GetText(server.Url() + "second", body).ok);
  const std::vector<test::SeenRequest> seen = server.Requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].user_agent, kUpdateUserAgent);
  EXPECT_EQ(seen[0].accept, "text/html, */*");
  EXPECT_EQ(seen[0].authorization, "Basic dXNlcjpwdw==");
  EXPECT_EQ(seen[1].cookie, "sid=42");

  for (const auto& [path, status] :
       std::vector<std::pair<std::string, long>>{{"gone", 404}, {"broken", 500}, {"secret", 401}}) {
    const HttpResult r = http.GetText(server.Url() + path, body);
    EXPECT_FALSE(r.ok) << path;
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(body, "");
    test::TempDir dir;
    EXPECT_FALSE(http.GetFile(server.Url() + path, dir.Path() / "x.qvz").ok);
    EXPECT_FALSE(fs::exists(dir.Path() / "x.qvz")) << "a failed download leaves no file";
  }
  // The default address is a placeholder: no request leaves the machine.
  const HttpResult placeholder =
      http.GetText(std::string(kDefaultUpdateServer) + "check.txt", body);
  EXPECT_FALSE(placeholder.ok);
  EXPECT_NE(placeholder.error.find("no update server is set"), std::string::npos);
}

TEST_F(UpdateTest, SilentServerEndsWithinTheTimeout) {
  test::SilentServer silent;
  test::WriteUpdateSettings(dir_.Folder(), silent.Url());
  Start();
  updater_->Options().timeouts = {1, 1, 1};
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(updater_->AktualizovatDB(1), kCheckFailed);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].kind, MessageKind::kError);
  EXPECT_TRUE(LastText().starts_with("Could not connect to update server !")) << LastText();
}

TEST_F(UpdateTest, CheckComparesTheServerDateWithTheLocalOne) {
  struct Case {
    std::string local, answer;  // the answer as the server sends it
    int status;
    int expected;
    std::string server_text;
  } cases[] = {
      {kLocalDate, EncipherText("02.06.2010"), 200, kServerNewer, "02.06.2010"},
      {kLocalDate, EncipherText(kLocalDate), 200, kDatabaseCurrent, kLocalDate},
      {kLocalDate, EncipherText("31.05.2010") + "\r\n", 200, kDatabaseCurrent, "31.05.2010"},
      {kLocalDate, EncipherText("2010-06-02"), 200, kServerNewer, "02.06.2010"},
      // An answer that is no date says nothing about the server's database.
      {kLocalDate, "not a cipher", 200, kCheckFailed, ""},
      {kLocalDate, EncipherText("soon"), 200, kCheckFailed, ""},
      {kToday, EncipherText("soon"), 200, kCheckFailed, ""},
      {kLocalDate, "", 404, kCheckFailed, ""},
      {kLocalDate, "", 500, kCheckFailed, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.local + " / " + c.answer + " / " + std::to_string(c.status));
    MakeDatabase(dir_.Path() / "Morvela.mdb", c.local, 3, "Old");
    Start();
    server_.Serve(kDateCheckPath, c.answer, c.status);
    ui_.messages.clear();
    EXPECT_EQ(updater_->AktualizovatDB(0), c.expected);
    EXPECT_TRUE(ui_.messages.empty()) << "a quiet check shows nothing";
    EXPECT_EQ(updater_->ServerDateText(), c.server_text);
    if (c.expected == kCheckFailed) {
      EXPECT_EQ(updater_->AktualizovatDB(1), kCheckFailed);
      EXPECT_TRUE(LastText().starts_with("Could not connect to update server !"));
    }
  }
}

TEST_F(UpdateTest, InstallReplacesTheDatabaseKeepsTheVersionMarkAndReports) {
  Program& p = Start();
  ServeDate("02.06.2010");
  server_.Serve(kResultsPackagePath, Package("02.06.2010"));
  server_.Serve(kReportPath, "thanks");
  ui_.yes_answer = true;
  EXPECT_EQ(updater_->TBUpdateClick(), UpdateOutcome::kInstalled);

  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "The new version of results database from 02.06.2010 is available !\r\n"
                         "Run an update ?",
                         "Updating the results database from 02.06.2010 was successful !"}));
  EXPECT_EQ(wait_.Depth(), 0);
  EXPECT_EQ(wait_.LastMessage(), "Updating the database ... ");
  const test::DatabaseState s = Inspect(dir_.Path() / "Morvela.mdb");
  EXPECT_TRUE(s.intact);
  EXPECT_EQ(s.tag, "New");
  EXPECT_EQ(s.teams, 5);
  EXPECT_EQ(s.mark, kProgramVersion) << "the local version mark is carried over";
  EXPECT_EQ(DecipherText(p.db_date, true), "02.06.2010") << "the local date is read again";
  Query q(p.dm.ADOConnection1);
  q.Open("SELECT COUNT(*) AS N FROM MUZSTVA");
  EXPECT_EQ(q.FieldByName("N").AsInteger(), 5);
  EXPECT_TRUE(test::Leftovers(dir_.Folder()).empty())
      << ::testing::PrintToString(test::Leftovers(dir_.Folder()));
  EXPECT_EQ(Inspect(dir_.Path() / "Morvela.mdb.bak").tag, "Old") << "the backup is the old file";

  ASSERT_EQ(server_.Count(kReportPath), 1);
  const test::SeenRequest report = server_.Requests().back();
  EXPECT_EQ(report.query.at("LANG"), "1");
  EXPECT_EQ(report.query.at("VER"), kProgramVersion);
  EXPECT_EQ(report.query.at("OS"), OsVersionText());
  // Now the server's database is the local one.
  EXPECT_EQ(updater_->AktualizovatDB(0), kDatabaseCurrent);
}

// Another program with the database open (the desktop program beside a terminal) sees the
// installed rows, and what it writes afterwards is in the file the next start reads, not in a
// file renamed away under it.
TEST_F(UpdateTest, AnotherConnectionSeesTheInstallAndKeepsItsWrites) {
  Start();
  Connection other;
  other.SetConnectionString("Data Source=" + (dir_.Path() / "Morvela.mdb").string());
  other.Open();
  other.Execute("INSERT INTO MUZSTVA (ID_LIGA,NAZOV) VALUES (1,\"Before\")");
  ServeDate("02.06.2010");
  server_.Serve(kResultsPackagePath, Package("02.06.2010", 5));
  ui_.yes_answer = true;
  ASSERT_EQ(updater_->TBUpdateClick(), UpdateOutcome::kInstalled);
  Query q(other);
  q.Open("SELECT COUNT(*) AS N FROM MUZSTVA");
  EXPECT_EQ(q.FieldByName("N").AsInteger(), 5);
  other.Execute("INSERT INTO MUZSTVA (ID_LIGA,NAZOV) VALUES (1,\"After\")");
  other.Close();
  EXPECT_EQ(Inspect(dir_.Path() / "Morvela.mdb").teams, 6);
  // The folder's lock keeps a second writer out while the install runs; here it was free.
  EXPECT_TRUE(test::Leftovers(dir_.Folder()).empty());
}

TEST_F(UpdateTest, FailedInstallKeepsTheOldDatabaseInUse) {
  struct Case {
    const char* name;
    std::function<std::string(UpdateTest&)> package;  // the body of results.qvz
    int status;
    uint64_t limit;
    const char* message;
  } cases[] = {
      {"not found", [](UpdateTest&) { return std::string(); }, 404, kDefaultInflateLimit,
       "Could not connect to update server !"},
      {"server error", [](UpdateTest&) { return std::string("x"); }, 500, kDefaultInflateLimit,
       "Could not connect to update server !"},
      {"truncated stream",
       [](UpdateTest& t) {
         const std::string whole = t.Package("02.06.2010");
         return whole.substr(0, whole.size() / 2);
       },
       200, kDefaultInflateLimit, "Failed to update the database !"},
      {"no zlib stream", [](UpdateTest&) { return std::string(5000, 'z'); }, 200,
       kDefaultInflateLimit, "Failed to update the database !"},
      {"data after the stream", [](UpdateTest& t) { return t.Package("02.06.2010") + "junk"; }, 200,
       kDefaultInflateLimit, "Failed to update the database !"},
      {"a text, no database", [](UpdateTest&) { return Compress(std::string(100000, 'a')); }, 200,
       kDefaultInflateLimit, "Failed to update the database !"},
      {"a database of another program",
       [](UpdateTest& t) {
         const fs::path other = t.packages_.Path() / "other.db";
         Connection c;
         c.OpenFile(other.string(), true);
         c.ExecuteNative("CREATE TABLE NOTES (X TEXT); INSERT INTO NOTES VALUES ('x')");
         c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
         c.Close();
         return Compress(test::ReadBytes(other));
       },
       200, kDefaultInflateLimit, "Failed to update the database !"},
      {"a damaged database",
       [](UpdateTest& t) {
         const fs::path file = t.packages_.Path() / "package.mdb";
         t.Package("02.06.2010", 400);
         std::string bytes = test::ReadBytes(file);
         for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 8192; ++i) bytes[i] = '\x5a';
         return Compress(bytes);
       },
       200, kDefaultInflateLimit, "Failed to update the database !"},
      {"over the inflate limit", [](UpdateTest& t) { return t.Package("02.06.2010"); }, 200, 4096,
       "Failed to update the database !"},
  };
  Start();
  ServeDate("02.06.2010");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Serve(kResultsPackagePath, c.package(*this), c.status);
    updater_->Options().inflate_limit = c.limit;
    ui_.messages.clear();
    EXPECT_EQ(updater_->TBUpdateClick(), UpdateOutcome::kFailed);
    ASSERT_EQ(ui_.messages.size(), 2u) << ::testing::PrintToString(Texts());
    EXPECT_EQ(ui_.messages[1].kind, MessageKind::kError);
    EXPECT_TRUE(LastText().starts_with(c.message)) << LastText();
    EXPECT_EQ(wait_.Depth(), 0);
    EXPECT_EQ(DecipherText(program_->db_date, true), kLocalDate);
    ExpectOldDatabase();
  }
  EXPECT_EQ(server_.Count(kReportPath), 0);
}

TEST_F(UpdateTest, AFailingReportDoesNotFailTheInstall) {
  Start();
  server_.Serve(kResultsPackagePath, Package("02.06.2010"));
  server_.Serve(kReportPath, "", 500);
  EXPECT_EQ(updater_->AktualizaciaDB(), InstallResult::kInstalled);
  EXPECT_EQ(server_.Count(kReportPath), 1);
  EXPECT_EQ(Inspect(dir_.Path() / "Morvela.mdb").tag, "New");
  // No check ran: the success message names today.
  EXPECT_EQ(LastText(), "Updating the results database from 05.06.2010 was successful !");
}

TEST_F(UpdateTest, StartupChecks) {
  struct Case {
    bool compulsory;
    int dbf, app;
    bool yes;
    std::string version;  // what version.txt holds ("" answers 404)
    int checks, version_requests;
    std::vector<std::string> texts;
    const char* tag;
  } cases[] = {
      // The compulsory install makes no check request and names today.
      {true,
       0,
       1,
       false,
       "",
       0,
       0,
       {"For the correct operation of the program it is necessary to update the results "
        "database",
        "Updating the results database from 05.06.2010 was successful !"},
       "New"},
      {false,
       0,
       1,
       true,
       "",
       1,
       0,
       {"The new version of results database from 02.06.2010 is available !\r\nRun an update ?",
        "Updating the results database from 02.06.2010 was successful !"},
       "New"},
      {false,
       0,
       1,
       false,
       "",
       1,
       0,
       {"The new version of results database from 02.06.2010 is available !\r\nRun an update ?"},
       "Old"},
      {false, 1, 1, true, "", 0, 0, {}, "Old"},
      {false, 1, 0, true, "9.0.1", 0, 1, {"Version 9.0.1 is available at " + server_.Url()}, "Old"},
      {false, 1, 0, true, kProgramVersion, 0, 1, {}, "Old"},
      {false, 1, 0, true, "", 0, 1, {}, "Old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.compulsory) + std::to_string(c.dbf) + std::to_string(c.app) +
                 c.version);
    MakeDatabase(dir_.Path() / "Morvela.mdb", kLocalDate, 3, "Old");
    test::WriteUpdateSettings(dir_.Folder(), server_.Url(), c.dbf, c.app);
    test::TestServer server;  // counts this case's requests alone
    test::WriteUpdateSettings(dir_.Folder(), server.Url(), c.dbf, c.app);
    server.Serve(kDateCheckPath, EncipherText("02.06.2010"));
    server.Serve(kResultsPackagePath, Package("02.06.2010"));
    if (!c.version.empty()) server.Serve(kVersionPath, c.version + "\n");
    Program& p = Start();
    p.compulsory_update = c.compulsory;
    ui_.yes_answer = c.yes;
    ui_.messages.clear();
    EXPECT_EQ(updater_->StartupUpdateCheck(), InstallResult::kInstalled);
    std::vector<std::string> expected = c.texts;
    if (c.version == "9.0.1") expected = {"Version 9.0.1 is available at " + server.Url()};
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(server.Count(kDateCheckPath), c.checks);
    EXPECT_EQ(server.Count(kVersionPath), c.version_requests);
    EXPECT_EQ(Inspect(dir_.Path() / "Morvela.mdb").tag, c.tag);
    EXPECT_FALSE(p.compulsory_update) << "the flag is read once";
  }
}

TEST_F(UpdateTest, FindNewVersionSaysWhatItFoundEveryTime) {
  struct Case {
    std::string version;  // what version.txt holds ("" answers 404)
    MessageKind kind;
    std::string text;  // "<URL>" stands for the server's address
  } cases[] = {
      {"9.0.1", MessageKind::kInformation, "Version 9.0.1 is available at <URL>"},
      {kProgramVersion, MessageKind::kInformation,
       "Version " + std::string(kProgramVersion) + " is the newest version."},
      {"", MessageKind::kError, "Could not connect to update server !"},
      {"not a version", MessageKind::kError, "Could not connect to update server !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    test::TestServer server;
    if (!c.version.empty()) server.Serve(kVersionPath, c.version + "\n");
    Start();
    test::WriteUpdateSettings(dir_.Folder(), server.Url(), 1, 1);
    ui_.messages.clear();
    updater_->FindNewVersion();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].kind, c.kind);
    std::string expected = c.text;
    if (const size_t at = expected.find("<URL>"); at != std::string::npos)
      expected.replace(at, 5, server.Url());
    EXPECT_EQ(ui_.messages[0].text, expected);
    EXPECT_EQ(server.Count(kVersionPath), 1);
  }
}

// --- odds -----------------------------------------------------------------------------------

class OddsUpdateTest : public UpdateTest {
 public:
  // An odds package: a database holding KURZY alone, whose odds columns keep what the rows
  // give them (texts with a decimal comma stay texts).
  std::string OddsPackage(const std::vector<std::string>& rows) {
    const fs::path file = packages_.Path() / "odds.db";
    fs::remove(file);
    Connection c;
    c.OpenFile(file.string(), true);
    std::string columns = "ID INTEGER PRIMARY KEY";
    for (const char* column : kOddsColumns) columns += std::string(",") + column;
    c.ExecuteNative("CREATE TABLE KURZY (" + columns + ")");
    for (const std::string& row : rows) c.ExecuteNative("INSERT INTO KURZY VALUES (" + row + ")");
    c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
    c.Close();
    return Compress(test::ReadBytes(file));
  }

  // Twenty odds values after the id: the first given, the rest 2.5.
  static std::string Row(int id, const std::string& first, const std::string& second = "2.5") {
    std::string row = std::to_string(id) + "," + first + "," + second;
    for (int i = 2; i < 20; ++i) row += ",2.5";
    return row;
  }

  // A match of the local database: a coming one (no result) unless `played`.
  void AddMatch(int id, bool played = false) {
    program_->dm.ADOConnection1.Execute(
        "INSERT INTO VYSLEDKY (ID,ID_SUTAZ,DATUM,HOME,AWAY,VYSLEDOK) VALUES (" +
        std::to_string(id) + ",1,#2010-06-06#,1,2," + (played ? "\"1\"" : "NULL") + ")");
  }

  void AddLocalOdds(int id, double kurz1, const std::string& bwin) {
    program_->dm.ADOConnection1.Execute("INSERT INTO KURZY (ID,KURZ1,KURZX,BWIN_ID) VALUES (" +
                                        std::to_string(id) + "," + FormatSqlNumber(kurz1) +
                                        ",3.3," + QuoteSqlText(bwin) + ")");
  }

  ResultData Odds() {
    return program_->dm.ADOConnection1.Select(
        "SELECT ID,KURZ1,KURZX,UNDER,BWIN_ID FROM KURZY ORDER BY ID");
  }
};

TEST_F(OddsUpdateTest, MergeUpdatesInsertsAndKeepsTheBookmakersId) {
  Start();
  for (int id : {10, 11, 12}) AddMatch(id);
  AddLocalOdds(10, 2.0, "B10");
  AddLocalOdds(12, 4.0, "B12");
  server_.Serve(kOddsPackagePath, OddsPackage({Row(10, "'1,85'", "''"), Row(11, "1.5", "NULL")}));
  EXPECT_TRUE(updater_->AktualizaciaKurzy());
  EXPECT_EQ(LastText(), "The update of odds was successful !");
  EXPECT_EQ(wait_.LastMessage(), "Updating odds ...");
  const ResultData odds = Odds();
  ASSERT_EQ(odds.rows.size(), 3u);
  // Match 10: every odds replaced, the comma text read as 1.85, the empty text NULL, its
  // bookmaker's id kept.
  auto cell = [&](size_t row, size_t column) {
    return Field(odds.rows[row][column], ColumnKind::kPlain);
  };
  EXPECT_EQ(cell(0, 1).AsFloat(), 1.85);
  EXPECT_TRUE(cell(0, 2).IsNull());
  EXPECT_EQ(cell(0, 3).AsFloat(), 2.5);
  EXPECT_EQ(cell(0, 4).AsString(), "B10");
  // Match 11 is new and has no bookmaker's id.
  EXPECT_EQ(cell(1, 0).AsInteger(), 11);
  EXPECT_EQ(cell(1, 1).AsFloat(), 1.5);
  EXPECT_TRUE(cell(1, 2).IsNull());
  EXPECT_TRUE(cell(1, 4).IsNull());
  // Match 12 is not in the package and stays as it was.
  EXPECT_EQ(cell(2, 1).AsFloat(), 4.0);
  EXPECT_EQ(cell(2, 4).AsString(), "B12");
  EXPECT_TRUE(test::Leftovers(dir_.Folder()).empty());
}

// Only the coming matches of this database take odds: a package cannot leave odds without a
// match (a later import would stop on its id) nor rewrite what a played match was tipped at.
TEST_F(OddsUpdateTest, OnlyComingMatchesTakeOdds) {
  Start();
  AddMatch(10);
  AddMatch(11, /*played=*/true);
  AddLocalOdds(11, 2.0, "B11");
  server_.Serve(kOddsPackagePath,
                OddsPackage({Row(10, "1.5"), Row(11, "9.9"), Row(77, "1.1"), Row(78, "1.1")}));
  EXPECT_TRUE(updater_->AktualizaciaKurzy());
  const OddsMergeCount& c = updater_->LastOddsMerge();
  EXPECT_EQ(c.inserted + c.updated, 1);
  EXPECT_EQ(c.unknown_match, 2);
  EXPECT_EQ(c.played, 1);
  EXPECT_EQ(OddsMergeText(c),
            "1 odds merged; skipped: 2 for matches this database does not have, 1 for matches "
            "already played");
  const ResultData odds = Odds();
  ASSERT_EQ(odds.rows.size(), 2u);
  EXPECT_EQ(Field(odds.rows[0][1], ColumnKind::kPlain).AsFloat(), 1.5);
  EXPECT_EQ(Field(odds.rows[1][1], ColumnKind::kPlain).AsFloat(), 2.0);
}

TEST_F(OddsUpdateTest, FailuresMergeNothing) {
  struct Case {
    const char* name;
    std::function<std::string(OddsUpdateTest&)> package;
    int status;
    const char* message;  // the message box, or the reason thrown to the general error report
  } cases[] = {
      {"not found", [](OddsUpdateTest&) { return std::string(); }, 404,
       "Could not connect to update server !"},
      {"no odds table", [](OddsUpdateTest&) { return Compress(std::string(1000, 'q')); }, 200,
       "Unable to connect to the database !"},
      {"a value that is no number",
       [](OddsUpdateTest& t) {
         return t.OddsPackage({Row(10, "1.1"), Row(11, "'abc'")});
       },
       200, "the odds package's KURZ1 of match 11 is not a number: abc"},
      {"truncated", [](OddsUpdateTest& t) { return t.OddsPackage({Row(10, "1.1")}).substr(0, 40); },
       200, "the package"},
      {"KURZY a view",
       [](OddsUpdateTest& t) {
         t.OddsPackage({Row(10, "1.1")});
         Connection c;
         c.OpenFile((t.packages_.Path() / "odds.db").string(), false);
         // Endless rows, as a hostile server would send them.
         c.ExecuteNative(
             "ALTER TABLE KURZY RENAME TO K0; CREATE VIEW KURZY AS WITH RECURSIVE n(i) AS "
             "(SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT K0.* FROM n, K0");
         c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
         c.Close();
         return Compress(test::ReadBytes(t.packages_.Path() / "odds.db"));
       },
       200, "the odds package's KURZY is a view, not a table"},
      {"too many rows",
       [](OddsUpdateTest& t) {
         t.OddsPackage({});
         Connection c;
         c.OpenFile((t.packages_.Path() / "odds.db").string(), false);
         c.ExecuteNative(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(kMaxOddsRows + 1) + ") INSERT INTO KURZY (ID) SELECT i FROM n");
         c.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
         c.Close();
         return Compress(test::ReadBytes(t.packages_.Path() / "odds.db"));
       },
       200, "the odds package holds 200001 rows, more than 200000"},
  };
  Start();
  for (int id : {10, 11}) AddMatch(id);
  AddLocalOdds(10, 2.0, "B10");
  const ResultData before = Odds();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Serve(kOddsPackagePath, c.package(*this), c.status);
    ui_.messages.clear();
    std::string thrown;
    try {
      EXPECT_FALSE(updater_->AktualizaciaKurzy());
    } catch (const std::exception& e) {
      thrown = e.what();
    }
    if (thrown.empty()) {
      ASSERT_EQ(ui_.messages.size(), 1u);
      EXPECT_EQ(ui_.messages[0].kind, MessageKind::kError);
      EXPECT_TRUE(LastText().starts_with(c.message)) << LastText();
    } else {
      EXPECT_TRUE(ui_.messages.empty());
      EXPECT_TRUE(thrown.starts_with(c.message)) << thrown;
    }
    EXPECT_EQ(Odds().rows, before.rows);
    EXPECT_TRUE(test::Leftovers(dir_.Folder()).empty());
    EXPECT_EQ(wait_.Depth(), 0);
  }
}

TEST_F(OddsUpdateTest, ManualUpdateOffersOddsWhenTheDatabaseIsCurrent) {
  Start();
  ServeDate(kLocalDate);
  server_.Serve(kOddsPackagePath, OddsPackage({}));
  ui_.yes_answer = false;
  EXPECT_EQ(updater_->TBUpdateClick(), UpdateOutcome::kDeclined);
  EXPECT_EQ(server_.Count(kOddsPackagePath), 0);
  ui_.yes_answer = true;
  // An empty package merges nothing and succeeds.
  EXPECT_EQ(updater_->TBUpdateClick(), UpdateOutcome::kOddsUpdated);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"You have installed the current version of database\r\n"
                                      "Would you like to update odds?",
                                      "You have installed the current version of database\r\n"
                                      "Would you like to update odds?",
                                      "The update of odds was successful !"}));
  EXPECT_EQ(server_.Count(kOddsPackagePath), 1);
  EXPECT_EQ(server_.Count(kResultsPackagePath), 0);
}

}  // namespace
}  // namespace morvela
