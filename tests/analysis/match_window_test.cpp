#include "analysis/match_window.h"

#include <gtest/gtest.h>

#include "analysis/bet_link.h"
#include "predict/support_routines.h"
#include "tips/tips_test_support.h"

namespace morvela::test {
namespace {

constexpr int kLeague = 1;

// A season of three teams (Alpha, Beta, Gamma) in league 1 and, in an older season of the same
// league, 25 matches at rating difference 0 between two other teams (12 home wins 1:0, 7 draws
// 0:0, 6 away wins 0:1), so that the match search for a difference of 0 gives 48/28/24.
class MatchWindowTest : public ::testing::Test {
 protected:
  MatchWindowTest() : t("2011-06-01"), p(t.program()), w(p) {}

  void SetUp() override {
    comp = t.Competition(kLeague);
    for (const char* n : {"Alpha", "Beta", "Gamma"}) {
      teams.push_back(t.db().AddTeam(kLeague, n));
      t.db().AddTeamToCompetition(comp, teams.back(), start);
    }
    const int old = t.db().AddCompetition(kLeague, "2009/2010");
    const int x = t.db().AddTeam(kLeague, "Old X"), y = t.db().AddTeam(kLeague, "Old Y");
    auto past = [&](int count, int hg, int ag) {
      for (int i = 0; i < count; ++i) {
        MatchSpec m{.competition = old, .date = "2010-03-01", .home = x, .away = y};
        m.home_goals = m.ht_home_goals = hg;
        m.away_goals = m.ht_away_goals = ag;
        m.elo_diff = m.ht_elo_diff = m.sht_elo_diff = 0;
        t.db().AddMatch(m);
      }
    };
    past(12, 1, 0);
    past(7, 0, 0);
    past(6, 0, 1);
    p.selection.league = std::to_string(kLeague);
    p.selection.competition = std::to_string(comp);
  }

  int Fixture(int h, int a, const std::string& date = "2011-06-10") {
    return t.db().AddMatch({.competition = comp, .date = date, .home = h, .away = a});
  }
  void Choose(int h, int a) {
    FindTip(p, w);
    for (size_t i = 0; i < w.home.items.size(); ++i) {
      if (w.home.items[i].id == h) w.home.index = static_cast<int>(i);
      if (w.away.items[i].id == a) w.away.index = static_cast<int>(i);
    }
  }
  void SetAverages(double pr) {
    t.db().conn().Execute("UPDATE SUTAZ_MUZSTVA SET PR=" + FormatSqlNumber(pr) +
                          ",PR_HOME=" + FormatSqlNumber(pr) + ",PR_AWAY=" + FormatSqlNumber(pr));
  }

