// The tips list window on the offscreen platform after a week run on a small fixture
// database: caption, columns, rows, flags, sorting by a title click, the hand-over of a row and
// the export key.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

#include <filesystem>

#include "tips/tips_test_support.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

using test::Settle;

// Four fixtures of the week from Saturday 5 June 2010 in Austria, England, Germany and Italy,
// with their stored under percentages for the under/over list.
class TipsListUiTest : public ::testing::Test {
 protected:
  TipsListUiTest() : db_("2010-06-05") {
    db_.Fixture(4, "2010-06-05", 1100, test::k70Home, "Arsenal", 62);
    const int rapid = db_.Fixture(1, "2010-06-06", 2100, test::k90HomeDraw, "Rapid", 35);
    db_.Fixture(6, "2010-06-06", 3100, test::k80Home, "Bayern", 48);
    db_.Fixture(7, "2010-06-07", 4100, test::k60Home, "Roma", 70);
    db_.Odds(rapid, {{"KURZ1X", "1.2"}, {"UNDER", "1.9"}});
  }

  std::unique_ptr<DesktopSession> RunWeek(int result_mode, const std::string& picture) {
    DesktopOptions o;
    o.tip_button = kTipsForTheWeekButton;
    o.result_mode = test::ModeOf(result_mode);
    auto s = test::OpenSession(db_.db().Folder(), kEnglish, picture, o);
    if (!s) return nullptr;
    s->ApplyStartChoices();
    Settle();
    return s;
  }

  static QStringList Headers(QTableView* grid) {
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
      titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
  }
  static std::string Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString().toStdString();
  }

  test::TipsDb db_;
};

TEST_F(TipsListUiTest, WeekListAfterTheRun) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  TipsListWindow* w = s->window().TipsWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(s->TopWindow(), w) << "the list stands above the main window";
  EXPECT_EQ(w->windowTitle().toStdString(),
            "  Tips for the week :: FULL TIME :: 05.06.2010 <-> 07.06.2010");
  QTableView* grid = w->Grid();
  EXPECT_EQ(Headers(grid), (QStringList{"DATE", "LEAGUE", "HOME", "GUEST", "%1", "%0", "%2", "TIP",
                                        "%", "ODD", "DIF.%"}));
  ASSERT_EQ(grid->model()->rowCount(), 4);
  // Sorted by PERC descending, then TIP ascending: " 10" 90, "  1" 80, "  1" 70, "  1" 60.
  EXPECT_EQ(Cell(grid, 0, 2), "Rapid H");
  EXPECT_EQ(Cell(grid, 0, 7), " 10");
  EXPECT_EQ(Cell(grid, 0, 8), "90");
  EXPECT_EQ(Cell(grid, 0, 9), "1,20") << "odds with two decimals";
  EXPECT_EQ(Cell(grid, 1, 2), "Bayern H");
  EXPECT_EQ(Cell(grid, 1, 9), " ") << "no odds: a blank cell";
  EXPECT_EQ(Cell(grid, 3, 2), "Roma H");
  EXPECT_EQ(grid->model()->index(0, 8).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), 8);
  EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_GE(grid->columnWidth(0), 65) << "the design widths at least";

  const QImage shot = test::SaveAndLoad(*s, "tips-week.png");
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), w->size() * w->devicePixelRatio());
}

TEST_F(TipsListUiTest, LeagueCellShowsTheFlagLeftOfTheName) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  QTableView* grid = s->window().TipsWindow()->Grid();
  const QImage cells = grid->viewport()->grab().toImage();
  const qreal ratio = grid->viewport()->devicePixelRatio();
  // Row 0 is Austria (red, white, red) and row 1 Germany (black, red, gold); the flag stands 2
  // pixels inside the cell's height (clear of the grid lines) in its 3:2 proportion.
  struct Case {
    int row;
    qreal down;  // how far down the flag, as a share of its height
    QColor colour;
  };
  const Case cases[] = {
      {0, 0.15, QColor(200, 16, 46)}, {0, 0.5, QColor(255, 255, 255)}, {1, 0.15, QColor(0, 0, 0)},
      {1, 0.5, QColor(221, 0, 0)},    {1, 0.85, QColor(255, 206, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    const QRect cell = grid->visualRect(grid->model()->index(c.row, 1));
    const int flag_height = cell.height() - 4;
    const QPoint at(cell.left() + 2 + flag_height * 3 / 4,
                    cell.top() + 2 + static_cast<int>(flag_height * c.down));
    const QColor seen = cells.pixelColor(at * ratio);
    EXPECT_NEAR(seen.red(), c.colour.red(), 12);
    EXPECT_NEAR(seen.green(), c.colour.green(), 12);
    EXPECT_NEAR(seen.blue(), c.colour.blue(), 12);
  }
  EXPECT_EQ(Cell(grid, 0, 1), "  Austria") << "the name keeps the room left for the flag";
}

TEST_F(TipsListUiTest, TitleClicksSortThroughTheModel) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  TipsListWindow* w = s->window().TipsWindow();
  QTableView* grid = w->Grid();
  QHeaderView* header = grid->horizontalHeader();
  struct Case {
    int column;
    std::string sort_column, direction;
    Qt::SortOrder indicator;
    std::string first_home;
  };
  const Case cases[] = {
      {2, "HOME", "ASC", Qt::AscendingOrder, "Arsenal H"},
      {2, "HOME", "DESC", Qt::DescendingOrder, "Roma H"},
      {1, "ID_LIGA", "ASC", Qt::AscendingOrder, "Rapid H"},   // Austria first in English
      {1, "ID_LIGA", "DESC", Qt::DescendingOrder, "Roma H"},  // Italy last of the four
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sort_column + " " + c.direction);
    emit header->sectionClicked(c.column);
    Settle();
    EXPECT_EQ(w->List().Sort().SortColumn, c.sort_column);
    EXPECT_EQ(w->List().Sort().SortDirection, c.direction);
    EXPECT_EQ(header->sortIndicatorSection(), c.column);
    EXPECT_EQ(header->sortIndicatorOrder(), c.indicator);
    EXPECT_EQ(Cell(grid, 0, 2), c.first_home);
    EXPECT_EQ(grid->model()->rowCount(), 4);
  }
}

