// The match tip window on the offscreen platform: "Search for tip" opens it in the choice
// state, OK analyses the pairing, the chart's hint names the match under the pointer, and the
// tips list's double click opens it analysed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>

#include "tips/tips_test_support.h"
#include "ui/match_window.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

// England's active season with three teams and two played matches, a fixture with odds.
class MatchWindowUiTest : public ::testing::Test {
 protected:
  MatchWindowUiTest() : db_("2010-06-05") {
    test::FixtureDb& db = db_.db();
    const int comp = db_.Competition(kEngland);
    for (const char* n : {"Arsenal", "Burnley", "Chelsea"}) {
      teams_.push_back(db.AddTeam(kEngland, n));
      db.AddTeamToCompetition(comp, teams_.back());
    }
    auto play = [&](const char* date, int h, int a, int hg, int ag) {
      test::MatchSpec m{.competition = comp, .date = date, .home = h, .away = a};
      m.home_goals = hg;
      m.away_goals = ag;
      m.ht_home_goals = m.ht_away_goals = 0;
      m.elo_diff = m.ht_elo_diff = 0;  // found by the searches for a difference near 0
      db.AddMatch(m);
    };
    play("2010-05-01", teams_[0], teams_[1], 3, 0);
    play("2010-05-08", teams_[2], teams_[0], 1, 2);
    fixture_ = db.AddMatch({.competition = comp,
                            .date = "2010-06-06",
                            .home = teams_[0],
                            .away = teams_[2],
                            .elo_diff = 0});
    db_.Odds(fixture_, {{"KURZ1", "1.5"}, {"KURZX", "4"}, {"KURZ2", "6"}, {"BWIN_ID", "\"5150\""}});
  }

  static constexpr int kEngland = 4;
  test::TipsDb db_;
  std::vector<int> teams_;
  int fixture_ = 0;
};

TEST_F(MatchWindowUiTest, SearchForTipChooseOkAndTheHint) {
  DesktopOptions o;
  o.league = kEngland;
  auto s = test::OpenSession(db_.db().Folder(), kEnglish, "match-window.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  auto* search = s->window().findChild<QPushButton*>(QStringLiteral("Button8"));
  ASSERT_TRUE(search && search->isEnabled());
  search->click();
  Settle();
  MatchTipWindow* w = s->window().MatchWindow();
  ASSERT_TRUE(w->isVisible());
  EXPECT_EQ(s->TopWindow(), w);
  // The choice state: the band only, the teams in name order, the second one chosen away.
  EXPECT_EQ(w->height(), 108);
  EXPECT_EQ(w->width(), 592);
  auto* home = w->findChild<QComboBox*>(QStringLiteral("HomeTeam"));
  auto* away = w->findChild<QComboBox*>(QStringLiteral("AwayTeam"));
  ASSERT_EQ(home->count(), 3);
  EXPECT_EQ(home->currentText(), "Arsenal");
  EXPECT_EQ(away->currentText(), "Burnley");
  EXPECT_FALSE(w->findChild<QLabel*>(QStringLiteral("Label3"))->isVisible());
  EXPECT_FALSE(w->ChartView()->isVisible());

  // OK with Arsenal - Chelsea.
  away->setCurrentIndex(2);
  w->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
  Settle();
  ASSERT_TRUE(w->Model().Analysed());
  EXPECT_EQ(w->height(), 572);
  EXPECT_EQ(w->windowTitle(), "  FULL TIME :: Tip .: Arsenal - Chelsea :.");
  auto* tip = w->findChild<QLabel*>(QStringLiteral("Label3"));
  EXPECT_TRUE(tip->isVisible());
  EXPECT_EQ(tip->text().toStdString(), w->Model().Label(kTipLine).text);
  EXPECT_EQ(tip->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_GT(tip->font().pointSizeF(), QApplication::font().pointSizeF());
  auto* rating = w->findChild<QLabel*>(QStringLiteral("Label6"));
  EXPECT_EQ(rating->text().toStdString(), w->Model().Label(kHomeRating).text);
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("Label4"))->text(),
            "Odds (1-0-2-10-02-12): 1,50 - 4,00 - 6,00 - 0 - 0 - 0");
  EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("BetButton"))->isVisible());
  EXPECT_TRUE(w->ChartView()->isVisible());

  // The hint at Arsenal's first point and on its second segment.
  const QString first = w->HintAt(w->PointPosition(kHomeLine, 0));
  EXPECT_EQ(first.toStdString(), "Arsenal[1] - Burnley[1]  3 : 0");
  const QPoint a = w->PointPosition(kHomeLine, 1), b = w->PointPosition(kHomeLine, 2);
  EXPECT_EQ(w->HintAt((a + b) / 2).toStdString(), w->Model().Chart1MouseMove(kHomeLine, 1));
  EXPECT_EQ(w->HintAt(QPoint(2, 2)), QString());
  w->ShowHint(w->PointPosition(kHomeLine, 0));
  EXPECT_EQ(QToolTip::text(), first);
  // The pointer rests: the toolkit's tooltip request must keep the hint, not hide it.
  const QPoint rest = w->PointPosition(kHomeLine, 0);
  QHelpEvent request(QEvent::ToolTip, rest, w->ChartView()->viewport()->mapToGlobal(rest));
  QApplication::sendEvent(w->ChartView()->viewport(), &request);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), first);

  // "Table home": the home table of the season with both teams of the match highlighted.
  w->findChild<QPushButton*>(QStringLiteral("TableHome"))->click();
  Settle();
  LeagueTablesWindow* tables = w->TablesWindow();
  ASSERT_TRUE(tables && tables->isVisible());
  EXPECT_EQ(tables->Model().Kind(), TableKind::kStandingsHome);
  std::vector<int64_t> highlighted;
  for (int row = 1; row < tables->Model().RowCount(); ++row)
    if (tables->Model().RowHighlighted(row)) highlighted.push_back(tables->Model().RowTeam(row));
  EXPECT_EQ(highlighted, std::vector<int64_t>{teams_[0]}) << "the home team, Arsenal";
  tables->close();
  ASSERT_FALSE(test::SaveAndLoad(*s, "match-window.png").isNull());
}

