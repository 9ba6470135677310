// A program on a copy of the real-data database with Scotland's latest complete season chosen:
// the season the real-data tests of the match analysis windows walk pairing by pairing.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/helpers.h"
#include "core/text.h"
#include "fake_ui.h"
#include "program/program.h"
#include "program/selection.h"
#include "rating/competition_teams.h"
#include "realdata_support.h"
#include "test_support.h"

namespace morvela::test {

class RealSeasonTest : public ::testing::Test {
 protected:
  static constexpr int kScotland = 10;
  static constexpr const char* kToday = "2026-12-09";

  RealSeasonTest() : p(ui, wait) {}

  // Opens the copy and chooses the season; a test returns when a fatal assertion failed.
  void SetUp() override {
    if (!HaveRealData()) GTEST_SKIP() << "real match data not found at " << RealDataFolder();
    std::filesystem::copy_file(RealDatabase(), dir.Path() / "Morvela.mdb");
    p.folder = dir.Folder();
    p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(p.folder, ""));
    p.dm.ADOConnection1.Open();
    p.today = *ParseIsoDate(kToday);
    p.today_text = FormatDateText(p.today);
    p.messages.NastavJazyk(kEnglish);

    Query q(p.dm.ADOConnection1);
    q.Open("SELECT TOP 1 ROCNIK FROM SUTAZ WHERE ID_LIGA=" + std::to_string(kScotland) +
           " AND ROCNIK<>\"Active\" ORDER BY ID_POR DESC");
    ASSERT_FALSE(q.Eof());
    label = std::string(TrimSpaces(q.FieldByName("ROCNIK").AsString()));
    p.selection.league = std::to_string(kScotland);
    NacitajIDsutaz(p.dm, p.selection, label);
    ASSERT_FALSE(p.selection.competition.empty());
    teams = CompetitionTeams(p.dm.ADOConnection1, p.selection.competition, kEnglish);
    ASSERT_GE(teams.size(), 10u);
  }

  TempDir dir;
  FakeUi ui;
  NullWaitIndicator wait;
  Program p;
  std::string label;  // the season's label, as --season takes it
  std::vector<TeamItem> teams;
};

}  // namespace morvela::test
