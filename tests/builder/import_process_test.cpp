// The import command as a user runs it: morvela-cli processes started side by side, killed
// half-way, pointed at the demo folder, at empty folders and at damaged files. Each test writes a
// small set of generated CSV files, so the whole file runs in a few seconds.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "builder/schema.h"
#include "child_process.h"
#include "core/database.h"
#include "core/folder_lock.h"
#include "test_support.h"

namespace morvela {
namespace {

using test::Finished;
using test::Process;

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// ---- generated data

// Seasons of double round robins: `teams` clubs of division `div` (E0, D1, ...), one file per
// season named like the real data's ("E0_2019-2020.csv"), three matches a day from August.
void WriteSeasons(const fs::path& folder, const std::string& div, int first_season, int seasons,
                  int teams) {
  fs::create_directories(folder);
  for (int season = first_season; season < first_season + seasons; ++season) {
    std::ofstream f(
        folder / (div + "_" + std::to_string(season) + "-" + std::to_string(season + 1) + ".csv"));
    f << "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,AvgH,AvgD,AvgA\n";
    int k = 0;
    for (int h = 0; h < teams; ++h) {
      for (int a = 0; a < teams; ++a) {
        if (h == a) continue;
        const int day = 1 + k / 3, month = 8 + (day - 1) / 28;
        const int hg = (k * 7 + season) % 4, ag = (k * 3) % 3;
        char line[200];
        std::snprintf(line, sizeof line,
                      "%s,%02d/%02d/%d,%s Club %d,%s Club %d,%d,%d,,%d,0,,2.10,3.30,3.60\n",
                      div.c_str(), (day - 1) % 28 + 1, month, season, div.c_str(), h, div.c_str(),
                      a, hg, ag, hg > 0 ? 1 : 0);
        f << line;
        ++k;
      }
    }
  }
}

// Counts of the import's tables, read directly from the database file.
struct Counts {
  long long competitions = -1, clubs = -1, matches = -1, without_difference = -1, pending = -1;
  bool difference_indexes = true;  // all there (a first import sets them aside while it replays)
  bool operator==(const Counts&) const = default;
};

long long Count(Connection& conn, const std::string& sql) {
  Query q(conn);
  q.Open(sql);
  return q.FieldByName("N").AsInteger();
}

Counts CountRows(const std::string& folder) {
  Connection conn;
  conn.SetConnectionString(MakeConnectionString(folder, ""));
  conn.Open();
  Counts c;
  c.competitions = Count(conn, "SELECT COUNT(*) AS N FROM SUTAZ");
  c.clubs = Count(conn, "SELECT COUNT(*) AS N FROM MUZSTVA");
  c.matches = Count(conn, "SELECT COUNT(*) AS N FROM VYSLEDKY");
  c.without_difference =
      Count(conn, "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ELO_ROZDIEL IS NULL");
  c.pending = Count(conn, "SELECT COUNT(*) AS N FROM REPLAY_PENDING");
  c.difference_indexes = DifferenceIndexesComplete(conn);
  conn.Close();
  return c;
}

class ImportProcess : public ::testing::Test {
 protected:
  std::string Home(const std::string& name) {
    const fs::path p = dir_.Path() / name;
    fs::create_directories(p);
    return p.string() + "/";
  }
  fs::path Data(const std::string& name) { return dir_.Path() / "data" / name; }
  Finished Run(const std::string& home, std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home});
    return Process(args, dir_.Path() / ("log" + std::to_string(++runs_))).Wait();
  }
  Process Start(const std::string& home, std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home});
    return Process(args, dir_.Path() / ("log" + std::to_string(++runs_)));
  }

  test::TempDir dir_;
  int runs_ = 0;
};

