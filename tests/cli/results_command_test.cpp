// The results command on a copy of the demo database: a result added, edited and deleted from
// the command line ends as closing the browser does, with the active season replayed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "core/database.h"

namespace morvela {
namespace {

// ID -> ELO_ROZDIEL of every row of England's active season, and the engine's integrity check.
struct Snapshot {
  std::vector<std::pair<int64_t, int64_t>> diffs;
  std::string integrity;
};

// The integrity check reads the whole file (0.6 s on the demo database), so only the snapshots
// that assert it ask for it.
Snapshot Read(const std::string& folder, bool check_integrity = false) {
  Connection c;
  c.OpenFile(folder + "Morvela.mdb", false);
  Snapshot s;
  Query q(c);
  q.Open(
      "SELECT VYSLEDKY.ID,ELO_ROZDIEL FROM VYSLEDKY,SUTAZ WHERE SUTAZ.ID=VYSLEDKY.ID_SUTAZ AND "
      "SUTAZ.ID_LIGA=4 AND SUTAZ.ROCNIK=\"Active\" ORDER BY VYSLEDKY.ID");
  for (; !q.Eof(); q.Next())
    s.diffs.push_back({q.FieldByName("ID").AsInteger(), q.FieldByName("ELO_ROZDIEL").AsInteger()});
  if (check_integrity) {
    q.Open("PRAGMA integrity_check");
    s.integrity = q.FieldByName("integrity_check").AsString();
  }
  return s;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream ss(line);
  for (std::string part; std::getline(ss, part, ';');) parts.push_back(part);
  return parts;
}

TEST(ResultsCommandTest, AddEditDeleteReplayTheActiveSeason) {
  test::DemoHome home;
  const test::CliResult list = home.Run({"results", "England", "--csv"});
  ASSERT_EQ(list.exit_code, 0) << list.err;
  std::stringstream lines(list.out);
  std::string header, first;
  std::getline(lines, header);
  std::getline(lines, first);
  const std::vector<std::string> row = Split(first);
  ASSERT_EQ(row.size(), 5u) << first;
  // The stored values as the replay writes them, so that deleting the new match gives them back.
  ASSERT_EQ(home.Run({"replay", "England"}).exit_code, 0);
  const Snapshot before = Read(home.Folder());

  // A new meeting on the day of the season's first match moves the later ratings.
  const std::string date =
      row[1].substr(6, 4) + "-" + row[1].substr(3, 2) + "-" + row[1].substr(0, 2);
  const test::CliResult added =
      home.Run({"results", "add", "England", "--date", date, "--home", row[2], "--away", row[3],
                "--score", "6:0", "--ht", "4:0"});
  ASSERT_EQ(added.exit_code, 0) << added.err;
  const std::vector<std::string> new_row = Split(added.out.substr(added.out.find('\n') + 1));
  ASSERT_EQ(new_row.size(), 5u) << added.out;
  EXPECT_EQ(new_row[4], "6 : 0   (4 : 0)\n");
  const Snapshot after_add = Read(home.Folder(), /*check_integrity=*/true);
  EXPECT_EQ(after_add.integrity, "ok");
  EXPECT_NE(after_add.diffs, before.diffs);
  ASSERT_EQ(home.Run({"replay", "England"}).exit_code, 0);
  EXPECT_EQ(Read(home.Folder()).diffs, after_add.diffs) << "the same values a fresh replay writes";

  const std::string& id = new_row[0];
  const test::CliResult edited = home.Run({"results", "edit", id, "--score", "0:1"});
  ASSERT_EQ(edited.exit_code, 0) << edited.err;
  EXPECT_NE(edited.out.find(";" + row[2] + ";" + row[3] + ";0 : 1   (0 : 0)"), std::string::npos)
      << edited.out;
  const Snapshot after_edit = Read(home.Folder(), /*check_integrity=*/true);
  EXPECT_EQ(after_edit.integrity, "ok");
  EXPECT_NE(after_edit.diffs, after_add.diffs);

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"results", "edit", id, "--score", "1-0"},
        {"results", "edit", id, "--date", "2025-02-30"},
        {"results", "edit", id, "--home", "Nobody FC"},
        {"results", "delete", "abc"}}) {
    EXPECT_EQ(home.Run(wrong).exit_code, 2) << wrong[3];
    EXPECT_EQ(Read(home.Folder()).diffs, after_edit.diffs);
  }

  EXPECT_EQ(home.Run({"results", "delete", id}).exit_code, 1) << "not confirmed";
  ASSERT_EQ(home.Run({"results", "delete", id, "--yes"}).exit_code, 0);
  const Snapshot after_delete = Read(home.Folder(), /*check_integrity=*/true);
  EXPECT_EQ(after_delete.integrity, "ok");
  EXPECT_EQ(after_delete.diffs, before.diffs) << "deleting the match restores the ratings";
}

}  // namespace
}  // namespace morvela
