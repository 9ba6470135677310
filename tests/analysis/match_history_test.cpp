// The match history lists through their models: the rows each list selects, its score column,
// the counts on the browser's disabled buttons in every result mode, and the live window's
// lists, whose rows are told apart by the teams' names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/live_window.h"
#include "analysis/match_history.h"
#include "analysis/match_window.h"
#include "tables/tables_test_support.h"

namespace morvela {
namespace {

// Shows the browser as the desktop window does (FormShow, then Close) and keeps what it showed.
class RecordingBrowser : public ResultsBrowserView, public MatchWindowLinks {
 public:
  explicit RecordingBrowser(Program& p) : p_(p), browser_(p) {}
  TForm3& Browser() override { return browser_; }
  void ShowResultsBrowser() override {
    browser_.FormShow();
    ++shown;
    scores.clear();
    for (int r = 0; r < browser_.RowCount(); ++r) scores.push_back(browser_.CellText(r, 3));
    replayed = browser_.Close();
  }
  void ShowHistoryList(const HistoryRequest& r) override { morvela::ShowHistoryList(p_, *this, r); }
  void ShowLeagueTable(const TableContext&) override {}

  int shown = 0;
  bool replayed = false;
  std::vector<std::string> scores;

 private:
  Program& p_;
  TForm3 browser_;
};

std::vector<std::string> Column(TForm3& b, int column) {
  std::vector<std::string> v;
  for (int r = 0; r < b.RowCount(); ++r) v.push_back(b.CellText(r, column));
  return v;
}

class MatchHistoryTest : public ::testing::Test {
 protected:
  MatchHistoryTest() : t(3), p(t.program()) { p.today = *ParseIsoDate("2021-06-30"); }
  TeamItem Item(int i) { return {t.Team(i), "T" + std::to_string(i)}; }

