// The match window model and `morvela-cli match` on the real data: for every pairing of one
// whole season, in each result mode, the command prints what the window shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "analysis/match_window.h"
#include "cli/cli.h"
#include "cli/json.h"
#include "core/helpers.h"
#include "fake_ui.h"
#include "program/program.h"
#include "program/selection.h"
#include "realdata_support.h"
#include "test_support.h"

namespace morvela {
namespace {

constexpr int kScotland = 10;
constexpr const char* kToday = "2026-12-09";

// Runs morvela-cli with `args` and returns what it printed on stdout.
std::string RunCliCapture(std::vector<std::string> args, int& rc) {
  args.insert(args.begin(), "morvela-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::ostringstream out;
  std::streambuf* old = std::cout.rdbuf(out.rdbuf());
  rc = RunCli(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(old);
  return out.str();
}

TEST(MatchRealData, WindowModelAndCliAgreeForEveryPairingOfASeason) {
  if (!test::HaveRealData())
    GTEST_SKIP() << "real match data not found at " << test::RealDataFolder();
  test::TempDir dir;
  std::filesystem::copy_file(test::RealDatabase(), dir.Path() / "Morvela.mdb");

  test::FakeUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  p.folder = dir.Folder();
  p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(p.folder, ""));
  p.dm.ADOConnection1.Open();
  p.today = *ParseIsoDate(kToday);
  p.today_text = FormatDateText(p.today);
  p.messages.NastavJazyk(kEnglish);
  p.language = kEnglish;

  // Scotland's latest complete season.
  Query q(p.dm.ADOConnection1);
  q.Open("SELECT TOP 1 ROCNIK FROM SUTAZ WHERE ID_LIGA=" + std::to_string(kScotland) +
         " AND ROCNIK<>\"Active\" ORDER BY ID_POR DESC");
  ASSERT_FALSE(q.Eof());
  std::string label = q.FieldByName("ROCNIK").AsString();
  label.erase(0, label.find_first_not_of(' '));
  label.erase(label.find_last_not_of(' ') + 1);
  p.selection.league = std::to_string(kScotland);
  NacitajIDsutaz(p.dm, p.selection, label);
  ASSERT_FALSE(p.selection.competition.empty());
  const std::vector<TeamItem> teams =
      CompetitionTeams(p.dm.ADOConnection1, p.selection.competition, kEnglish);
  ASSERT_GE(teams.size(), 10u);
  Query played(p.dm.ADOConnection1);
  played.Open("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ID_SUTAZ=" + p.selection.competition +
              " AND VYSLEDOK<>\"\"");
  ASSERT_GE(played.FieldByName("N").AsInteger(),
            static_cast<int64_t>(teams.size() * (teams.size() - 1)));

  TForm5 w(p);
  int compared = 0;
  for (const char* mode : {"ft", "1h", "2h", "uo"}) {
    p.selection.result_mode = *ResultModeFromCode(mode);
    for (const TeamItem& h : teams) {
      for (const TeamItem& a : teams) {
        if (h.id == a.id) continue;
        SCOPED_TRACE(std::string(mode) + " " + h.name + " - " + a.name);
        w.PresetTeams(h, a);
        p.WindowRaised = true;
        w.FormShow();
        ASSERT_TRUE(w.ZobrazOkno());
        int rc = 0;
        const std::string json =
            RunCliCapture({"--home", p.folder, "--today", kToday, "--mode", mode, "match",
                           std::to_string(kScotland), std::to_string(h.id), std::to_string(a.id),
                           "--season", label, "--json"},
                          rc);
        ASSERT_EQ(rc, 0);
        auto has = [&json](const std::string& key, const std::string& value) {
          return json.find("\"" + key + "\":" + value) != std::string::npos;
        };
        EXPECT_TRUE(has("Caption", JsonString(w.Caption())));
        for (int n = kTipLine; n <= kAwayVenueForm; ++n) {
          const std::string key = "Label" + std::to_string(n);
          EXPECT_TRUE(has(key, JsonString(w.Label(n).text))) << key << ": " << w.Label(n).text;
        }
        EXPECT_TRUE(has("BetAddress", JsonString(w.BetLink())));
        if (w.Mode() != ResultMode::kUnderOver) {
          EXPECT_TRUE(has("AdjustedDifference", std::to_string(w.Pairing().adjusted)));
        } else {
          EXPECT_TRUE(has("UnderPercent", std::to_string(w.Goals().under)));
        }
        // The chart: as many points as the window draws for each team.
        const size_t points = w.Series(kHomeLine).points.size() + w.Series(kAwayLine).points.size();
        EXPECT_GE(points, 2u);
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, static_cast<int>(4 * teams.size() * (teams.size() - 1)));

  // A reference date in the middle of the season moves the head-to-head cut-off as a tip of
  // that day would; the command's --date gives the same analysis.
  p.selection.result_mode = test::ModeOf(0);
  const Date mid = *ParseIsoDate("2024-01-15");
  w.SetReferenceDate(mid);
  for (size_t i = 0; i + 1 < teams.size(); ++i) {
    w.PresetTeams(teams[i], teams[i + 1]);
    w.FormShow();
    ASSERT_TRUE(w.ZobrazOkno());
    int rc = 0;
    const std::string json = RunCliCapture(
        {"--home", p.folder, "--today", kToday, "match", std::to_string(kScotland), teams[i].name,
         teams[i + 1].name, "--season", label, "--date", "2024-01-15", "--json"},
        rc);
    ASSERT_EQ(rc, 0);
    EXPECT_NE(json.find("\"ReferenceDate\":\"2024-01-15\""), std::string::npos);
    EXPECT_NE(json.find("\"Label3\":" + JsonString(w.Label(kTipLine).text)), std::string::npos);
    EXPECT_NE(json.find("\"AdjustedDifference\":" + std::to_string(w.Pairing().adjusted)),
              std::string::npos);
  }
}

}  // namespace
}  // namespace morvela