  TipsDb t;
  Program& p;
  TForm5 w;
  SeasonStart start;
  int comp = 0;
  std::vector<int> teams;
};

TEST_F(MatchWindowTest, OpeningShowsTheChoiceStateAndOkAnalysesInFullTime) {
  const int A = teams[0], B = teams[1];
  const int fixture = Fixture(A, B);
  t.Odds(fixture, {{"KURZ1", "1.85"},
                   {"KURZX", "0"},
                   {"KURZ2", "4"},
                   {"KURZ1X", "1.25"},
                   {"KURZX2", "2"},
                   {"KURZ12", "1.3"},
                   {"BWIN_ID", "\"778899\""}});
  p.prediction.LikelyScore = "9:9";
  Choose(A, B);
  w.SetTop(400, 0);
  w.FormShow();
  EXPECT_FALSE(w.Analysed());
  EXPECT_EQ(w.ClientHeight(), 108);
  EXPECT_EQ(w.ClientWidth(), 592);
  EXPECT_EQ(w.Caption(), "  Tip");
  EXPECT_EQ(w.LeftAxisTitle(), "Performance in ELO points");
  EXPECT_EQ(w.BottomAxisTitle(), "Match in order");
  EXPECT_FALSE(w.Label(kTipLine).visible);
  EXPECT_FALSE(w.Series(kHomeLine).active);
  EXPECT_FALSE(w.LinksVisible());
  EXPECT_TRUE(p.prediction.LikelyScore.empty());

  w.Button1Click();
  ASSERT_TRUE(w.Analysed());
  EXPECT_EQ(w.ClientHeight(), 572);
  EXPECT_EQ(w.Caption(), "  FULL TIME :: Tip .: Alpha - Beta :.");
  EXPECT_EQ(w.Label(kHomeRating).text, "ELO: 1500");
  EXPECT_EQ(w.Label(kHomeRating).color, kFigureGreen);
  EXPECT_EQ(w.Label(kHomeVenueRating).text, "ELO Home: 1500");
  EXPECT_EQ(w.Label(kAwayVenueRating).text, "ELO Away: 1500");
  EXPECT_EQ(w.Label(kHomeForm).text, "Form: 0");
  EXPECT_EQ(w.Label(kHomeForm).color, kFigureGreen);
  EXPECT_EQ(w.Label(kAwayVenueForm).text, "Form Away: 0");
  EXPECT_EQ(w.Label(kHeadToHead).text, "Head to head matches (wins-draws-losses):  0 - 0 - 0");
  EXPECT_EQ(w.Label(kHeadToHead).color, kLabelBlue);
  EXPECT_TRUE(w.Label(kHeadToHead).bold);
  EXPECT_EQ(p.prediction.HomePercent, 48);
  EXPECT_EQ(w.Label(kTipLine).text,
            "Tip: 10  (1:0)  The tendency (win-draw-lose) %:  48 - 28 - 24");
  EXPECT_EQ(w.Label(kTipLine).color, kFigureRed);
  EXPECT_TRUE(w.Label(kTipLine).large);
  // KURZX 0 shows "0" and "?"; 1.85 against 48 % implies 54 %: -6.
  EXPECT_EQ(w.OddsLine(), "1,85 - 0 - 4,00 - 1,25 - 2,00 - 1,30");
  EXPECT_EQ(w.Label(kOddsLine).text, "Odds (1-0-2-10-02-12): 1,85 - 0 - 4,00 - 1,25 - 2,00 - 1,30");
  EXPECT_EQ(w.DifferenceLine(), "-6, ?, -1, -4, 2, -5");
  EXPECT_EQ(w.Label(kDifferenceLine).text, "Difference (1,0,2,10,02,12) %: -6, ?, -1, -4, 2, -5");
  EXPECT_TRUE(w.Label(kOddsLine).bold);
  EXPECT_EQ(w.BetEventId(), "778899");
  EXPECT_TRUE(w.BetVisible());
  EXPECT_EQ(w.BetLink(), std::string(kBetHost) +
                             "/betsnew.aspx?view=betdetail&adid=5677&refererid=" + kBetReferrer +
                             "&eventID=778899");
  w.BetClick();
  ASSERT_EQ(t.ui.opened_urls.size(), 1u);
  EXPECT_EQ(t.ui.opened_urls[0], w.BetLink());
  // The chart: the start point of each team, no goal line.
  EXPECT_TRUE(w.Series(kHomeLine).active);
  EXPECT_EQ(w.Series(kHomeLine).title, "Alpha");
  EXPECT_EQ(w.Series(kAwayLine).color, kAwayLineColour);
  ASSERT_EQ(w.Series(kHomeLine).points.size(), 1u);
  EXPECT_FALSE(w.Series(kGoalLine).active);
  EXPECT_EQ(t.wait.Depth(), 0);
  EXPECT_EQ(t.wait.LastMessage(), "Please wait ...");

  // The first expansion moves the window up by 232 pixels; OK again does not.
  EXPECT_EQ(w.Top(), 400 - 232);
  EXPECT_TRUE(p.WindowRaised);
  w.SetTop(168, 0);
  w.Button1Click();
  EXPECT_EQ(w.Top(), 168);
  // Never above the top of the screen.
  p.WindowRaised = false;
  w.SetTop(100, 20);
  w.Button1Click();
  EXPECT_EQ(w.Top(), 20);
}

TEST_F(MatchWindowTest, OddsRowsThatGiveNoOddsLine) {
  const int A = teams[0], B = teams[1], C = teams[2];
  // All six odds 0 and no event id.
  const int f1 = Fixture(A, B);
  t.Odds(f1, {{"KURZ1", "0"}, {"KURZX", "0"}, {"KURZ2", "0"}});
  Choose(A, B);
  w.FormShow();
  w.Button1Click();
  EXPECT_EQ(w.OddsLine(), "Not available");
  EXPECT_EQ(w.DifferenceLine(), "?, ?, ?, ?, ?, ?");
  EXPECT_FALSE(w.BetVisible());
  // No fixture at all: "Not available", an empty difference line; the tip is still shown.
  Choose(A, C);
  w.Button1Click();
  EXPECT_EQ(w.OddsLine(), "Not available");
  EXPECT_EQ(w.DifferenceLine(), "");
  EXPECT_EQ(w.Label(kDifferenceLine).text, "Difference (1,0,2,10,02,12) %: ");
  EXPECT_FALSE(w.Label(kDifferenceLine).visible) << "nothing to compare: the window hides it";
  EXPECT_FALSE(w.Label(kTipLine).text.empty());
  // The next fixture of the pairing is the earliest unplayed one.
  const int later = Fixture(A, C, "2011-07-01");
  const int sooner = Fixture(A, C, "2011-06-20");
  t.Odds(later, {{"KURZ1", "3"}});
  t.Odds(sooner, {{"KURZ1", "2"}});
  w.Button1Click();
  EXPECT_EQ(w.OddsLine(), "2,00 - 0 - 0 - 0 - 0 - 0");
}

TEST_F(MatchWindowTest, HalfModesShowNoLikelyScore) {
  const int A = teams[0], B = teams[1];
  p.selection.result_mode = test::ModeOf(1);
  Choose(A, B);
  w.FormShow();
  w.Button1Click();
  EXPECT_EQ(w.Caption(), "  1st HALF :: Tip .: Alpha - Beta :.");
  EXPECT_EQ(w.Label(kTipLine).text, "Tip: 10    The tendency (win-draw-lose) %:  48 - 28 - 24");
  // German: its own prefixes.
  p.messages.NastavJazyk(kGerman);
  w.FormShow();
  w.Button1Click();
  EXPECT_EQ(w.Label(kTipLine).text.rfind("Tipp: 10    Tendenz", 0), 0u) << w.Label(kTipLine).text;
  EXPECT_EQ(w.Caption(), "  1. HÄLFTE :: Tipp .: Alpha - Beta :.") << w.Caption();
}

TEST_F(MatchWindowTest, OpenedFromTheTipsListAnalysesAtOnceWithTheRowsDateAndOdds) {
  const int A = teams[0], B = teams[1], C = teams[2];
  // A meeting of A and B that the tip's date takes in and today's would not... reversed:
  // a meeting after the tip's date stays out.
  const int old = t.db().AddCompetition(kLeague, "2008/2009");
  MatchSpec m{.competition = old, .date = "2011-05-20", .home = A, .away = B};
  m.home_goals = 2;
  m.away_goals = 0;
  t.db().AddMatch(m);
  // Two fixtures of the pairing; the tip row is the later one with its own odds.
  t.Odds(Fixture(A, B, "2011-05-01"), {{"KURZ1", "9"}});
  const int tip_fixture = Fixture(A, B, "2011-06-10");
  t.Odds(tip_fixture, {{"KURZ1", "1.5"}, {"BWIN_ID", "\"42\""}});
  p.dm.Work3.Open("SELECT ID,DATUM FROM VYSLEDKY WHERE ID=" + std::to_string(tip_fixture));
  w.PresetTeams({A, "Alpha"}, {B, "Beta"});
  w.SetOpenedFromTips(true);
  p.WindowRaised = true;
  w.SetTop(300, 0);
  w.FormShow();
  ASSERT_TRUE(w.Analysed());
  EXPECT_EQ(FormatIsoDate(w.Reference()), "2011-06-10");
  EXPECT_EQ(w.Pairing().meetings, 1);
  EXPECT_EQ(w.Pairing().wins, 1);
  EXPECT_EQ(w.OddsLine(), "1,50 - 0 - 0 - 0 - 0 - 0");
  EXPECT_EQ(w.BetEventId(), "42");
  EXPECT_EQ(w.Top(), 300);  // the tips list set WindowRaised: no move

  // From the tip search with a reference date before the meeting: it stays out.
  w.SetOpenedFromTips(false);
  Choose(A, B);
  w.SetReferenceDate(*ParseIsoDate("2011-05-01"));
  w.FormShow();
  EXPECT_FALSE(w.Analysed());
  w.Button1Click();
  EXPECT_EQ(w.Pairing().meetings, 0);
  EXPECT_EQ(w.OddsLine(), "9,00 - 0 - 0 - 0 - 0 - 0");  // the pairing's next fixture
  (void)C;
}

TEST_F(MatchWindowTest, HintNamesThePairingWithRatingPositionsAndTheScore) {
  const int A = teams[0], B = teams[1], C = teams[2];
  auto play = [&](const char* date, int h, int a, int hg, int ag) {
    MatchSpec m{.competition = comp, .date = date, .home = h, .away = a};
    m.home_goals = hg;
    m.away_goals = ag;
    t.db().AddMatch(m);
  };
  play("2011-01-10", A, B, 2, 0);
  play("2011-01-17", C, A, 1, 1);
  Choose(A, C);
  w.FormShow();
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 0), "");  // nothing analysed yet
  w.Button1Click();
  ASSERT_EQ(w.Series(kHomeLine).points.size(), 3u);
  EXPECT_EQ(w.Series(kHomeLine).points[2].label, "2");
  // Segment 0 -> 1 of Alpha: its first match, positions after 0 matches (all 1500: first).
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 0), "Alpha[1] - Beta[1]  2 : 0");
  // Segment 1 -> 2: the second match, positions after one match: Alpha leads, Gamma (1500,
  // ahead of Beta) second.
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 1), "Gamma[2] - Alpha[1]  1 : 1");
  // The last point shows the last match, like the segment that leads to it.
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 2), w.Chart1MouseMove(kHomeLine, 1));
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 3), "");
  EXPECT_EQ(w.Chart1MouseMove(kAwayLine, 0), "Gamma[1] - Alpha[1]  1 : 1");
}

