// The match window model and `morvela-cli match` on the real data: for every pairing of one
// whole season, in one of the result modes taking turns, the command prints what the window shows.
#include <gtest/gtest.h>

#include "analysis/match_window.h"
#include "analysis/realdata_season.h"
#include "cli/json.h"
#include "cli_capture.h"

namespace morvela {
namespace {

class MatchRealData : public test::RealSeasonTest {};

TEST_F(MatchRealData, MatchWindowModelAndCliAgreeForEveryPairingOfASeason) {
  Query played(p.dm.ADOConnection1);
  played.Open("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE ID_SUTAZ=" + p.selection.competition +
              " AND VYSLEDOK<>\"\"");
  ASSERT_GE(played.FieldByName("N").AsInteger(),
            static_cast<int64_t>(teams.size() * (teams.size() - 1)));

  TForm5 w(p);
  int compared = 0;
  // Every pairing in one of the four modes, the modes taking turns: each mode meets every club
  // at home and away, at a quarter of the cost of every pairing in every mode.
  const char* const modes[] = {"ft", "1h", "2h", "uo"};
  int mode_used[4] = {0, 0, 0, 0};
  for (size_t hi = 0; hi < teams.size(); ++hi) {
    const TeamItem& h = teams[hi];
    for (size_t ai = 0; ai < teams.size(); ++ai) {
      const TeamItem& a = teams[ai];
      if (h.id == a.id) continue;
      const char* mode = modes[(hi + ai) % 4];
      ++mode_used[(hi + ai) % 4];
      p.selection.result_mode = *ResultModeFromCode(mode);
      SCOPED_TRACE(std::string(mode) + " " + h.name + " - " + a.name);
      w.PresetTeams(h, a);
      p.WindowRaised = true;
      w.FormShow();
      ASSERT_TRUE(w.ZobrazOkno());
      const test::CliRun r =
          test::RunCliInProcess({"--home", p.folder, "--today", kToday, "--mode", mode, "match",
                                 std::to_string(kScotland), std::to_string(h.id),
                                 std::to_string(a.id), "--season", label, "--json"});
      ASSERT_EQ(r.rc, 0) << r.err;
      const std::string& json = r.out;
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
  EXPECT_EQ(compared, static_cast<int>(teams.size() * (teams.size() - 1)));
  for (int used : mode_used) EXPECT_GT(used, 20);

  // A reference date in the middle of the season moves the head-to-head cut-off as a tip of
  // that day would; the command's --date gives the same analysis.
  p.selection.result_mode = test::ModeOf(0);
  const Date mid = *ParseIsoDate("2024-01-15");
  w.SetReferenceDate(mid);
  for (size_t i = 0; i + 1 < teams.size(); ++i) {
    w.PresetTeams(teams[i], teams[i + 1]);
    w.FormShow();
    ASSERT_TRUE(w.ZobrazOkno());
    const test::CliRun r = test::RunCliInProcess(
        {"--home", p.folder, "--today", kToday, "match", std::to_string(kScotland), teams[i].name,
         teams[i + 1].name, "--season", label, "--date", "2024-01-15", "--json"});
    ASSERT_EQ(r.rc, 0) << r.err;
    const std::string& json = r.out;
    EXPECT_NE(json.find("\"ReferenceDate\":\"2024-01-15\""), std::string::npos);
    EXPECT_NE(json.find("\"Label3\":" + JsonString(w.Label(kTipLine).text)), std::string::npos);
    EXPECT_NE(json.find("\"AdjustedDifference\":" + std::to_string(w.Pairing().adjusted)),
              std::string::npos);
  }
}

}  // namespace
}  // namespace morvela
