#include "analysis/live_window.h"

#include <gtest/gtest.h>

#include "predict/tip_selection.h"
#include "tips/tips_test_support.h"

namespace morvela::test {
namespace {

constexpr int kLeague = 1;

// Three teams (Alpha, Beta, Gamma) without matches this season, so that D0 = 0. In an older
// season: 25 matches at difference 0 whose half-time score equals the full-time score (12 at
// 1:0, 7 at 0:0, 6 at 0:1), 18 matches at difference 0 with half-time 1:1 (11 won 2:1, 4 drawn
// 1:1, 3 lost 1:2: the live search for 1:1 gives 61/22/17), and three meetings of Alpha at home
// against Beta without a difference, which the searches never count:
//   10 days ago 2:1 (half time 1:0), 30 days ago 0:0 (0:0), 60 days ago 1:1 (1:1).
class LiveWindowTest : public ::testing::Test {
 protected:
  LiveWindowTest() : t("2011-06-01"), p(t.program()), w(p) {}

  void SetUp() override {
    comp = t.Competition(kLeague);
    for (const char* n : {"Alpha", "Beta", "Gamma"}) {
      teams.push_back(t.db().AddTeam(kLeague, n));
      t.db().AddTeamToCompetition(comp, teams.back(), start);
    }
    old = t.db().AddCompetition(kLeague, "2009/2010");
    const int x = t.db().AddTeam(kLeague, "Old X"), y = t.db().AddTeam(kLeague, "Old Y");
    auto past = [&](int count, int hg, int ag, int hth, int hta) {
      for (int i = 0; i < count; ++i) {
        MatchSpec m{.competition = old, .date = "2010-03-01", .home = x, .away = y};
        m.home_goals = hg;
        m.away_goals = ag;
        m.ht_home_goals = hth;
        m.ht_away_goals = hta;
        m.elo_diff = m.ht_elo_diff = m.sht_elo_diff = 0;
        t.db().AddMatch(m);
      }
    };
    past(12, 1, 0, 1, 0);
    past(7, 0, 0, 0, 0);
    past(6, 0, 1, 0, 1);
    past(11, 2, 1, 1, 1);
    past(4, 1, 1, 1, 1);
    past(3, 1, 2, 1, 1);
    p.selection.league = std::to_string(kLeague);
    p.selection.competition = std::to_string(comp);
  }

  void Meeting(const std::string& date, int hg, int ag, int hth, int hta) {
    MatchSpec m{.competition = old, .date = date, .home = teams[0], .away = teams[1]};
    m.home_goals = hg;
    m.away_goals = ag;
    m.ht_home_goals = hth;
    m.ht_away_goals = hta;
    t.db().AddMatch(m);
  }
  void ThreeMeetings() {
    Meeting("2011-05-22", 2, 1, 1, 0);
    Meeting("2011-05-02", 0, 0, 0, 0);
    Meeting("2011-04-02", 1, 1, 1, 1);
  }
  // Opens the window for Alpha - Beta and analyses half time hh:ha.
  bool Analyse(int hh, int ha) {
    w.Open();
    w.FormShow();
    EXPECT_TRUE(w.SetHalfTime(hh, ha));
    return w.ZobrazOkno();
  }