// Two imports started together: one imports, the other waits or is refused with a message;
// either way every season, club and match is there once, on a fresh folder and on a filled one.
TEST_F(ImportProcess, TwoImportsAtOnceCountEveryMatchOnce) {
  WriteSeasons(Data("all"), "E0", 2018, 3, 8);
  WriteSeasons(Data("first"), "E0", 2018, 1, 8);
  const Counts expected{3, 8, 3 * 56, 0, 0};
  for (const bool filled : {false, true}) {
    for (int round = 0; round < 3; ++round) {
      SCOPED_TRACE((filled ? "filled folder, round " : "fresh folder, round ") +
                   std::to_string(round));
      const std::string home = Home((filled ? "filled" : "fresh") + std::to_string(round));
      if (filled) {
        ASSERT_EQ(Run(home, {"import", Data("first").string()}).code, 0);
      }
      Process a = Start(home, {"import", Data("all").string()});
      Process b = Start(home, {"import", Data("all").string()});
      const Finished fa = a.Wait(), fb = b.Wait();
      int imported = 0;
      for (const Finished& f : {fa, fb}) {
        if (f.code == 0) {
          ++imported;
        } else {
          EXPECT_EQ(f.code, 1) << f.err;
          EXPECT_THAT(f.err, HasSubstr("another import is running in " + home));
        }
      }
      EXPECT_GE(imported, 1) << fa.err << fb.err;
      EXPECT_EQ(CountRows(home), expected);
      // No temporary database is left beside the real one.
      for (const auto& e : fs::directory_iterator(home))
        EXPECT_THAT(e.path().filename().string(), ::testing::Not(HasSubstr(".new")));
    }
  }
}

// A lock held by another writer refuses import, init, demo and replay alike, naming the holder.
TEST_F(ImportProcess, EveryStructureWriterRefusesWhileTheFolderIsLocked) {
  WriteSeasons(Data("one"), "E0", 2018, 1, 6);
  const std::string home = Home("locked");
  ASSERT_EQ(Run(home, {"import", Data("one").string()}).code, 0);
  const Counts before = CountRows(home);
  FolderLock lock(home, false, "import");
  ASSERT_TRUE(lock.Held());
  const std::vector<std::vector<std::string>> commands = {{"import", Data("one").string()},
                                                          {"init", "--force"},
                                                          {"demo", "--force"},
                                                          {"replay", "1"},
                                                          {"replay", "--pending"}};
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const Finished f = Run(home, args);
    EXPECT_EQ(f.code, 1);
    EXPECT_THAT(f.err, HasSubstr("another import is running in " + home));
  }
  EXPECT_EQ(CountRows(home), before);
}

// An import killed at many points (before, during and after its rows and its replay) and then
// run again leaves every match with its rating difference and no season marked.
TEST_F(ImportProcess, AnImportKilledAnywhereIsFinishedByTheNext) {
  for (const char* div : {"E0", "D1", "I1"}) WriteSeasons(Data("all"), div, 2016, 4, 10);
  const std::string reference = Home("reference");
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Run(reference, {"import", Data("all").string()}).code, 0);
  const auto took = std::chrono::steady_clock::now() - started;
  const Counts expected = CountRows(reference);
  ASSERT_EQ(expected.matches, 3 * 4 * 90);
  ASSERT_EQ(expected.without_difference, 0);

  // Kill points a sixteenth of an undisturbed run apart, until an import outruns its kill:
  // the points cover the whole run however fast the machine is at the moment.
  const auto step = took / 16;
  int killed = 0, left_marked = 0;
  bool outran = false;
  for (int i = 0; i < 48 && !outran; ++i) {
    SCOPED_TRACE("kill point " + std::to_string(i));
    const std::string home = Home("killed" + std::to_string(i));
    Process p = Start(home, {"import", Data("all").string()});
    std::this_thread::sleep_for(step * i);
    p.Kill();
    const int code = p.Wait().code;
    if (code == -SIGKILL) {
      ++killed;
    } else {
      ASSERT_EQ(code, 0);
      outran = true;
    }
    if (fs::exists(home + "Morvela.mdb")) {
      const Counts after_kill = CountRows(home);
      if (after_kill.pending > 0) ++left_marked;
    }
    const Finished again = Run(home, {"import", Data("all").string()});
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(CountRows(home), expected);
    // A temporary database the kill left behind is gone too.
    for (const auto& e : fs::directory_iterator(home))
      EXPECT_THAT(e.path().filename().string(), ::testing::Not(HasSubstr(".new.")));
  }
  // The points hit running imports, some of them with seasons still to replay.
  EXPECT_TRUE(outran);
  EXPECT_GE(killed, 8);
  EXPECT_GE(left_marked, 1);

  // Killed after its replays, before the indexes it set aside are back: no season is marked,
  // and the next command's start makes them again.
  const std::string home = Home("killed-before-the-indexes");
  const Finished cut =
      Process({"--home", home, "import", Data("all").string()}, dir_.Path() / "log-cut",
              MORVELA_CLI_PATH, {"MORVELA_KILL_AT=prepare:replayed"})
          .Wait();
  ASSERT_EQ(cut.code, -SIGKILL) << cut.err;
  Counts left = expected;
  left.difference_indexes = false;
  EXPECT_EQ(CountRows(home), left);
  EXPECT_EQ(Run(home, {"info"}).code, 0);
  EXPECT_EQ(CountRows(home), expected);
}

