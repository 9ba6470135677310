// The desktop program's start-up on the offscreen platform: the first start without a database
// (the demo database offered; the recording UI answers) and a database it must refuse.
#include <gtest/gtest.h>

#include <filesystem>

#include "builder/schema.h"
#include "core/database.h"
#include "fake_ui.h"
#include "test_support.h"
#include "ui_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;

// Yes builds the demo database under the wait box and start-up goes on with it; No shows the
// message and ends the program without creating anything.
TEST(DesktopStartupTest, FirstStartWithoutADatabaseOffersTheDemo) {
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    test::TempDir dir;
    test::FakeUi ui;
    ui.yes_answer = yes;
    NullWaitIndicator wait;
    Program program(ui, wait);
    DesktopOptions options;
    options.home = dir.Folder();
    options.today = MakeDate(2025, 10, 15);
    options.language = kEnglish;
    const StartupResult result = RunStartup(program, DesktopStartupOptions(options, program));

    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].kind, MessageKind::kConfirmation);
    EXPECT_EQ(ui.messages[0].text,
              "There is no database yet.\r\nCreate the demo database of invented clubs now?");
    if (yes) {
      EXPECT_EQ(result, StartupResult::kReady);
      EXPECT_EQ(ui.messages.size(), 1u) << ui.messages.back().text;
      EXPECT_GT(wait.Shows(), 0) << "the creation runs under the wait box";
      EXPECT_EQ(wait.Depth(), 0);
      Query q(program.dm.ADOConnection1);
      q.Open("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE DATUM<#10/15/2025#");
      EXPECT_GT(q.FieldByName("N").AsInteger(), 1000) << "the demo's played seasons";
      q.Open("SELECT COUNT(*) AS N FROM LIGA");
      EXPECT_EQ(q.FieldByName("N").AsInteger(), 20);
    } else {
      EXPECT_EQ(result, StartupResult::kEndProgram);
      ASSERT_EQ(ui.messages.size(), 2u);
      EXPECT_EQ(ui.messages[1].kind, MessageKind::kError);
      EXPECT_EQ(ui.messages[1].text.rfind("Unable to connect to the database !", 0), 0u);
      EXPECT_NE(ui.messages[1].text.find("Could not find file"), std::string::npos);
      EXPECT_FALSE(fs::exists(dir.Path() / "Morvela.mdb"));
    }
  }
}

// A database with only some of the program's tables ends the desktop program (its Start is
// false, which the event loop turns into exit status 1) instead of showing a window that
// fails at the first league.
TEST(DesktopStartupTest, PartialDatabaseEndsTheProgram) {
  test::TempDir dir;
  CreateEmptyDatabase(dir.Folder() + "Morvela.mdb", false);
  {
    Connection c;
    c.OpenFile(dir.Folder() + "Morvela.mdb", false);
    c.ExecuteNative("DROP TABLE KURZY; DROP TABLE TIPY");
  }
  DesktopOptions o;
  o.home = dir.Folder();
  o.today = MakeDate(2010, 6, 5);
  o.language = kEnglish;
  o.screenshot = test::ScreenshotPath("partial-database.png");
  DesktopSession session(o);
  EXPECT_FALSE(session.Start());
  EXPECT_FALSE(session.program().dm.ADOConnection1.IsOpen());
}

}  // namespace
}  // namespace morvela