TEST_F(MatchWindowTest, UnderOverModeShowsGoalFiguresAndTheUnderOverTip) {
  const int A = teams[0], B = teams[1];
  p.selection.result_mode = test::ModeOf(3);
  struct Case {
    double average;
    const char* tip_line;
    const char* average_text;
    ScreenColour colour;
  };
  // With no match and no meeting the expected goals are the season-start average.
  const Case cases[] = {
      {2.0, "Tip: UNDER    The tendency (under-over) %:  68 - 32", "Average: 2,00", kFigureRed},
      {2.67, "Tip: OVER    The tendency (under-over) %:  50 - 50", "Average: 2,67", kFigureGreen},
      {2.3, "Tip: UNDER    The tendency (under-over) %:  60 - 40", "Average: 2,30", kFigureRed},
  };
  const int fixture = Fixture(A, B);
  t.Odds(fixture, {{"UNDER", "1.8"}, {"OVER", "2"}});
  for (const Case& c : cases) {
    SetAverages(c.average);
    Choose(A, B);
    w.FormShow();
    EXPECT_EQ(w.LeftAxisTitle(), "Number of goals in match");
    w.Button1Click();
    ASSERT_TRUE(w.Analysed());
    EXPECT_EQ(w.Label(kTipLine).text, c.tip_line);
    EXPECT_EQ(w.Label(kHomeRating).text, c.average_text);
    EXPECT_EQ(w.Label(kHomeRating).color, c.colour);
    EXPECT_EQ(w.Caption(), "  UNDER / OVER :: Tip .: Alpha - Beta :.");
  }
  // u = 60 against UNDER 1.80 and OVER 2.00: 60 - 56 and 40 - 50.
  EXPECT_EQ(w.OddsLine(), "1,80 - 2,00");
  EXPECT_EQ(w.DifferenceLine(), "4, -10");
  EXPECT_EQ(w.Label(kOddsLine).text, "Odds (under-over): 1,80 - 2,00");
  EXPECT_EQ(w.Label(kHeadToHead).text, "Head to head matches (under-over):  0 - 0");
  EXPECT_TRUE(w.Series(kGoalLine).active);
  EXPECT_FALSE(w.Series(kGoalLine).in_legend);
  EXPECT_EQ(w.Series(kGoalLine).width, 3);
  EXPECT_EQ(w.Series(kHomeLine).points[0].y, 2.3);

  // A played match: the goal line runs to it, the hint names the pairing and the score.
  MatchSpec m{.competition = comp, .date = "2011-02-01", .home = B, .away = A};
  m.home_goals = 3;
  m.away_goals = 2;
  t.db().AddMatch(m);
  w.Button1Click();
  ASSERT_EQ(w.Series(kHomeLine).points.size(), 2u);
  EXPECT_EQ(w.Series(kHomeLine).points[1].y, 5);
  EXPECT_EQ(w.Series(kGoalLine).points.size(), 2u);
  EXPECT_EQ(w.Chart1MouseMove(kHomeLine, 0), "Beta - Alpha  3 : 2");
  EXPECT_EQ(w.Label(kHomeForm).text, "Form: " + FormatOdds((5 + 2.3 * 3) / 4));
}

