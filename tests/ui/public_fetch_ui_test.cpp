// The Update button of a program folder without an update server offers the public results
// site; accepted, the fetch runs on a worker thread while the window goes on, and the summary
// reaches the user once the database holds the fetched matches. Cancel ends it with nothing
// imported.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/database.h"
#include "core/ini_file.h"
#include "fake_ui.h"
#include "test_support.h"
#include "ui/background_check.h"
#include "ui_test_support.h"
#include "update/fetch_mirror.h"
#include "update/update_test_support.h"

namespace morvela {
namespace {

class DesktopPublicFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [path, body] : test::SmallMirror()) mirror_.Serve(path, body);
    // The fixture list is held at the server until the test releases it.
    mirror_.BeforeAnswer([this](const std::string& path) {
      if (path != "fixtures.csv") return;
      std::unique_lock<std::mutex> lock(mutex_);
      held_ = true;
      release_.wait_for(lock, std::chrono::seconds(5), [this] { return released_; });
    });
    test::MakeDatabase(dir_.Path() / "Morvela.mdb", "01.03.2025", 1, "Old");
    IniFile ini(dir_.Folder() + "Nastavenie.ini");
    ini.WriteString("Source", "Url", mirror_.Url());
    ini.Save();
    ui_.yes_answer = true;
    DesktopOptions o;
    o.ui = &ui_;
    o.today = MakeDate(2025, 3, 10);
    session_ = test::OpenSession(dir_.Folder(), kEnglish, "public-fetch.png", o);
    ASSERT_TRUE(session_);
    ASSERT_TRUE(ui_.messages.empty()) << ui_.messages[0].text;
  }
  void TearDown() override { Release(); }

  // Presses Update and returns the fetch's check, which is running.
  BackgroundCheck* PressUpdate() {
    session_->window().findChild<QToolButton*>(QStringLiteral("TBUpdate"))->click();
    EXPECT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages.at(0).kind, MessageKind::kConfirmation);
    EXPECT_EQ(ui_.messages.at(0).text.rfind("No update server is set. Fetch the current", 0), 0u)
        << ui_.messages.at(0).text;
    BackgroundCheck* check = session_->window().UpdateCheck();
    EXPECT_TRUE(check && check->Running());
    return check;
  }
  // Runs the window's event loop until `check` finishes, calling `tick` every 20 ms with
  // whether the fixture list is held at the server meanwhile.
  void RunUntilFinished(BackgroundCheck* check, const std::function<void(bool held)>& tick) {
    QEventLoop loop;
    QObject::connect(check, &BackgroundCheck::Finished, &loop, &QEventLoop::quit);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      bool held = false;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        held = held_ && !released_;
      }
      tick(held);
    });
    timer.start(20);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);  // a fetch that never ends fails later
    if (check->Running()) loop.exec();
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    release_.notify_all();
  }
  int64_t Count(const std::string& sql) {
    Query q(session_->program().dm.ADOConnection1);
    q.Open(sql);
    return q.FieldByName("N").AsInteger();
  }

  std::mutex mutex_;
  std::condition_variable release_;
  bool held_ = false, released_ = false;
  // After what its hook uses: its threads end before those go.
  test::MirrorServer mirror_;
  test::TempDir dir_;
  test::FakeUi ui_;
  std::unique_ptr<DesktopSession> session_;
};

TEST_F(DesktopPublicFetchTest, UpdateWithoutAServerFetchesBesideTheWindow) {
  BackgroundCheck* check = PressUpdate();
  ASSERT_TRUE(check);
  // Only a fetch off the window thread lets the window's timer tick while the server holds it.
  int ticks_while_held = 0;
  std::string progress_while_held;
  RunUntilFinished(check, [&](bool held) {
    if (held && ++ticks_while_held == 3) {
      progress_while_held = check->ProgressLine()->text().toStdString();
      Release();
    }
  });
  EXPECT_EQ(ticks_while_held, 3) << "the window's timer ran while the fetch waited for the server";
  // The dialog says which file is coming, as the command line does.
  EXPECT_EQ(progress_while_held.rfind("Fetching ", 0), 0u) << progress_while_held;
  EXPECT_NE(progress_while_held.find(": fixtures.csv"), std::string::npos) << progress_while_held;
  EXPECT_FALSE(check->Running());
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[1].kind, MessageKind::kInformation);
  EXPECT_EQ(ui_.messages[1].text.rfind("Files: 6 new, 0 changed, 0 unchanged.\r\nMatches: 10 "
                                       "added, 0 updated; 2 fixtures.",
                                       0),
            0u)
      << ui_.messages[1].text;
  // The window's own connection sees what the worker's wrote: the played matches, and the
  // fixtures of England and Austria with their odds.
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL"), 8);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM VYSLEDKY INNER JOIN KURZY ON KURZY.ID=VYSLEDKY.ID "
                  "WHERE VYSLEDOK IS NULL AND KURZ1 IS NOT NULL"),
            2);
}

// Cancel while a file is still coming ends the fetch: what came before is not imported behind
// the user's back, and the worker is done at once.
TEST_F(DesktopPublicFetchTest, CancelEndsTheFetchWithNothingImported) {
  BackgroundCheck* check = PressUpdate();
  ASSERT_TRUE(check);
  RunUntilFinished(check, [&](bool held) {
    if (held && check->Running()) check->CancelButton()->click();
  });
  ASSERT_FALSE(check->Running());
  const auto cancelled = std::chrono::steady_clock::now();
  while (!check->WorkerEnded() &&
         std::chrono::steady_clock::now() - cancelled < std::chrono::seconds(3))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(check->WorkerEnded());
  EXPECT_EQ(ui_.messages.size(), 1u) << "no summary after a cancel";
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM VYSLEDKY"), 0);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM FETCHED_FILES"), 0) << "the next fetch gets all";
}

}  // namespace
}  // namespace morvela
