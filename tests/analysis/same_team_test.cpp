// One team on both sides of a pairing: the match and live windows refuse it with the program's
// message (the pairing analysis itself would run and find no meetings), and so do `match` and
// `live`.
#include <gtest/gtest.h>

#include "analysis/live_window.h"
#include "analysis/match_window.h"
#include "cli_capture.h"
#include "tips/tips_test_support.h"

namespace morvela::test {
namespace {

constexpr int kEngland = 4;
constexpr const char* kRefusal = "The same two teams are selected !";

class SameTeamTest : public ::testing::Test {
 protected:
  SameTeamTest() : t("2010-06-05"), p(t.program()) {
    const int comp = t.Competition(kEngland);
    for (const char* n : {"Dundee", "Celtic"}) {
      teams.push_back(t.db().AddTeam(kEngland, n));
      t.db().AddTeamToCompetition(comp, teams.back());
    }
    p.selection.league = std::to_string(kEngland);
    p.selection.competition = std::to_string(comp);
  }

  TipsDb t;
  Program& p;
  std::vector<int> teams;
};

TEST_F(SameTeamTest, TheWindowsRefuseOneTeamTwice) {
  for (int mode : {0, 3}) {  // the rating analysis and the goal analysis
    SCOPED_TRACE(mode);
    p.selection.result_mode = ModeOf(mode);
    TForm5 w(p);
    w.PresetTeams({teams[0], "Dundee"}, {teams[0], "Dundee"});
    w.FormShow();
    EXPECT_FALSE(w.ZobrazOkno());
    EXPECT_FALSE(w.Analysed());
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().kind, MessageKind::kError);
    EXPECT_EQ(t.ui.messages.back().text, kRefusal);
  }
  TfLive live(p);
  live.Open();
  live.FormShow();
  live.away.index = live.home.index;
  ASSERT_TRUE(live.SetHalfTime(1, 0));
  EXPECT_FALSE(live.ZobrazOkno());
  EXPECT_FALSE(live.Analysed());
  EXPECT_EQ(t.ui.messages.back().text, kRefusal);
}

TEST_F(SameTeamTest, TheCommandsRefuseOneTeamTwiceAsBadInput) {
  const std::string home = t.db().Folder();
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"match", "England", "Dundee", "dundee"},
        {"live", "England", std::to_string(teams[1]), "Celtic", "--ht", "1:0"}}) {
    SCOPED_TRACE(command[0]);
    std::vector<std::string> args = {"--home", home, "--today", "2010-06-05"};
    args.insert(args.end(), command.begin(), command.end());
    const CliRun r = RunCliInProcess(args);
    EXPECT_EQ(r.rc, 2) << r.out << r.err;
    EXPECT_EQ(r.err, "Error: The same two teams are selected !\n");
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
}  // namespace morvela::test