TEST_F(MatchWindowUiTest, UnderOverModeDrawsTheGoalLine) {
  DesktopOptions o;
  o.league = kEngland;
  o.result_mode = ResultMode::kUnderOver;
  o.match = std::pair<std::string, std::string>{"arsenal", "chelsea"};
  auto s = test::OpenSession(db_.db().Folder(), kEnglish, "match-window-uo.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  ASSERT_TRUE(s->ApplyMatchChoice());
  Settle();
  MatchTipWindow* w = s->window().MatchWindow();
  ASSERT_TRUE(w->Model().Analysed());
  EXPECT_EQ(w->windowTitle(), "  UNDER / OVER :: Tip .: Arsenal - Chelsea :.");
  EXPECT_TRUE(w->Model().Series(kGoalLine).active);
  EXPECT_EQ(w->HintAt(w->PointPosition(kHomeLine, 1)).toStdString(), "Chelsea - Arsenal  1 : 2");
  ASSERT_FALSE(test::SaveAndLoad(*s, "match-window-uo.png").isNull());
}

TEST_F(MatchWindowUiTest, TheTipsListsDoubleClickOpensItAnalysedForTheFixture) {
  DesktopOptions o;
  o.league = kEngland;
  o.tip_button = kTippingALeagueButton;
  auto s = test::OpenSession(db_.db().Folder(), kEnglish, "match-window-tips.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  TipsListWindow* list = s->window().TipsWindow();
  ASSERT_TRUE(list && list->isVisible());
  QTableView* grid = list->Grid();
  ASSERT_EQ(grid->model()->rowCount(), 1);
  emit grid->doubleClicked(grid->model()->index(0, 2));
  Settle();
  MatchTipWindow* w = s->window().MatchWindow();
  ASSERT_TRUE(w->isVisible());
  ASSERT_TRUE(w->Model().Analysed());
  EXPECT_EQ(s->TopWindow(), w);
  EXPECT_EQ(w->windowTitle(), "  FULL TIME :: Tip .: Arsenal - Chelsea :.");
  EXPECT_EQ(FormatIsoDate(w->Model().Reference()), "2010-06-06");
  EXPECT_EQ(w->Model().BetEventId(), "5150");
  auto* home = w->findChild<QComboBox*>(QStringLiteral("HomeTeam"));
  EXPECT_EQ(home->count(), 1);
  EXPECT_EQ(home->currentText(), "Arsenal");
  ASSERT_FALSE(test::SaveAndLoad(*s, "match-window-tips.png").isNull());
}

}  // namespace
}  // namespace morvela