TEST_F(TipsListUiTest, DoubleClickHandsTheRowOverAndRestoresTheSelection) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  s->window().findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
  const Selection before = s->program().selection;
  QTableView* grid = s->window().TipsWindow()->Grid();
  emit grid->doubleClicked(grid->model()->index(0, 2));
  Settle();
  EXPECT_TRUE(s->program().WindowRaised);
  EXPECT_EQ(s->program().selection.league, before.league);
  EXPECT_EQ(s->program().selection.competition, before.competition);
}

TEST_F(TipsListUiTest, EnterOpensTheSelectedRowsMatch) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  QTableView* grid = s->window().TipsWindow()->Grid();
  grid->selectRow(1);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(grid, &enter);
  Settle();
  // The fixture's second row (Bayern) goes to the match window, which opens over the list.
  EXPECT_TRUE(s->window().MatchWindow()->isVisible());
  EXPECT_TRUE(s->program().WindowRaised);
  EXPECT_EQ(s->window().TipsWindow()->List().CurrentRow(), 1);
  EXPECT_TRUE(s->window().TipsWindow()->isVisible()) << "Enter is not the dialog's default";
}

TEST_F(TipsListUiTest, CtrlEOffersTheExportAndACancelWritesNothing) {
  auto s = RunWeek(0, "tips-week.png");
  ASSERT_TRUE(s);
  QTableView* grid = s->window().TipsWindow()->Grid();
  QKeyEvent plain(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier);
  QKeyEvent ctrl_e(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier);
  QCoreApplication::sendEvent(grid, &plain);
  QCoreApplication::sendEvent(grid, &ctrl_e);
  const std::filesystem::path export_dir = s->program().ExportFolder();
  ASSERT_TRUE(std::filesystem::is_directory(export_dir));
  EXPECT_TRUE(std::filesystem::is_empty(export_dir)) << "the run without a user cancels";
  EXPECT_EQ(grid->model()->rowCount(), 4) << "the list stays";
}

TEST_F(TipsListUiTest, UnderOverListColumns) {
  auto s = RunWeek(3, "tips-week-uo.png");
  ASSERT_TRUE(s);
  TipsListWindow* w = s->window().TipsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString(),
            "  Tips for the week :: UNDER / OVER :: 05.06.2010 <-> 07.06.2010");
  QTableView* grid = w->Grid();
  EXPECT_EQ(Headers(grid), (QStringList{"DATE", "LEAGUE", "HOME", "GUEST", "<2,5", ">2,5", "TIP",
                                        "ODD", "DIF.%"}));
  ASSERT_GT(grid->model()->rowCount(), 0);
  EXPECT_TRUE(QString::fromStdString(Cell(grid, 0, 4)).endsWith(QLatin1Char('%')));
  EXPECT_EQ(grid->model()->index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHCenter,
            Qt::AlignHCenter);
  ASSERT_FALSE(test::SaveAndLoad(*s, "tips-week-uo.png").isNull());
}

// The header's context menu switches the columns on; the settings file keeps the choice, so
// the next list (here a new session on the same folder) shows them from the start.
TEST_F(TipsListUiTest, SecondOpinionColumnsSwitchFromTheHeaderAndStaySwitched) {
  {
    auto s = RunWeek(0, "tips-week-second-opinion.png");
    ASSERT_TRUE(s);
    TipsListWindow* w = s->window().TipsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Grid()->model()->columnCount(), 11);
    ASSERT_TRUE(w->Grid()->horizontalHeader()->actions().contains(w->SecondOpinionAction()));
    EXPECT_FALSE(w->SecondOpinionAction()->isChecked());
    w->SecondOpinionAction()->trigger();
    EXPECT_EQ(Headers(w->Grid()).mid(11), (QStringList{"Model %", "Market %"}));
  }
  auto s = RunWeek(0, "tips-week-second-opinion-again.png");
  ASSERT_TRUE(s);
  TipsListWindow* w = s->window().TipsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->SecondOpinionAction()->isChecked());
  EXPECT_EQ(Headers(w->Grid()).mid(11), (QStringList{"Model %", "Market %"}));
}

}  // namespace
}  // namespace morvela
