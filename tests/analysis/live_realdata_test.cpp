// The live tip window model and `morvela-cli live` on the real data: every pairing of one whole
// season at three half-time scores is analysed, and its live percentages are those of the live
// search for its live difference.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "analysis/live_window.h"
#include "cli/cli.h"
#include "core/helpers.h"
#include "fake_ui.h"
#include "predict/outcome_search.h"
#include "program/program.h"
#include "program/selection.h"
#include "realdata_support.h"
#include "test_support.h"

namespace morvela {
namespace {

constexpr int kScotland = 10;
constexpr const char* kToday = "2026-12-09";

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

TEST(LiveRealData, LivePercentagesAreTheLiveSearchForD2) {
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

  const auto started = std::chrono::steady_clock::now();
  TfLive w(p);
  w.Open();
  int analysed = 0, with_tip = 0;
  int used[4] = {0, 0, 0, 0};
  for (auto [hh, ha] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{2, 2}}) {
    for (const TeamItem& h : teams) {
      for (const TeamItem& a : teams) {
        if (h.id == a.id) continue;
        SCOPED_TRACE(std::to_string(hh) + ":" + std::to_string(ha) + " " + h.name + " - " + a.name);
        w.home.items = {h};
        w.home.index = 0;
        w.away.items = {a};
        w.away.index = 0;
        p.WindowRaised = true;
        w.FormShow();
        ASSERT_TRUE(w.SetHalfTime(hh, ha));
        ASSERT_TRUE(w.ZobrazOkno());
        SearchContext sc;
        sc.league = p.selection.league;
        sc.ht_home = hh;
        sc.ht_away = ha;
        PredictionState direct;
        FindOutcomeFrequencies(p.dm.ADOConnection1, direct, sc, SearchMode::kLive, w.D2());
        EXPECT_EQ(w.Live().HomePercent, direct.HomePercent);
        EXPECT_EQ(w.Live().DrawPercent, direct.DrawPercent);
        EXPECT_EQ(w.Live().AwayPercent, direct.AwayPercent);
        EXPECT_EQ(p.prediction.HomePercent, direct.HomePercent);
        // No meetings of any kind means D2 = D0; meetings of any kind also moved D1's base.
        if (w.LiveMeetingsUsed() == LiveMeetings::kNone) EXPECT_EQ(w.D2(), w.D0());
        if (w.Pairing().meetings == 0) EXPECT_EQ(w.D1(), w.D0());
        ++used[static_cast<int>(w.LiveMeetingsUsed())];
        if (w.LiveTip()) ++with_tip;
        ++analysed;
      }
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "live analyses " << analysed << " (" << with_tip << " with a live tip) in "
            << seconds << " s; meetings none/score/outcome/all " << used[0] << "/" << used[1] << "/"
            << used[2] << "/" << used[3] << "\n";
  EXPECT_EQ(analysed, static_cast<int>(3 * teams.size() * (teams.size() - 1)));
  EXPECT_GT(with_tip, 0);
  w.Closed();

  // A few through the command, which prints the same figures.
  for (size_t i = 0; i + 1 < teams.size() && i < 3; ++i) {
    w.home.items = {teams[i]};
    w.home.index = 0;
    w.away.items = {teams[i + 1]};
    w.away.index = 0;
    w.FormShow();
    ASSERT_TRUE(w.SetHalfTime(1, 0));
    ASSERT_TRUE(w.ZobrazOkno());
    int rc = 0;
    const std::string json =
        RunCliCapture({"--home", p.folder, "--today", kToday, "live", std::to_string(kScotland),
                       std::to_string(teams[i].id), std::to_string(teams[i + 1].id), "--season",
                       label, "--ht", "1:0", "--json"},
                      rc);
    ASSERT_EQ(rc, 0);
    for (const std::string& part :
         {"\"D2\":" + std::to_string(w.D2()), "\"D1\":" + std::to_string(w.D1()),
          "\"LiveHomePercent\":" + std::to_string(w.Live().HomePercent),
          "\"LiveAwayPercent\":" + std::to_string(w.Live().AwayPercent)})
      EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;
  }
}

}  // namespace
}  // namespace morvela