TEST_F(MatchWindowTest, TipSearchFillsTheChoosersInTheUsersLanguage) {
  t.db().conn().Execute("UPDATE MUZSTVA SET NAZOV_DE=\"Zeta\" WHERE ID=" +
                        std::to_string(teams[0]));
  p.messages.NastavJazyk(kGerman);
  p.WindowRaised = true;
  FindTip(p, w);
  EXPECT_FALSE(p.WindowRaised);
  ASSERT_EQ(w.home.items.size(), 3u);
  EXPECT_EQ(w.home.items[0].name, "Beta");
  EXPECT_EQ(w.home.items[2].name, "Zeta");
  EXPECT_EQ(w.home.index, 0);
  EXPECT_EQ(w.away.index, 1);
  EXPECT_EQ(w.away.items, w.home.items);

  // A competition of one team: the away chooser has no selection, and OK does nothing.
  const int single = t.db().AddCompetition(kLeague, "1999/2000");
  t.db().AddTeamToCompetition(single, teams[0]);
  p.selection.competition = std::to_string(single);
  FindTip(p, w);
  EXPECT_EQ(w.home.index, 0);
  EXPECT_EQ(w.away.index, -1);
  w.FormShow();
  EXPECT_FALSE(w.ZobrazOkno());
  EXPECT_TRUE(t.ui.messages.empty());
}

