// `morvela-cli results add/edit/delete` killed between the commit of the change and the replay
// of its season: the change carries the season's replay mark, so the next start replays it and
// every rating difference equals that of the same change run to its end.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "child_process.h"
#include "core/database.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

// One season of six clubs, every pairing twice, scores that vary.
void WriteSeason(const fs::path& file) {
  std::ofstream f(file);
  f << "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR\n";
  int k = 0;
  for (int h = 0; h < 6; ++h)
    for (int a = 0; a < 6; ++a) {
      if (h == a) continue;
      const int hg = (k * 7) % 4, ag = (k * 3) % 3;
      f << "E0," << (k % 28) + 1 << "/" << 8 + k / 28 << "/2020,Club " << h << ",Club " << a << ","
        << hg << "," << ag << ",,0,0,\n";
      ++k;
    }
}

struct Folder {
  std::string differences;  // every match's three differences, in id order
  int64_t pending = 0;
};

Folder Read(const std::string& home) {
  Connection c;
  c.SetConnectionString(MakeConnectionString(home, ""));
  c.Open();
  Folder f;
  Query q(c);
  q.Open("SELECT ID, ELO_ROZDIEL, HT_ELO_ROZDIEL, SHT_ELO_ROZDIEL FROM VYSLEDKY ORDER BY ID");
  for (; !q.Eof(); q.Next())
    for (const char* col : {"ID", "ELO_ROZDIEL", "HT_ELO_ROZDIEL", "SHT_ELO_ROZDIEL"})
      f.differences += q.FieldByName(col).AsString() + (col[0] == 'S' ? "\n" : " ");
  q.Open("SELECT COUNT(*) AS N FROM REPLAY_PENDING");
  f.pending = q.FieldByName("N").AsInteger();
  return f;
}

TEST(ResultEditKillTest, AnEditKilledBeforeItsReplayIsFinishedByTheNextStart) {
  test::TempDir dir;
  WriteSeason(dir.Path() / "E0_2020-2021.csv");
  const std::string base = (dir.Path() / "base").string() + "/";
  fs::create_directories(base);
  int runs = 0;
  auto run = [&](const std::string& home, std::vector<std::string> args,
                 const std::string& kill_at = "") {
    args.insert(args.begin(), {"--home", home, "--today", "2021-06-01"});
    std::vector<std::string> env;
    if (!kill_at.empty()) env.push_back("MORVELA_KILL_AT=" + kill_at);
    return test::Process(args, dir.Path() / ("log" + std::to_string(++runs)), MORVELA_CLI_PATH, env)
        .Wait();
  };
  ASSERT_EQ(run(base, {"import", (dir.Path() / "E0_2020-2021.csv").string()}).code, 0);
  const std::vector<std::vector<std::string>> changes = {
      {"results", "add", "England", "--date", "2020-08-02", "--home", "Club 0", "--away", "Club 1",
       "--score", "5:0"},
      {"results", "edit", "3", "--score", "0:4", "--ht", "0:2"},
      {"results", "delete", "2", "--yes"}};
  for (const auto& change : changes) {
    SCOPED_TRACE(change[1]);
    const std::string finished = (dir.Path() / ("finished-" + change[1])).string() + "/";
    const std::string killed = (dir.Path() / ("killed-" + change[1])).string() + "/";
    for (const std::string& home : {finished, killed}) {
      fs::create_directories(home);
      fs::copy_file(base + "Morvela.mdb", home + "Morvela.mdb");
    }
    const test::Finished whole = run(finished, change);
    ASSERT_EQ(whole.code, 0) << whole.err;
    const test::Finished cut = run(killed, change, "edit:committed");
    ASSERT_EQ(cut.code, -SIGKILL) << cut.err;
    EXPECT_EQ(Read(killed).pending, 1) << "the change and its mark commit together";
    EXPECT_NE(Read(killed).differences, Read(finished).differences);
    EXPECT_EQ(run(killed, {"info"}).code, 0);
    const Folder repaired = Read(killed);
    EXPECT_EQ(repaired.pending, 0);
    EXPECT_EQ(repaired.differences, Read(finished).differences);
  }
}

// A result edit waits for the writer that holds the folder instead of failing at once, and
// writes once the folder is free.
TEST(ResultEditKillTest, AnEditWaitsForTheFoldersWriter) {
  test::TempDir dir;
  WriteSeason(dir.Path() / "E0_2020-2021.csv");
  const std::string home = dir.Folder();
  ASSERT_EQ(test::Process({"--home", home, "import", (dir.Path() / "E0_2020-2021.csv").string()},
                          dir.Path() / "import")
                .Wait()
                .code,
            0);
  auto lock = std::make_unique<FolderLock>(home, false, "import");
  ASSERT_TRUE(lock->Held());
  EXPECT_TRUE(FolderLock(home, false, "nested").Held()) << "this process shares its own lock";
  test::Process edit({"--home", home, "--today", "2021-06-01", "results", "edit", "3", "--score",
                      "7:0", "--ht", "3:0"},
                     dir.Path() / "edit");
  auto home_goals = [&] {
    Connection c;
    c.SetConnectionString(MakeConnectionString(home, ""));
    c.Open();
    Query q(c);
    q.Open("SELECT HOME_GOAL FROM VYSLEDKY WHERE ID=3");
    return q.FieldByName("HOME_GOAL").AsInteger();
  };
  const int64_t before = home_goals();
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_EQ(home_goals(), before) << "nothing is written while another writer holds the folder";
  lock.reset();
  const test::Finished f = edit.Wait();
  EXPECT_EQ(f.code, 0) << f.err;
  EXPECT_EQ(home_goals(), 7);
}

}  // namespace
}  // namespace morvela
