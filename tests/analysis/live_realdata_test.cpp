// The live tip window model and `morvela-cli live` on the real data: every pairing of one whole
// season is analysed at one of three half-time scores, and its live percentages are those of the
// live search for its live difference.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "analysis/live_window.h"
#include "analysis/realdata_season.h"
#include "cli_capture.h"
#include "predict/outcome_search.h"

namespace morvela {
namespace {

class LiveRealData : public test::RealSeasonTest {};

TEST_F(LiveRealData, LivePercentagesAreTheLiveSearchForD2) {
  const auto started = std::chrono::steady_clock::now();
  TfLive w(p);
  w.Open();
  int analysed = 0, with_tip = 0;
  int used[4] = {0, 0, 0, 0};
  // Every pairing with one of three half-time scores, the scores taking turns.
  const std::pair<int, int> scores[] = {{0, 0}, {1, 0}, {2, 2}};
  for (size_t hi = 0; hi < teams.size(); ++hi) {
    const TeamItem& h = teams[hi];
    for (size_t ai = 0; ai < teams.size(); ++ai) {
      const TeamItem& a = teams[ai];
      if (h.id == a.id) continue;
      const auto [hh, ha] = scores[(hi + ai) % 3];
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
      if (w.LiveMeetingsUsed() == LiveMeetings::kNone) {
        EXPECT_EQ(w.D2(), w.D0());
      }
      if (w.Pairing().meetings == 0) {
        EXPECT_EQ(w.D1(), w.D0());
      }
      ++used[static_cast<int>(w.LiveMeetingsUsed())];
      if (w.LiveTip()) ++with_tip;
      ++analysed;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "live analyses " << analysed << " (" << with_tip << " with a live tip) in "
            << seconds << " s; meetings none/score/outcome/all " << used[0] << "/" << used[1] << "/"
            << used[2] << "/" << used[3] << "\n";
  EXPECT_EQ(analysed, static_cast<int>(teams.size() * (teams.size() - 1)));
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
    const test::CliRun r = test::RunCliInProcess(
        {"--home", p.folder, "--today", kToday, "live", std::to_string(kScotland),
         std::to_string(teams[i].id), std::to_string(teams[i + 1].id), "--season", label, "--ht",
         "1:0", "--json"});
    ASSERT_EQ(r.rc, 0) << r.err;
    const std::string& json = r.out;
    for (const std::string& part :
         {"\"D2\":" + std::to_string(w.D2()), "\"D1\":" + std::to_string(w.D1()),
          "\"LiveHomePercent\":" + std::to_string(w.Live().HomePercent),
          "\"LiveAwayPercent\":" + std::to_string(w.Live().AwayPercent)})
      EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;
  }
}

}  // namespace
}  // namespace morvela
