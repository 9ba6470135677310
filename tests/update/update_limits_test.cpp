// The bounds of every request to the update server: the total time limits, the size cap of a
// text answer, the cancel flag, and a date check whose answer is no date.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "cli_capture.h"
#include "core/cipher.h"
#include "fake_ui.h"
#include "program/program.h"
#include "program/startup.h"
#include "slow_servers.h"
#include "test_support.h"
#include "update/database_update.h"
#include "update/http_client.h"
#include "update_test_support.h"

namespace morvela {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A program folder whose database is dated 01.06.2010 and whose update server the test names.
class UpdateLimitsTest : public test::UpdaterFixture {
 public:
  void SetUp() override { test::MakeDatabase(dir_.Path() / "Morvela.mdb", "01.06.2010", 3, "Old"); }

  Updater& Start(const std::string& server, HttpTimeouts timeouts = {}) {
    return StartUpdater(timeouts, server);
  }
};

// A server that trickles a byte now and then passes the low-speed test for ever, and one that
// never stops sending would fill the memory: both end the check at once with the reason.
TEST_F(UpdateLimitsTest, DateCheckEndsAtTheTimeLimitAndAtTheSizeCap) {
  struct Case {
    std::unique_ptr<test::SlowServer> server;
    std::string reason;
  } cases[] = {{test::TricklingServer(), "the time limit of 1 s was reached"},
               {test::EndlessServer(), "the server's answer is longer than 64 KiB"}};
  for (Case& c : cases) {
    SCOPED_TRACE(c.reason);
    HttpTimeouts limits;
    limits.text_seconds = 1;
    Updater& updater = Start(c.server->Url(), limits);
    ui_.messages.clear();
    const auto started = Clock::now();
    EXPECT_EQ(updater.AktualizovatDB(1), kCheckFailed);
    EXPECT_LT(SecondsSince(started), 3.0);
    EXPECT_TRUE(LastText().starts_with("Could not connect to update server !")) << LastText();
    EXPECT_NE(LastText().find(c.reason), std::string::npos) << LastText();
  }
}

// A package's limit grows with the size the server announces; without one the fixed cap holds.
TEST(HttpLimitsTest, PackageLimitFollowsTheAnnouncedSize) {
  struct Case {
    size_t announced;
    long base, unsized;
    std::string reason;
  } cases[] = {
      {1000, 0, 30, "the time limit of 1 s was reached"},  // 1000 bytes at 1000 a second
      {0, 30, 1, "the time limit of 1 s was reached"},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    auto server = test::TricklingServer(c.announced);
    HttpClient http;
    HttpTimeouts limits;
    limits.package_base_seconds = c.base;
    limits.package_bytes_per_second = 1000;
    limits.package_unsized_seconds = c.unsized;
    http.SetTimeouts(limits);
    const auto started = Clock::now();
    const HttpResult r = http.GetFile(server->Url() + "results.qvz", dir.Path() / "package");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, c.reason);
    EXPECT_LT(SecondsSince(started), 4.0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "package"));
  }
}

// The flag ends a request at once even while the server says nothing at all, when libcurl
// itself looks at its progress only once a second.
TEST(HttpLimitsTest, CancelFlagEndsARequestAgainstASilentServer) {
  test::SilentServer silent;
  test::TempDir dir;
  for (const bool file : {false, true}) {
    SCOPED_TRACE(file ? "file" : "text");
    std::atomic<bool> cancel{false};
    HttpClient http;
    http.SetCancelFlag(&cancel);
    Clock::time_point set_at;
    std::thread canceller([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      set_at = Clock::now();
      cancel = true;
    });
    std::string body;
    const HttpResult r = file ? http.GetFile(silent.Url() + "results.qvz", dir.Path() / "p")
                              : http.GetText(silent.Url() + "check.txt", body);
    const double after_flag = SecondsSince(set_at);
    canceller.join();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "the request was cancelled");
    EXPECT_LT(after_flag, 1.0);
  }
}

// The reason under the message is in the user's language, with libcurl's own words inside it.
TEST_F(UpdateLimitsTest, TheReasonOfAFailedRequestIsInTheUsersLanguage) {
  Updater& updater = Start("http://127.0.0.1:9/", HttpTimeouts{});
  program_->messages.NastavJazyk(kGerman);
  ui_.messages.clear();
  EXPECT_EQ(updater.AktualizovatDB(1), kCheckFailed);
  EXPECT_NE(LastText().find("der Server war nicht erreichbar ("), std::string::npos) << LastText();
}

// An answer that does not decipher to a date says nothing about the server's database: the
// check fails (silently at start-up), the reason quotes the answer in one line, and the command
// line's check ends with status 1. Both date forms still count.
TEST_F(UpdateLimitsTest, AnswerThatIsNoDateFailsTheCheck) {
  Updater& updater = Start(server_.Url());
  struct Case {
    std::string answer;
    int expected;
    std::string quoted;  // in the reason shown
  } cases[] = {
      {"not\r\na date\x01", kCheckFailed, "check.txt holds no date: \"not\\r\\na date\\x01\""},
      {std::string(200, 'z'), kCheckFailed, "\"" + std::string(80, 'z') + "...\""},
      {EncipherText("2010-06-02"), kServerNewer, ""},
      {EncipherText("31.05.2010"), kDatabaseCurrent, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    server_.Serve(kDateCheckPath, c.answer);
    ui_.messages.clear();
    EXPECT_EQ(updater.AktualizovatDB(0), c.expected);
    EXPECT_TRUE(ui_.messages.empty()) << "the start-up check stays silent";
    if (c.expected != kCheckFailed) continue;
    EXPECT_EQ(updater.AktualizovatDB(1), kCheckFailed);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].kind, MessageKind::kError);
    EXPECT_NE(LastText().find(c.quoted), std::string::npos) << LastText();
  }

  server_.Serve(kDateCheckPath, "<html>gateway\r\n");
  const test::CliRun run = test::RunCliInProcess({"--home", dir_.Folder(), "update", "--check"});
  EXPECT_EQ(run.rc, 1);
  EXPECT_NE(run.err.find("\"<html>gateway\\r\\n\""), std::string::npos) << run.err;
  EXPECT_EQ(run.out.find("current"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace morvela