  test::TablesDb t;
  Program& p;
};

TEST_F(MatchHistoryTest, HeadToHeadInEveryModeCountsFromTheHomeTeamsSide) {
  // T1 at home against T2 (full time, half time): 2:1 (1:1), 0:0 (0:0), 1:3 (1:0), and a forfeit
  // 3:0 stored with 0:0 halves; in a past season 1:1 (0:1). T2 at home, a fixture and a match
  // of T3 are not meetings of this list.
  t.Match("2020-09-01", 1, 2, 2, 1, false, false, 1, 1);
  t.Match("2020-10-01", 1, 2, 0, 0);
  t.Match("2020-11-01", 1, 2, 1, 3, false, /*neratat=*/true, 1, 0);
  const int forfeit = t.Match("2020-12-01", 1, 2, 3, 0, /*forfeit=*/true, false, 0, 0);
  t.db().conn().Execute("UPDATE VYSLEDKY SET HT_VYSLEDOK=\"\",SHT_VYSLEDOK=\"\" WHERE ID=" +
                        std::to_string(forfeit));
  t.Match("2021-01-01", 2, 1, 4, 0);
  t.Match("2021-02-01", 1, 3, 5, 0);
  t.db().AddMatch({.competition = std::stoi(p.selection.competition),
                   .date = "2021-07-01",
                   .home = t.Team(1),
                   .away = t.Team(2)});
  const int past = t.db().AddCompetition(4, "2018/2019");
  t.db().AddMatch({.competition = past,
                   .date = "2019-03-01",
                   .home = t.Team(1),
                   .away = t.Team(2),
                   .home_goals = 1,
                   .away_goals = 1,
                   .ht_home_goals = 0,
                   .ht_away_goals = 1});

  struct Case {
    int mode;
    std::vector<std::string> scores;  // newest first
    std::array<std::string, 3> buttons;
    std::string caption;
  } cases[] = {
      {0,
       {"3 : 0   (0 : 0) K", "1 : 3   (1 : 0)", "0 : 0   (0 : 0)", "2 : 1   (1 : 1)",
        "1 : 1   (0 : 1)"},
       {"Wins: 2", "Draws: 2", "Losses: 1"},
       "  FULL TIME :: Results .: T1 - T2 :."},
      // The forfeit's halves hold no outcome: listed, counted nowhere.
      {1,
       {"0 : 0 K", "1 : 0", "0 : 0", "1 : 1", "0 : 1"},
       {"Wins: 1", "Draws: 2", "Losses: 1"},
       "  1st HALF :: Results .: T1 - T2 :."},
      {2,
       {"3 : 0 K", "0 : 3", "0 : 0", "1 : 0", "1 : 0"},
       {"Wins: 2", "Draws: 1", "Losses: 1"},
       "  2nd HALF :: Results .: T1 - T2 :."},
      {3,
       {"3 : 0   (0 : 0) K", "1 : 3   (1 : 0)", "0 : 0   (0 : 0)", "2 : 1   (1 : 1)",
        "1 : 1   (0 : 1)"},
       {"Under: 2", "", "Over: 3"},
       "  UNDER / OVER :: Results .: T1 - T2 :."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    TForm3 b(p);
    const ListCounts counts = FillHistoryList(p, b,
                                              {.kind = HistoryKind::kHeadToHead,
                                               .mode = test::ModeOf(c.mode),
                                               .team = Item(1),
                                               .other = Item(2)});
    EXPECT_EQ(Column(b, 3), c.scores);
    EXPECT_EQ(b.buttons, c.buttons);
    EXPECT_EQ(b.caption, c.caption);
    EXPECT_FALSE(b.buttons_enabled);
    EXPECT_TRUE(b.external_list);
    EXPECT_EQ(counts.wins + counts.draws + counts.losses + counts.under + counts.over,
              c.mode == 0 || c.mode == 3 ? 5 : 4);
    // The row marked not to count is the one drawn on the light red background.
    EXPECT_EQ(b.RowNotCounted(1), true);
    EXPECT_EQ(b.RowNotCounted(0), false);
  }
}

TEST_F(MatchHistoryTest, LatestMatchesTakeEveryActiveSeasonAndTheTeamsSide) {
  // T1 at home: wins 2:0 and 1:0, loss 0:1; away: win 0:2 at T3, loss 3:1 at T2. A match of
  // another league's active season counts too (a draw); a past season's match and a fixture do
  // not, nor does a match without T1.
  t.Match("2020-09-01", 1, 2, 2, 0);
  t.Match("2020-09-08", 1, 3, 1, 0);
  t.Match("2020-09-15", 1, 2, 0, 1);
  t.Match("2020-09-22", 3, 1, 0, 2);
  t.Match("2020-09-29", 2, 1, 3, 1);
  t.Match("2020-10-06", 2, 3, 1, 1);
  const int cup = t.db().AddCompetition(7, "Active");
  const int other = t.db().AddTeam(7, "Foreign");
  t.db().AddMatch({.competition = cup,
                   .date = "2020-10-10",
                   .home = other,
                   .away = t.Team(1),
                   .home_goals = 1,
                   .away_goals = 1});
  const int past = t.db().AddCompetition(4, "2018/2019");
  t.db().AddMatch({.competition = past,
                   .date = "2019-03-01",
                   .home = t.Team(1),
                   .away = t.Team(2),
                   .home_goals = 5,
                   .away_goals = 0});
  t.db().AddMatch({.competition = std::stoi(p.selection.competition),
                   .date = "2021-07-01",
                   .home = t.Team(3),
                   .away = t.Team(1)});

  TForm3 b(p);
  const ListCounts c = FillHistoryList(
      p, b, {.kind = HistoryKind::kLatestMatches, .mode = ResultMode::kFullTime, .team = Item(1)});
  EXPECT_EQ(b.RowCount(), 6);
  EXPECT_EQ(Column(b, 1), (std::vector<std::string>{"Foreign", "T2", "T3", "T1", "T1", "T1"}));
  EXPECT_EQ((std::array{c.wins, c.draws, c.losses}), (std::array{3, 1, 2}));
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Wins: 3", "Draws: 1", "Losses: 2"}));
  EXPECT_EQ(b.caption, "  FULL TIME :: Latest matches .: T1 :.");

  // The away team's list counts from its own side: T2 won 3:1 and lost 2:0 and 0:1... at T1.
  TForm3 b2(p);
  const ListCounts c2 = FillHistoryList(
      p, b2, {.kind = HistoryKind::kLatestMatches, .mode = ResultMode::kFullTime, .team = Item(2)});
  EXPECT_EQ((std::array{c2.wins, c2.draws, c2.losses}), (std::array{2, 1, 1}));
  EXPECT_EQ(b2.RowCount(), 4);
}

TEST_F(MatchHistoryTest, EmptyListShowsNoRowsAndZeroCounts) {
  TForm3 b(p);
  FillHistoryList(p, b,
                  {.kind = HistoryKind::kHeadToHead,
                   .mode = ResultMode::kUnderOver,
                   .team = Item(1),
                   .other = Item(2)});
  EXPECT_EQ(b.RowCount(), 0);
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Under: 0", "", "Over: 0"}));
}

TEST_F(MatchHistoryTest, TheMatchWindowOpensItsListsReadOnlyWithoutAReplay) {
  t.Match("2021-06-20", 1, 2, 2, 1);
  t.Match("2021-06-27", 1, 2, 1, 1);
  t.Match("2021-07-04", 3, 1, 0, 1);
  TForm5 w(p);
  FindTip(p, w);
  RecordingBrowser view(p);
  w.ShowMatchesClick(view);
  ASSERT_EQ(view.shown, 1);
  TForm3& b = view.Browser();
  // Newest first, and in the active season the browser still stands on the row nearest today.
  EXPECT_EQ(view.scores, (std::vector<std::string>{"1 : 1   (1 : 1)", "2 : 1   (2 : 1)"}));
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Wins: 1", "Draws: 1", "Losses: 0"}));
  EXPECT_FALSE(view.replayed);

  w.LatestMatchesClick(/*home_column=*/false, view);
  EXPECT_EQ(view.shown, 2);
  EXPECT_EQ(b.caption, "  FULL TIME :: Latest matches .: T2 :.");
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Wins: 0", "Draws: 1", "Losses: 1"}));
  // The buttons are the counts: a double click does not open the editor.
  EXPECT_FALSE(b.buttons_enabled);
}

TEST_F(MatchHistoryTest, TheLiveListsTellTeamsApartByName) {
  // A fourth team shares T1's name. Its 2:0 home win over T1 shows in T1's latest matches, and
  // by name it counts as a win of "T1".
  const int twin = t.AddTeam("T1");
  t.Match("2020-09-01", 1, 2, 2, 1, false, false, 1, 1);
  t.Match("2020-09-08", 1, 2, 0, 1, false, false, 1, 1);
  t.Match("2020-09-15", 1, 2, 3, 3, false, false, 0, 0);
  t.db().AddMatch({.competition = std::stoi(p.selection.competition),
                   .date = "2020-09-22",
                   .home = twin,
                   .away = t.Team(1),
                   .home_goals = 2,
                   .away_goals = 0});

  TfLive w(p);
  w.Open();
  w.home.index = 0;  // the choosers are sorted by name: T1, T1 (twin), T2, T3
  w.away.index = 2;
  ASSERT_EQ(w.home.Selected()->id, t.Team(1));
  ASSERT_EQ(w.away.Text(), "T2");
  RecordingBrowser view(p);

  w.LatestMatchesClick(true, view);
  TForm3& b = view.Browser();
  EXPECT_EQ(view.scores.size(), 4u);
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Wins: 2", "Draws: 1", "Losses: 1"}));
  // The match window tells the twin apart by its id: a loss.
  TForm3 by_id(p);
  const ListCounts c = FillHistoryList(p, by_id,
                                       {.kind = HistoryKind::kLatestMatches,
                                        .mode = ResultMode::kFullTime,
                                        .team = {t.Team(1), "T1"}});
  EXPECT_EQ((std::array{c.wins, c.draws, c.losses}), (std::array{1, 1, 2}));

  w.ShowMatchesClick(view);
  EXPECT_EQ(view.scores.size(), 3u);
  EXPECT_EQ(b.caption, "  FULL TIME :: Results .: T1 - T2 :.");

  // The live head-to-head list: the meetings with the entered half-time score only.
  ASSERT_TRUE(w.SetHalfTime(1, 1));
  w.ShowLiveMatchesClick(view);
  EXPECT_EQ(view.scores, (std::vector<std::string>{"0 : 1   (1 : 1)", "2 : 1   (1 : 1)"}));
  EXPECT_EQ(b.buttons, (std::array<std::string, 3>{"Wins: 1", "Draws: 0", "Losses: 1"}));
  EXPECT_EQ(view.shown, 3);
  w.Closed();
}

}  // namespace
}  // namespace morvela
