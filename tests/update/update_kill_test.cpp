// `morvela-cli update --yes` killed at many points of its install: Morvela.mdb is always the
// old database or the new one, whole, and the next update cleans up after the killed one.
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

TEST(UpdateKillTest, AKilledInstallLeavesTheOldOrTheNewDatabase) {
  test::TempDir home, work;
  test::TestServer server;
  const fs::path db = home.Path() / "Morvela.mdb";
  test::MakeDatabase(work.Path() / "new.mdb", "02.06.2010", kNewTeams, "New");
  server.Serve(kDateCheckPath, EncipherText("02.06.2010"));
  server.Serve(kResultsPackagePath, test::Compress(test::ReadBytes(work.Path() / "new.mdb")));
  server.Serve(kReportPath, "");
  test::MakeDatabase(work.Path() / "old.mdb", "01.06.2010", kOldTeams, "Old");
  const std::string old_bytes = test::ReadBytes(work.Path() / "old.mdb");
  test::WriteUpdateSettings(home.Folder(), server.Url());
  auto restore_old = [&] {
    for (const char* suffix : {"-wal", "-shm"}) fs::remove(db.string() + suffix);
    test::WriteBytes(db, old_bytes);
  };
  auto start = [&](int i) {
    return test::Process({"--home", home.Folder(), "--today", "2010-06-05", "update", "--yes"},
                         work.Path() / ("run" + std::to_string(i)));
  };

  restore_old();
  const auto started = std::chrono::steady_clock::now();
  const test::Finished whole = start(-1).Wait();
  const auto duration = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(whole.code, 0) << whole.err;
  ASSERT_EQ(test::Inspect(db).tag, "New");

  // Kill points a twenty-fourth of an undisturbed run apart, from the start of the process to
  // its end.
  constexpr int kPoints = 24;
  int old_seen = 0, new_seen = 0;
  for (int i = 0; i < kPoints; ++i) {
    SCOPED_TRACE("kill point " + std::to_string(i));
    restore_old();
    test::Process child = start(i);
    std::this_thread::sleep_for(duration * i / kPoints);
    child.Kill();
    child.Wait();
    const test::DatabaseState s = test::Inspect(db);
    EXPECT_TRUE(s.intact);
    if (s.tag == "Old") {
      ++old_seen;
      EXPECT_EQ(s.teams, kOldTeams);
      EXPECT_EQ(s.date, "01.06.2010");
    } else {
      ++new_seen;
      EXPECT_EQ(s.tag, "New");
      EXPECT_EQ(s.teams, kNewTeams);
      EXPECT_EQ(s.date, "02.06.2010");
    }
  }
  EXPECT_GT(old_seen, 0);
  EXPECT_GT(new_seen, 0);

  // The next update after a killed one installs and leaves nothing of the killed run behind.
  restore_old();
  test::Process child = start(kPoints);
  std::this_thread::sleep_for(duration / 2);
  child.Kill();
  child.Wait();
  restore_old();
  const test::Finished after = start(kPoints + 1).Wait();
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_EQ(test::Inspect(db).tag, "New");
  EXPECT_TRUE(test::Leftovers(home.Folder()).empty())
      << ::testing::PrintToString(test::Leftovers(home.Folder()));
}

}  // namespace
}  // namespace morvela
