// The live tip window on the offscreen platform: "LIVE tip" opens it in the choice state with
// the main window switched to full time, OK analyses the pairing at the half-time score, the
// odds entries drive the coloured differences, and closing gives the result mode back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include "tips/tips_test_support.h"
#include "ui/live_window.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

// England's active season with three teams; an older season with eight matches at difference
// 0 and half time 1:0 (six won 2:0, two drawn 1:1): the live search for 1:0 gives 75/25/0.
class LiveWindowUiTest : public ::testing::Test {
 protected:
  LiveWindowUiTest() : db_("2010-06-05") {
    test::FixtureDb& db = db_.db();
    const int comp = db_.Competition(kEngland);
    for (const char* n : {"Arsenal", "Burnley", "Chelsea"}) {
      teams_.push_back(db.AddTeam(kEngland, n));
      db.AddTeamToCompetition(comp, teams_.back());
    }
    const int old = db.AddCompetition(kEngland, "2008/2009");
    auto past = [&](int count, int hg, int ag) {
      for (int i = 0; i < count; ++i) {
        test::MatchSpec m{
            .competition = old, .date = "2009-03-01", .home = teams_[1], .away = teams_[2]};
        m.home_goals = hg;
        m.away_goals = ag;
        m.ht_home_goals = 1;
        m.ht_away_goals = 0;
        m.elo_diff = m.ht_elo_diff = 0;
        db.AddMatch(m);
      }
    };
    past(6, 2, 0);
    past(2, 1, 1);
  }

  static constexpr int kEngland = 4;
  test::TipsDb db_;
  std::vector<int> teams_;
};

TEST_F(LiveWindowUiTest, LiveTipButtonOkAndTheCalculator) {
  DesktopOptions o;
  o.league = kEngland;
  o.result_mode = ResultMode::kUnderOver;
  auto s = test::OpenSession(db_.db().Folder(), kEnglish, "live-window.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  auto* tabs = s->window().findChild<QTabBar*>(QStringLiteral("TabControl1"));
  ASSERT_TRUE(tabs);
  EXPECT_EQ(tabs->currentIndex(), 3);
  auto* button = s->window().findChild<QPushButton*>(QStringLiteral("Button10"));
  ASSERT_TRUE(button && button->isEnabled());
  button->click();
  Settle();
  LiveTipWindow* w = s->window().LiveWindow();
  ASSERT_TRUE(w->isVisible());
  EXPECT_EQ(s->TopWindow(), w);
  // Full time while the window is open.
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(w->height(), 150);
  EXPECT_EQ(w->windowTitle(), "  LIVE tip");
  auto* home = w->findChild<QComboBox*>(QStringLiteral("HomeTeam"));
  auto* away = w->findChild<QComboBox*>(QStringLiteral("AwayTeam"));
  ASSERT_EQ(home->count(), 3);
  EXPECT_EQ(home->currentText(), "Arsenal");
  EXPECT_EQ(away->currentText(), "Burnley");
  EXPECT_EQ(w->findChild<QSpinBox*>(QStringLiteral("PB1"))->maximum(), 9);
  EXPECT_FALSE(w->LabelWidget(kBeforeMatch)->isVisible());

  ASSERT_TRUE(w->ChooseAndAnalyse(teams_[0], teams_[2], 1, 0));
  Settle();
  EXPECT_EQ(w->height(), 488);
  EXPECT_EQ(w->windowTitle(), "  LIVE tip .: Arsenal - Chelsea :.");
  EXPECT_TRUE(w->LabelWidget(kBeforeMatch)->isVisible());
  EXPECT_EQ(w->LabelWidget(kAfterHalfTime)->text(), "Tip after halftime 1:0");
  EXPECT_TRUE(w->LabelWidget(kLiveTipLine)->text().endsWith("%:  75 - 25 - 0"));
  QDoubleSpinBox* first = w->OddsEntry(0);
  ASSERT_TRUE(first->isEnabled());
  EXPECT_EQ(first->minimum(), 1.00);
  EXPECT_EQ(first->maximum(), 99.99);
  EXPECT_EQ(first->singleStep(), 0.01);
  QLabel* d1 = w->LabelWidget(kFirstLiveDifference);
  EXPECT_EQ(d1->text(), "-25");
  EXPECT_EQ(d1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  first->setValue(1.25);  // 75 - 80
  Settle();
  EXPECT_EQ(d1->text(), "-5");
  first->setValue(1.33);  // 75 - Round(75.19)
  Settle();
  EXPECT_EQ(d1->text(), "0");
  EXPECT_EQ(d1->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  first->setValue(2.00);
  Settle();
  EXPECT_EQ(d1->text(), "25");
  EXPECT_EQ(d1->palette().color(QPalette::WindowText), QColor(0, 128, 0));
  EXPECT_FALSE(test::SaveAndLoad(*s, "live-window.png").isNull());

  // A half-time score nobody had: no live tip, the entries are disabled.
  ASSERT_TRUE(w->ChooseAndAnalyse(teams_[0], teams_[2], 7, 7));
  Settle();
  EXPECT_EQ(w->LabelWidget(kLiveTipLine)->text(), "Tip cannot be calculated");
  EXPECT_FALSE(first->isEnabled());

  w->close();
  w->Finish();
  Settle();
  EXPECT_EQ(tabs->currentIndex(), 3);
}

// Odds typed key by key stay as typed (no reformatting after each key, which turned "2.35"
// into 2.30 or 2.00); Enter takes them and the difference follows.
TEST_F(LiveWindowUiTest, OddsAreTypedFreelyAndTakenOnEnter) {
  DesktopOptions o;
  o.league = kEngland;
  auto s = test::OpenSession(db_.db().Folder(), kEnglish, "live-typing.png", o);
  ASSERT_TRUE(s);
  s->ApplyStartChoices();
  Settle();
  s->window().findChild<QPushButton*>(QStringLiteral("Button10"))->click();
  Settle();
  LiveTipWindow* w = s->window().LiveWindow();
  ASSERT_TRUE(w->ChooseAndAnalyse(teams_[0], teams_[2], 1, 0));
  Settle();
  QDoubleSpinBox* first = w->OddsEntry(0);
  ASSERT_TRUE(first->isEnabled());
  QApplication::setActiveWindow(w);
  first->setFocus();
  first->selectAll();
  QTest::keyClicks(first, QStringLiteral("2.35"));
  Settle();
  EXPECT_EQ(first->text(), "2.35");
  EXPECT_EQ(w->LabelWidget(kFirstLiveDifference)->text(), "-25") << "nothing taken while typing";
  QTest::keyClick(first, Qt::Key_Return);
  Settle();
  EXPECT_DOUBLE_EQ(first->value(), 2.35);
  EXPECT_EQ(first->text(), "2.35");
  EXPECT_EQ(w->LabelWidget(kFirstLiveDifference)->text(), "32");  // 75 - Round(100 / 2.35)
  w->close();
  w->Finish();
}

}  // namespace
}  // namespace morvela