class RecordingLinks : public MatchWindowLinks {
 public:
  void ShowHistoryList(const HistoryRequest& r) override {
    const std::string mode = std::to_string(ModeIndex(r.mode));
    if (r.kind == HistoryKind::kLatestMatches)
      calls.push_back("latest " + std::to_string(r.team.id) + " mode " + mode);
    else
      calls.push_back("h2h " + std::to_string(r.team.id) + " " + std::to_string(r.other.id) +
                      " mode " + mode);
  }
  void ShowLeagueTable(const TableContext& c) override {
    calls.push_back("table " + std::to_string(KindNumber(c.kind)) + " " +
                    std::to_string(c.match->home_team) + " " + std::to_string(c.match->away_team));
  }
  std::vector<std::string> calls;
};

TEST_F(MatchWindowTest, LinksAndATeamOutsideTheSeason) {
  const int A = teams[0], B = teams[1];
  RecordingLinks links;
  Choose(A, B);
  w.FormShow();
  w.TableClick(true, links);
  w.TableClick(false, links);
  p.selection.result_mode = test::ModeOf(3);
  w.TableClick(true, links);
  w.TableClick(false, links);
  w.LatestMatchesClick(false, links);
  w.ShowMatchesClick(links);
  const std::string a = std::to_string(A), b = std::to_string(B);
  EXPECT_EQ(links.calls, (std::vector<std::string>{
                             "table 1 " + a + " " + b, "table 2 " + a + " " + b,
                             "table 10 " + a + " " + b, "table 11 " + a + " " + b,
                             "latest " + b + " mode 3", "h2h " + a + " " + b + " mode 3"}));

  // A team that does not play in the season: a warning, no analysis.
  p.selection.result_mode = test::ModeOf(0);
  w.FormShow();
  w.Button1Click();
  ASSERT_TRUE(w.Analysed());
  w.PresetTeams({A, "Alpha"}, {t.db().AddTeam(kLeague, "Stranger"), "Stranger"});
  EXPECT_FALSE(w.ZobrazOkno());
  EXPECT_FALSE(w.Analysed());
  EXPECT_FALSE(w.Label(kTipLine).visible);
  ASSERT_EQ(t.ui.messages.size(), 1u);
  EXPECT_EQ(t.ui.messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(t.ui.messages[0].text,
            "Tip cannot be calculated\r\nStranger is not a team of the loaded season.");
  EXPECT_EQ(t.wait.Depth(), 0);
}

}  // namespace
}  // namespace morvela::test
