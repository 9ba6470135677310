// `morvela-cli update --yes` killed at every step of its install, and killed at moments taken
// from the length of an undisturbed run: Morvela.mdb is always the old database or the new one,
// whole, and the next start cleans up after the killed run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "child_process.h"
#include "test_support.h"
#include "update/server_settings.h"
#include "update_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

constexpr int kOldTeams = 2000;
constexpr int kNewTeams = 150000;  // big enough that inflating and checking take a while

class UpdateKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = home_.Path() / "Morvela.mdb";
    test::MakeDatabase(work_.Path() / "new.mdb", "02.06.2010", kNewTeams, "New");
    server_.Serve(kDateCheckPath, EncipherText("02.06.2010"));
    server_.Serve(kResultsPackagePath, test::Compress(test::ReadBytes(work_.Path() / "new.mdb")));
    server_.Serve(kReportPath, "");
    test::MakeDatabase(work_.Path() / "old.mdb", "01.06.2010", kOldTeams, "Old");
    old_bytes_ = test::ReadBytes(work_.Path() / "old.mdb");
    test::WriteUpdateSettings(home_.Folder(), server_.Url());
  }

  void RestoreOld() {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db_.string() + suffix);
    test::WriteBytes(db_, old_bytes_);
  }

  test::Process Start(const std::string& name, const std::string& kill_at = "") {
    std::vector<std::string> env;
    if (!kill_at.empty()) env.push_back("MORVELA_KILL_AT=" + kill_at);
    return test::Process({"--home", home_.Folder(), "--today", "2010-06-05", "update", "--yes"},
                         work_.Path() / name, MORVELA_CLI_PATH, env);
  }

  // The database is whole and is the old one or the new one; true for the new one.
  bool WholeAndNew() {
    const test::DatabaseState s = test::Inspect(db_);
    EXPECT_TRUE(s.intact);
    if (s.tag == "Old") {
      EXPECT_EQ(s.teams, kOldTeams);
      EXPECT_EQ(s.date, "01.06.2010");
      return false;
    }
    EXPECT_EQ(s.tag, "New");
    EXPECT_EQ(s.teams, kNewTeams);
    EXPECT_EQ(s.date, "02.06.2010");
    return true;
  }

  test::TempDir home_, work_;
  test::TestServer server_;
  fs::path db_;
  std::string old_bytes_;
};

// Every named step of the install, killed there: before the live file is written the old
// database is in place, after it the new one; the next start removes what the killed run left
// and a new update installs.
TEST_F(UpdateKillTest, AnInstallKilledAtEveryStep) {
  const struct {
    const char* step;
    bool installed;
  } steps[] = {{"install:downloaded", false},
               {"install:inflated", false},
               {"install:built", false},
               {"install:backed-up", false},
               {"install:copied", true}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    RestoreOld();
    const test::Finished killed = Start(std::string("kill-") + s.step, s.step).Wait();
    ASSERT_EQ(killed.code, -SIGKILL) << killed.err;
    EXPECT_EQ(WholeAndNew(), s.installed);
    // Any command's start cleans up after the killed writer.
    const test::Finished next =
        test::Process({"--home", home_.Folder(), "--today", "2010-06-05", "info"},
                      work_.Path() / (std::string("info-") + s.step))
            .Wait();
    EXPECT_EQ(next.code, 0) << next.err;
    EXPECT_TRUE(test::Leftovers(home_.Folder()).empty())
        << ::testing::PrintToString(test::Leftovers(home_.Folder()));
  }
  RestoreOld();
  const test::Finished whole = Start("whole").Wait();
  ASSERT_EQ(whole.code, 0) << whole.err;
  EXPECT_TRUE(WholeAndNew());
  EXPECT_EQ(test::Inspect(home_.Path() / "Morvela.mdb.bak").tag, "Old");
}

// Kills at moments spread over an undisturbed run, wherever they fall: only what holds at
// every moment is checked, so the test does not depend on the machine's speed.
TEST_F(UpdateKillTest, AnInstallKilledAtAnyMomentLeavesOldOrNew) {
  RestoreOld();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Start("timed").Wait().code, 0);
  const auto duration = std::chrono::steady_clock::now() - started;
  constexpr int kPoints = 8;
  for (int i = 0; i < kPoints; ++i) {
    SCOPED_TRACE("kill point " + std::to_string(i));
    RestoreOld();
    test::Process child = Start("run" + std::to_string(i));
    std::this_thread::sleep_for(duration * i / kPoints);
    child.Kill();
    child.Wait();
    WholeAndNew();
  }
  RestoreOld();
  const test::Finished after = Start("after").Wait();
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_TRUE(WholeAndNew());
  EXPECT_TRUE(test::Leftovers(home_.Folder()).empty())
      << ::testing::PrintToString(test::Leftovers(home_.Folder()));
}

}  // namespace
}  // namespace morvela
