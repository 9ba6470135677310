// The league tables window on the offscreen platform, opened by the main window's "Tables" and
// "Form" buttons over a small fixture competition: the grid's texts, the painted zone and row
// colours, the side and rating buttons and the form-window list.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include "tables/tables_test_support.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

class LeagueTablesUiTest : public ::testing::Test {
 protected:
  LeagueTablesUiTest() : db_(6) {
    db_.db().conn().Execute("UPDATE SUTAZ SET LM=1,EL=2,BARAZ=5,VYP=6 WHERE ID=" +
                            std::to_string(db_.competition()));
    db_.Match("2010-05-01", 1, 2, 3, 0);
    db_.Match("2010-05-01", 3, 4, 1, 1);
    db_.Match("2010-05-02", 5, 6, 0, 2);
    db_.Match("2010-05-08", 2, 3, 2, 1);
  }

  std::unique_ptr<DesktopSession> Open(int result_mode, int button, const std::string& picture) {
    DesktopOptions o;
    o.league = 4;
    o.result_mode = test::ModeOf(result_mode);
    auto s = test::OpenSession(db_.db().Folder(), kEnglish, picture, o);
    if (!s) return nullptr;
    s->ApplyStartChoices();
    Settle();
    auto* b = s->window().findChild<QPushButton*>(QStringLiteral("Button%1").arg(button));
    if (!b || !b->isEnabled()) return nullptr;
    b->click();
    Settle();
    return s;
  }

  static std::string Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString().toStdString();
  }

  // The colour painted in the middle of a cell's left part.
  static QColor Painted(const QImage& image, QWidget* window, QTableView* grid, int row,
                        int column) {
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    const QPoint p = grid->viewport()->mapTo(window, QPoint(r.left() + 3, r.center().y()));
    return image.pixelColor(p);
  }

  test::TablesDb db_;
};

TEST_F(LeagueTablesUiTest, StandingsWithZonesAndTheSideButtons) {
  auto s = Open(0, kTablesButton, "league-tables-standings.png");
  ASSERT_TRUE(s);
  LeagueTablesWindow* w = s->window().TablesWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->isVisible());
  EXPECT_EQ(s->TopWindow(), w);
  EXPECT_EQ(w->windowTitle().toStdString(), "  Tables :: FULL TIME");
  QTableView* grid = w->Grid();
  ASSERT_EQ(grid->model()->rowCount(), 7);
  EXPECT_EQ(Cell(grid, 0, 1), "TEAM");
  // T1 3 points (3:0), T6 3 (2:0), T2 3 (0:3, 2:1), T3 and T4 1, T5 0.
  EXPECT_EQ(Cell(grid, 1, 1), "T1");
  EXPECT_EQ(Cell(grid, 1, 7), "3");
  EXPECT_EQ(Cell(grid, 6, 1), "T5");

  const QImage image = test::SaveAndLoad(*s, "league-tables-standings.png");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(Painted(image, w, grid, 0, 1), QColor(255, 255, 0));    // header row
  EXPECT_EQ(Painted(image, w, grid, 1, 0), QColor(192, 224, 144));  // top zone
  EXPECT_EQ(Painted(image, w, grid, 2, 0), QColor(200, 224, 255));
  EXPECT_EQ(Painted(image, w, grid, 3, 0), QColor(255, 255, 255));
  EXPECT_EQ(Painted(image, w, grid, 4, 0), QColor(215, 215, 215));
  EXPECT_EQ(Painted(image, w, grid, 5, 0), QColor(255, 200, 200));
  EXPECT_EQ(Painted(image, w, grid, 6, 0), QColor(255, 112, 96));
  EXPECT_EQ(Painted(image, w, grid, 4, 1), QColor(215, 215, 215));

  // Away: no zones, the header line follows.
  w->Button(2)->click();
  Settle();
  EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("Label1"))->text().toStdString(),
            "Away :: FULL TIME  ");
  EXPECT_EQ(Cell(grid, 1, 1), "T6");
  const QImage away = test::SaveAndLoad(*s, "league-tables-away.png");
  EXPECT_EQ(Painted(away, w, grid, 1, 0), QColor(255, 255, 255));

  // ELO: three columns.
  w->Button(4)->click();
  Settle();
  EXPECT_EQ(grid->model()->columnCount(), 3);
  EXPECT_EQ(Cell(grid, 0, 2), "POINTS");
  EXPECT_FALSE(w->FormList()->isVisible());
  w->done(0);
}

TEST_F(LeagueTablesUiTest, FormWindowListAppliesAtTheNextSideButton) {
  auto s = Open(0, kFormButton, "league-tables-form.png");
  ASSERT_TRUE(s);
  LeagueTablesWindow* w = s->window().TablesWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString(), "  Form :: FULL TIME");
  EXPECT_TRUE(w->FormList()->isVisible());
  EXPECT_EQ(w->FormList()->currentText().toStdString(), "Last 4 matches");
  EXPECT_FALSE(w->Button(4)->isVisible());
  w->FormList()->setCurrentIndex(0);
  emit w->FormList()->activated(0);
  EXPECT_EQ(w->Model().FormWindow(), 2);
  w->Button(3)->click();
  Settle();
  EXPECT_EQ(w->Grid()->model()->columnCount(), 3);
  EXPECT_EQ(Cell(w->Grid(), 0, 2), "FORM");
  w->done(0);
}

TEST_F(LeagueTablesUiTest, UnderOverModeOpensTheGoalTable) {
  auto s = Open(3, kTablesButton, "league-tables-goals.png");
  ASSERT_TRUE(s);
  LeagueTablesWindow* w = s->window().TablesWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString(), "  UNDER / OVER");
  EXPECT_EQ(w->Grid()->model()->columnCount(), 13);
  // T2's two matches (0:3, 2:1) both had 3 goals: 100 % and 6 goals, above T1's one 3:0.
  EXPECT_EQ(Cell(w->Grid(), 1, 1), "T2");
  EXPECT_EQ(Cell(w->Grid(), 1, 3), "100 %");
  EXPECT_EQ(Cell(w->Grid(), 1, 12), "6");
  w->done(0);
}

}  // namespace
}  // namespace morvela