  TipsDb t;
  Program& p;
  TfLive w;
  SeasonStart start;
  int comp = 0, old = 0;
  std::vector<int> teams;
};

TEST_F(LiveWindowTest, OpeningSwitchesToFullTimeAndClosingRestoresTheMode) {
  const struct {
    ResultMode before;
  } cases[] = {{ResultMode::kUnderOver}, {ResultMode::kFirstHalf}, {ResultMode::kFullTime}};
  for (const auto& c : cases) {
    p.selection.result_mode = c.before;
    TfLive live(p);
    live.Open();
    EXPECT_NE(p.selection.result_mode, ResultMode::kUnderOver);
    live.FormShow();
    EXPECT_EQ(p.selection.result_mode, ResultMode::kFullTime);
    ASSERT_EQ(live.home.items.size(), 3u);
    EXPECT_EQ(live.home.Text(), "Alpha");
    EXPECT_EQ(live.away.Text(), "Beta");
    EXPECT_FALSE(live.Analysed());
    EXPECT_EQ(live.ClientHeight(), 150);
    EXPECT_EQ(live.Caption(), "  LIVE tip");
    EXPECT_EQ(live.Label(kHalfTimeHead).text, "Enter Halftime result");
    EXPECT_FALSE(live.Label(kBeforeMatch).visible);
    EXPECT_FALSE(live.OddsEnabled());
    for (int i = 0; i < kLiveOddsCount; ++i) {
      EXPECT_EQ(live.Odds(i), 1.00);
      EXPECT_EQ(live.Label(kFirstLiveDifference + i).text, "0");
    }
    ASSERT_TRUE(live.ZobrazOkno());
    EXPECT_EQ(p.selection.result_mode, ResultMode::kFullTime);
    live.Closed();
    EXPECT_EQ(p.selection.result_mode, c.before);
  }
}

// Which meetings move D2, and that D2 starts from D0, not from D1 (which already has the
// all-meetings adjustment: ages 10, 30, 60 of 100 give +22, then draws -7 and -3: D1 = 12).
TEST_F(LiveWindowTest, LiveDifferenceTakesTheFirstKindOfMeetingsThatExists) {
  ThreeMeetings();
  const struct {
    int hh, ha;
    LiveMeetings used;
    int count;
    int32_t d2;
  } cases[] = {
      // A single meeting's age is the whole age sum: weight 0.
      {1, 0, LiveMeetings::kSameScore, 1, 0},
      {0, 0, LiveMeetings::kSameScore, 1, 0},
      // No 2:1 meeting; the home side led at half time in the 2:1 win.
      {2, 1, LiveMeetings::kSameOutcome, 1, 0},
      // No 2:2: the drawn half times 0:0 and 1:1, ages 30 and 60 of 90: 16 -> -8, 7 -> -4.
      {2, 2, LiveMeetings::kSameOutcome, 2, -12},
      // Nobody led away at half time: all meetings, once (not 24).
      {0, 3, LiveMeetings::kAllMeetings, 3, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.hh) + ":" + std::to_string(c.ha));
    ASSERT_TRUE(Analyse(c.hh, c.ha));
    EXPECT_EQ(w.D0(), 0);
    EXPECT_EQ(w.D1(), 12);
    EXPECT_EQ(w.LiveMeetingsUsed(), c.used);
    EXPECT_EQ(w.LiveMeetingCount(), c.count);
    EXPECT_EQ(w.D2(), c.d2);
  }
}

TEST_F(LiveWindowTest, WithoutEarlierMeetingsD2IsD0) {
  ASSERT_TRUE(Analyse(1, 1));
  EXPECT_EQ(w.LiveMeetingsUsed(), LiveMeetings::kNone);
  EXPECT_EQ(w.D2(), w.D0());
  EXPECT_EQ(w.Label(kHeadToHead).text, "Head to head matches (wins-draws-losses):  0 - 0 - 0");
  EXPECT_EQ(w.OddsLine(), "Not available");
  EXPECT_EQ(w.DifferenceLine(), "");
}

TEST_F(LiveWindowTest, AnalysisShowsBothSectionsAndTheCalculatorUsesTheLivePercentages) {
  ThreeMeetings();
  const int fixture = t.db().AddMatch(
      {.competition = comp, .date = "2011-06-10", .home = teams[0], .away = teams[1]});
  t.db().AddOdds(fixture, 1.85, 3.5, 4, 1.25, 2, 1.3);
  w.SetTop(400, 0);
  p.WindowRaised = false;
  ASSERT_TRUE(Analyse(1, 1));
  EXPECT_TRUE(w.Analysed());
  EXPECT_EQ(w.ClientHeight(), 488);
  EXPECT_EQ(w.Top(), 230);
  EXPECT_EQ(w.Caption(), "  LIVE tip .: Alpha - Beta :.");
  EXPECT_EQ(w.Label(kBeforeMatch).text, "Information before the match");
  EXPECT_EQ(w.Label(kBeforeMatch).color, kLabelBlue);
  EXPECT_EQ(w.Label(kHomeRating).text, "ELO: 1500");
  EXPECT_EQ(w.Label(kHeadToHead).text, "Head to head matches (wins-draws-losses):  1 - 2 - 0");
  // The pre-match tip comes from the match search (no likely score), the live one from the
  // half-time 1:1 matches only.
  const PredictionState& pre = w.PreMatch();
  EXPECT_EQ(w.Label(kTipLine).text,
            "Tip: " + TrimTip(pre.Tip) +
                "    The tendency (win-draw-lose) %:  " + std::to_string(pre.HomePercent) + " - " +
                std::to_string(pre.DrawPercent) + " - " + std::to_string(pre.AwayPercent));
  EXPECT_EQ(w.Label(kOddsLine).text,
            "Odds (1-0-2-10-02-12): 1,85 - 3,50 - 4,00 - 1,25 - 2,00 - 1,30");
  EXPECT_EQ(w.DifferenceLine(), std::to_string(pre.HomePercent - 54) + ", " +
                                    std::to_string(pre.DrawPercent - 29) + ", " +
                                    std::to_string(pre.AwayPercent - 25) + ", " +
                                    std::to_string(pre.HomePercent + pre.DrawPercent - 80) + ", " +
                                    std::to_string(pre.DrawPercent + pre.AwayPercent - 50) + ", " +
                                    std::to_string(pre.HomePercent + pre.AwayPercent - 77));
  EXPECT_EQ(w.Label(kAfterHalfTime).text, "Tip after halftime 1:1");
  EXPECT_EQ(w.Label(kAfterHalfTime).color, kFigureRed);
  EXPECT_EQ(w.Label(kLiveHeadToHead).text, "Head to head matches (wins-draws-losses):  0 - 1 - 0");
  EXPECT_EQ(p.prediction.HomePercent, 61);
  EXPECT_EQ(p.prediction.DrawPercent, 22);
  EXPECT_EQ(p.prediction.AwayPercent, 17);
  EXPECT_EQ(w.Label(kLiveTipLine).text.substr(w.Label(kLiveTipLine).text.find("    ")),
            "    The tendency (win-draw-lose) %:  61 - 22 - 17");
  EXPECT_EQ(w.Label(kEnterOdds).text, "Enter odds:");
  EXPECT_EQ(w.Label(kDifferencesHead).text, "Differences (%):");
  ASSERT_TRUE(w.OddsEnabled());

  // Default odds 1.00: P - 100, red.
  const int defaults[6] = {-39, -78, -83, -17, -61, -22};
  for (int i = 0; i < kLiveOddsCount; ++i) {
    EXPECT_EQ(w.Label(kFirstLiveDifference + i).text, std::to_string(defaults[i]));
    EXPECT_EQ(w.Label(kFirstLiveDifference + i).color, kFigureRed);
  }
  const struct {
    int entry;
    double odds;
    const char* shown;
    ScreenColour colour;
  } entries[] = {
      {0, 2.00, "11", kFigureGreen},   // 61 - 50
      {0, 1.64, "0", kLabelBlack},     // 61 - Round(60.98)
      {3, 1.20, "0", kLabelBlack},     // 83 - 83
      {5, 99.99, "77", kFigureGreen},  // 78 - 1
  };
  for (const auto& e : entries) {
    ASSERT_TRUE(w.SetOdds(e.entry, e.odds));
    EXPECT_EQ(w.Label(kFirstLiveDifference + e.entry).text, e.shown);
    EXPECT_EQ(w.Label(kFirstLiveDifference + e.entry).color, e.colour);
  }
  // Only the changed entry moves; out-of-range values change nothing.
  EXPECT_EQ(w.Label(kFirstLiveDifference + 1).text, "-78");
  EXPECT_FALSE(w.SetOdds(1, 0.99));
  EXPECT_FALSE(w.SetOdds(1, 100.0));
  EXPECT_EQ(w.Odds(1), 1.00);

  // OK again with another score: recomputed, the odds entries keep their values, the window
  // does not move again.
  ASSERT_TRUE(w.SetHalfTime(1, 0));
  ASSERT_TRUE(w.ZobrazOkno());
  EXPECT_EQ(w.Top(), 230);
  EXPECT_EQ(w.Odds(0), 1.64);
  EXPECT_EQ(p.prediction.HomePercent, 100);
  EXPECT_EQ(w.Label(kFirstLiveDifference).text, "39");  // 100 - 61
}

TEST_F(LiveWindowTest, NoPastMatchWithTheScoreMeansNoLiveTip) {
  ASSERT_TRUE(Analyse(5, 4));
  EXPECT_EQ(w.Label(kLiveTipLine).text, "Tip cannot be calculated");
  EXPECT_FALSE(w.LiveTip());
  EXPECT_FALSE(w.OddsEnabled());
  for (int i = 0; i < kLiveOddsCount; ++i) EXPECT_EQ(w.Label(kFirstLiveDifference + i).text, "");
  EXPECT_TRUE(w.SetOdds(0, 2.0));
  EXPECT_EQ(w.Label(kFirstLiveDifference).text, "");
}

TEST_F(LiveWindowTest, HalfTimeScoreIsOneDigitEach) {
  const struct {
    int hh, ha;
    bool ok;
  } cases[] = {{0, 0, true}, {9, 9, true}, {10, 0, false}, {0, -1, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(w.SetHalfTime(c.hh, c.ha), c.ok) << c.hh << ":" << c.ha;
  }
  EXPECT_EQ(w.HalfTimeHome(), 9);
  EXPECT_EQ(w.HalfTimeAway(), 9);
}

// The league tables open with the home (1) or away (2) table and this window's pairing.
TEST_F(LiveWindowTest, TableButtonsOpenTheLeagueTablesWithThePairing) {
  struct Recorder : LeagueTablesView {
    std::vector<TableContext> shown;
    void ShowLeagueTables(Program&, const TableContext& context) override {
      shown.push_back(context);
    }
  } view;
  w.Open();
  w.FormShow();
  w.TableClick(true, view);
  w.TableClick(false, view);
  ASSERT_EQ(view.shown.size(), 2u);
  const TableKind kinds[2] = {TableKind::kStandingsHome, TableKind::kStandingsAway};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(view.shown[i].kind, kinds[i]);
    ASSERT_TRUE(view.shown[i].match.has_value());
    EXPECT_EQ(view.shown[i].match->home_team, teams[0]);
    EXPECT_EQ(view.shown[i].match->away_team, teams[1]);
  }
}

TEST(LiveMeetingStatements, FollowTheHalfTimeOutcome) {
  const Date d = *ParseIsoDate("2011-06-01");
  const auto s = LiveMeetingStatements(3, 4, d, 2, 1);
  EXPECT_NE(s[0].find("HT_HOME_GOAL=2 AND HT_AWAY_GOAL=1 )"), std::string::npos);
  EXPECT_NE(LiveMeetingStatements(3, 4, d, 2, 1)[1].find("HT_VYSLEDOK=\"1\")"), std::string::npos);
  EXPECT_NE(LiveMeetingStatements(3, 4, d, 0, 2)[1].find("HT_VYSLEDOK=\"2\")"), std::string::npos);
  EXPECT_NE(LiveMeetingStatements(3, 4, d, 3, 3)[1].find("HT_VYSLEDOK=\"0\")"), std::string::npos);
}

}  // namespace
}  // namespace morvela::test
