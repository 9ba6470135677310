// The main window's "Update" button: an install takes the window back to its no-league state,
// since the new database may number its seasons differently; a failed one leaves it as it was.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "main_window/main_window_model.h"
#include "program/program.h"
#include "test_support.h"
#include "update/update_test_support.h"

namespace morvela {
namespace {

TEST(UpdateButtonTest, AnInstallClearsTheLoadedSeason) {
  test::TempDir home, work;
  test::TestServer server;
  test::MakeDatabase(home.Path() / "Morvela.mdb", "01.06.2010", 3, "Old");
  test::MakeDatabase(work.Path() / "new.mdb", "02.06.2010", 4, "New");
  test::WriteUpdateSettings(home.Folder(), server.Url());
  server.Serve(kDateCheckPath, EncipherText("02.06.2010"));
  test::FakeUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  StartupOptions o;
  o.folder = home.Folder();
  o.today = MakeDate(2010, 6, 5);
  ASSERT_EQ(RunStartup(p, o), StartupResult::kReady);
  TForm1 form(p);
  for (const bool served : {false, true}) {
    SCOPED_TRACE(served);
    server.Serve(kResultsPackagePath,
                 served ? test::Compress(test::ReadBytes(work.Path() / "new.mdb")) : "",
                 served ? 200 : 404);
    p.selection.league = "4";
    p.selection.competition = "17";
    EXPECT_EQ(form.TBUpdateClick(), served ? UpdateOutcome::kInstalled : UpdateOutcome::kFailed);
    EXPECT_EQ(p.selection.league, served ? "" : "4");
    EXPECT_EQ(p.selection.competition, served ? "" : "17");
  }
  EXPECT_EQ(form.Status(), "Select a League");
  EXPECT_FALSE(form.Function(kTablesButton).enabled);
}

}  // namespace
}  // namespace morvela
