// The table command over a small fixture season: what it prints and what it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "tables_test_support.h"

namespace morvela {
namespace {

struct CliRun {
  int status;
  std::string out;
};

CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "morvela-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = RunCli(static_cast<int>(argv.size()), argv.data());
  CliRun r{status, testing::internal::GetCapturedStdout()};
  testing::internal::GetCapturedStderr();
  return r;
}

TEST(TableCommandTest, PrintsTheGridAndRefusesWrongArguments) {
  test::TablesDb db(4);
  db.db().conn().Execute("UPDATE SUTAZ SET LM=1,VYP=4");
  db.Match("2020-08-01", 1, 2, 3, 1);
  db.Match("2020-08-02", 3, 4, 0, 0);
  const std::string home = db.db().Folder();

  const CliRun plain = Cli({"--home", home, "--lang", "en", "table", "England"});
  EXPECT_EQ(plain.status, 0);
  EXPECT_NE(plain.out.find("Together :: FULL TIME"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("3 : 1"), std::string::npos) << plain.out;

  const CliRun csv = Cli({"--home", home, "table", "4", "--csv"});
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), ";TEAM;MATCHES;WINS;DRAWS;LOSSES;SCORE;POINTS");
  EXPECT_NE(csv.out.find("1;T1;1;1;0;0;3 : 1;3\n"), std::string::npos) << csv.out;

  const CliRun json = Cli(
      {"--home", home, "table", "England", "--json", "--highlight", "T1,t2", "--side", "together"});
  EXPECT_EQ(json.status, 0);
  for (const char* part :
       {"\"place\":1,\"team_id\":",
        "\"name\":\"T1\",\"played\":1,\"wins\":1,\"draws\":0,"
        "\"losses\":0,\"goals_for\":3,\"goals_against\":1,\"points\":3,\"zone\":\"top\","
        "\"highlight\":true",
        "\"name\":\"T2\"", "\"zone\":\"relegation\",\"highlight\":true"})
    EXPECT_NE(json.out.find(part), std::string::npos) << part << "\n" << json.out;

  const CliRun goals = Cli({"--home", home, "--mode", "uo", "table", "England", "--json", "--view",
                            "goalform", "--window", "2"});
  EXPECT_EQ(goals.status, 0);
  EXPECT_NE(goals.out.find("\"window\":2"), std::string::npos) << goals.out;
  EXPECT_NE(goals.out.find("\"average\":4.00"), std::string::npos) << goals.out;

  const std::vector<std::vector<std::string>> wrong = {
      {"table", "Atlantis"},
      {"table", "England", "--season", "1999"},
      {"table", "England", "--view", "goals"},
      {"--mode", "uo", "table", "England", "--view", "standings"},
      {"table", "England", "--view", "elo", "--side", "home"},
      {"table", "England", "--window", "3"},
      {"table", "England", "--view", "form", "--window", "6"},
      {"table", "England", "--highlight", "T1"},
      {"table", "England", "--highlight", "T1,Nobody"},
      {"table", "England", "--json", "--csv"},
  };
  for (std::vector<std::string> args : wrong) {
    args.insert(args.begin(), {"--home", home});
    EXPECT_EQ(Cli(args).status, 2) << args[3] << " " << args.back();
  }
}

}  // namespace
}  // namespace morvela
