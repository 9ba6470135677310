// The results browser and the result editor on the offscreen platform, opened by the main
// window's "Results" over a small fixture season: the grid's rows and painted colours, a title
// click that reorders, a double click that edits through the editor dialog, the search mode,
// and a history list opened from the match tip window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableView>

#include "tables/tables_test_support.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

class ResultsWindowUiTest : public ::testing::Test {
 protected:
  ResultsWindowUiTest() : db_(3) {
    db_.Match("2010-05-01", 2, 1, 3, 0);
    db_.Match("2010-05-08", 1, 3, 1, 1, false, /*neratat=*/true, 0, 1);
    db_.Match("2010-05-15", 3, 2, 0, 2);
    db_.Match("2010-05-22", 1, 2, 2, 1);
  }

  std::unique_ptr<DesktopSession> Open(const std::string& picture) {
    DesktopOptions o;
    o.league = 4;
    auto s = test::OpenSession(db_.db().Folder(), kEnglish, picture, o);
    if (!s) return nullptr;
    s->ApplyStartChoices();
    Settle();
    return s;
  }

  static bool Press(QWidget& window, int button) {
    auto* b = window.findChild<QPushButton*>(QStringLiteral("Button%1").arg(button));
    if (!b || !b->isEnabled()) return false;
    b->click();
    Settle();
    return true;
  }

  static std::string Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString().toStdString();
  }

  static std::vector<std::string> Column(QTableView* grid, int column) {
    std::vector<std::string> v;
    for (int r = 0; r < grid->model()->rowCount(); ++r) v.push_back(Cell(grid, r, column));
    return v;
  }

  static QColor Painted(const QImage& image, QWidget* window, QTableView* grid, int row) {
    const QRect r = grid->visualRect(grid->model()->index(row, 1));
    const QPoint p = grid->viewport()->mapTo(window, QPoint(r.left() + 2, r.center().y()));
    return image.pixelColor(p);
  }

  test::TablesDb db_;
};

TEST_F(ResultsWindowUiTest, BrowserRowsColoursSortingAndEditing) {
  auto s = Open("results-browser.png");
  ASSERT_TRUE(s);
  ASSERT_TRUE(Press(s->window(), kResultsButton));
  ResultsBrowserWindow* w = s->window().ResultsWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->isVisible());
  EXPECT_EQ(s->TopWindow(), w);
  EXPECT_EQ(w->windowTitle().toStdString(), "  Results");
  QTableView* grid = w->Grid();
  ASSERT_EQ(grid->model()->rowCount(), 4);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"T2", "T1", "T3", "T1"}));
  EXPECT_EQ(Cell(grid, 1, 3), "1 : 1   (0 : 1)");
  // Today is 5 June 2010: the latest match is the nearest, and it is the selected row.
  EXPECT_EQ(grid->currentIndex().row(), 3);

  const QImage image = test::SaveAndLoad(*s, "results-browser.png");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(Painted(image, w, grid, 1), QColor(255, 189, 191)) << "the match that does not count";
  EXPECT_EQ(Painted(image, w, grid, 3), QColor(0, 0, 128)) << "the selected row";
  EXPECT_NE(Painted(image, w, grid, 0), QColor(255, 189, 191));

  // A click on the HOME title sorts by the home team's id, then by date; again: descending.
  emit grid->horizontalHeader()->sectionClicked(1);
  Settle();
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"T1", "T1", "T2", "T3"}));
  EXPECT_EQ(Cell(grid, grid->currentIndex().row(), 0), "22.05.2010") << "the same match stays";
  emit grid->horizontalHeader()->sectionClicked(1);
  Settle();
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"T3", "T2", "T1", "T1"}));
  // The score title sorts nothing.
  emit grid->horizontalHeader()->sectionClicked(3);
  Settle();
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"T3", "T2", "T1", "T1"}));

  // A double click edits its row: the dialog opens in edit mode with the row's fields.
  std::string title, home, away;
  int goals = -1;
  w->SetEditorDriver([&](ResultEditorDialog& e) {
    title = e.windowTitle().toStdString();
    home = e.HomeList()->currentText().toStdString();
    away = e.AwayList()->currentText().toStdString();
    goals = e.GoalField(0)->value();
    e.show();
    Settle();
    EXPECT_TRUE(e.grab().save(test::ScreenshotPath("results-editor.png"), "PNG"));
    e.GoalField(0)->setValue(4);
    e.OkButton()->click();
  });
  emit grid->doubleClicked(grid->model()->index(0, 1));
  Settle();
  EXPECT_EQ(title, "  Edit result");
  EXPECT_EQ(home + " - " + away, "T3 - T2");
  EXPECT_EQ(goals, 0);
  EXPECT_EQ(Cell(grid, grid->currentIndex().row(), 3), "4 : 2   (0 : 2)");

  // Search: only the teams are asked; the list is replaced and the buttons count.
  bool date_visible = true;
  w->SetEditorDriver([&](ResultEditorDialog& e) {
    date_visible = e.DateField()->isVisibleTo(&e);
    title = e.windowTitle().toStdString();
    e.HomeList()->setCurrentIndex(e.HomeList()->findText(QStringLiteral("T1")));
    e.AwayList()->setCurrentIndex(e.AwayList()->findText(QStringLiteral("T2")));
    e.CheckBox()->setChecked(true);
    e.OkButton()->click();
  });
  ASSERT_TRUE(Press(*w, 4));
  EXPECT_EQ(title, "  Search result");
  EXPECT_FALSE(date_visible);
  EXPECT_EQ(grid->model()->rowCount(), 2);
  EXPECT_FALSE(w->Button(1)->isEnabled());
  EXPECT_EQ(w->Button(1)->text().toStdString(), "Wins: 1");
  EXPECT_EQ(w->Button(3)->text().toStdString(), "Losses: 1");
  EXPECT_EQ(w->windowTitle().toStdString(), "  Results .: T1 - T2 :.");
}

TEST_F(ResultsWindowUiTest, TheMatchWindowShowsItsHeadToHeadInTheBrowser) {
  auto s = Open("results-history.png");
  ASSERT_TRUE(s);
  ASSERT_TRUE(Press(s->window(), kSearchForTipButton));
  MatchTipWindow* m = s->window().MatchWindow();
  ASSERT_TRUE(m->ChooseAndAnalyse(db_.Team(1), db_.Team(2)));
  Settle();
  auto* show = m->findChild<QPushButton*>(QStringLiteral("ShowMatches"));
  ASSERT_TRUE(show && show->isVisible());
  show->click();
  Settle();
  ResultsBrowserWindow* w = m->ResultsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(s->TopWindow(), w);
  EXPECT_EQ(w->windowTitle().toStdString(), "  FULL TIME :: Results .: T1 - T2 :.");
  ASSERT_EQ(w->Grid()->model()->rowCount(), 1);
  EXPECT_EQ(Cell(w->Grid(), 0, 3), "2 : 1   (2 : 1)");
  EXPECT_EQ(w->Button(1)->text().toStdString(), "Wins: 1");
  EXPECT_FALSE(w->Button(2)->isEnabled());
  EXPECT_TRUE(w->Button(4)->isEnabled()) << "the search stays available";
}

}  // namespace
}  // namespace morvela
