// The gallery's windows over a demo database of two leagues: in every language every label,
// button, tab, column title and chart axis title shows its whole text.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <memory>

#include "builder/demo_database.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"
#include "test_support.h"
#include "ui/gallery.h"
#include "ui/placement.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

const Date kToday = *MakeDate(2025, 10, 15);

class GalleryUiTest : public ::testing::Test {
 protected:
  // One demo database for the whole suite: building it is the slow part.
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::TempDir>();
    NullWaitIndicator wait;
    Messages messages;
    DemoOptions demo;
    demo.today = kToday;
    demo.leagues = {1, 4};
    CreateDemoDatabase(dir_->Folder() + "Morvela.mdb", demo, /*overwrite=*/false, wait, messages,
                       {});
  }
  static void TearDownTestSuite() { dir_.reset(); }

  static std::unique_ptr<test::TempDir> dir_;
};

std::unique_ptr<test::TempDir> GalleryUiTest::dir_;

TEST_F(GalleryUiTest, NoTextIsCutInAnyWindowOrLanguage) {
  for (int language : {kEnglish, kGerman, kSlovak, kItalian}) {
    SCOPED_TRACE(language);
    std::vector<std::string> names;
    std::string problem;
    ASSERT_TRUE(WalkGallery(
        dir_->Folder(), kToday, language,
        [&](const GalleryWindow& g) {
          names.push_back(g.name.toStdString());
          for (const std::string& line : CutTexts(*g.window))
            ADD_FAILURE() << g.name.toStdString() << ": " << line;
        },
        problem))
        << problem;
    // The walk reached the windows behind other windows, not only the first ones.
    for (const char* name : {"main", "tips_value", "match_ft", "match_uo", "live", "tables_elo",
                             "tables_goals", "results_editor", "settings_2", "update_odds"})
      EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  }
}

// With the main window pushed half off the bottom right corner of the screen (a small screen
// for windows centred on it), every other window still opens inside the screen, or at its top
// left when larger than the screen.
TEST_F(GalleryUiTest, WindowsOpenInsideTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget* main = nullptr;
  std::string problem;
  ASSERT_TRUE(WalkGallery(
      dir_->Folder(), kToday, kEnglish,
      [&](const GalleryWindow& g) {
        if (g.name == QLatin1String("main_start")) {
          main = g.window;
          main->move(screen.bottomRight() - QPoint(main->width(), main->height()) / 2);
          test::Settle();
          return;
        }
        // The main window stays where it was put; the X11 wait box places itself.
        if (g.name.startsWith(QLatin1String("main")) || g.name == QLatin1String("wait")) return;
        const QRect frame = g.window->frameGeometry();
        if (frame.width() <= screen.width() && frame.height() <= screen.height()) {
          EXPECT_TRUE(screen.contains(frame))
              << g.name.toStdString() << " at " << frame.x() << "," << frame.y() << " "
              << frame.width() << "x" << frame.height();
        } else {
          EXPECT_TRUE(screen.contains(frame.topLeft())) << g.name.toStdString();
        }
      },
      problem))
      << problem;
  ASSERT_TRUE(main);
}

// Where a list goes beside the main window: the side with room, else the least overlap.
TEST(PlacementTest, BesideTheMainWindowAndInsideTheScreen) {
  const QRect screen(0, 0, 1280, 800);
  struct Case {
    QRect main;
    QSize frame;
    QPoint expected;
  } cases[] = {
      {{0, 0, 600, 500}, {500, 400}, {600, 0}},         // room on the right
      {{680, 100, 600, 500}, {500, 400}, {180, 100}},   // room on the left only
      {{100, 0, 1000, 500}, {900, 300}, {100, 500}},    // below
      {{100, 300, 1000, 500}, {900, 700}, {380, 100}},  // no room: the least overlap
  };
  for (const Case& c : cases)
    EXPECT_EQ(BesideWindow(c.main, c.frame, screen), c.expected) << c.main.x() << "," << c.main.y();
  EXPECT_EQ(InsideScreen({900, 700}, {400, 300}, screen), QPoint(880, 500));
  EXPECT_EQ(InsideScreen({-20, 447}, {592, 572}, QRect(0, 0, 1920, 1000)), QPoint(0, 428));
  EXPECT_EQ(InsideScreen({50, 50}, {1400, 900}, screen), QPoint(0, 0)) << "too large: top left";
}

}  // namespace
}  // namespace morvela