// What an import says with its exit code, and the first words a user sees on stderr.
TEST_F(ImportProcess, ExitCodesTellWhatHappened) {
  WriteSeasons(Data("good"), "E0", 2018, 1, 6);
  fs::create_directories(Data("empty"));
  std::ofstream(Data("header_only.csv")) << "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\n";
  std::ofstream(Data("bad_row.csv")) << "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\n"
                                     << "E0,01/09/2018,A,B,1,0\nE0,02/09/2018,A,C,x,0\n";
  fs::create_directories(Data("crowded"));
  {
    // 26 home matches of one club in a season: more than the replay holds.
    std::ofstream f(Data("crowded/E0_2018-2019.csv"));
    f << "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\n";
    for (int d = 1; d <= 26; ++d) f << "E0," << d << "/09/2018,Alpha,Bravo,1,0\n";
  }
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* err;
  };
  const Case cases[] = {
      {"good files", {Data("good").string()}, 0, ""},
      {"a folder without CSV files", {Data("empty").string()}, 3, "no CSV files"},
      {"a file without rows", {Data("header_only.csv").string()}, 3, "nothing to import"},
      {"a bad row", {Data("bad_row.csv").string()}, 1, "bad_row.csv:3: malformed score"},
      {"a missing file", {Data("nothing.csv").string()}, 1, "no such file"},
      {"a season the replay cannot hold",
       {Data("crowded").string()},
       1,
       "England 2018/2019: not replayable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"import"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Finished f = Run(Home(std::string("exit") + std::to_string(runs_)), args);
    EXPECT_EQ(f.code, c.code) << f.err;
    EXPECT_THAT(f.err, HasSubstr(c.err));
  }
}

// The demo database is refused with the ways out; --force imports anyway.
TEST_F(ImportProcess, TheDemoDatabaseIsRefusedUnlessForced) {
  // Seasons before the demo's, which starts in 2018.
  WriteSeasons(Data("real"), "E0", 2010, 1, 6);
  const std::string home = Home("demo");
  ASSERT_EQ(test::CopyOfSharedDemo(home, "2025-10-15", "7").code, 0);
  const Counts demo = CountRows(home);
  const Finished refused = Run(home, {"import", Data("real").string()});
  EXPECT_EQ(refused.code, 1);
  EXPECT_THAT(refused.err, HasSubstr("demo database"));
  EXPECT_THAT(refused.err, HasSubstr("--home"));
  EXPECT_THAT(refused.err, HasSubstr("init --force"));
  EXPECT_EQ(CountRows(home), demo);

  const Finished forced = Run(home, {"import", "--force", Data("real").string()});
  EXPECT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(CountRows(home).matches, demo.matches + 30);

  // After init --force the folder holds an ordinary database that imports without --force.
  ASSERT_EQ(Run(home, {"init", "--force"}).code, 0);
  EXPECT_EQ(Run(home, {"import", Data("real").string()}).code, 0);
}

}  // namespace
}  // namespace morvela
