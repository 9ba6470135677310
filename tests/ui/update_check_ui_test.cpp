// The desktop's update checks ask the server on a worker thread: the window's event loop goes
// on while a server that never answers is asked, and Cancel ends the request at once.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <thread>

#include "test_support.h"
#include "ui/background_check.h"
#include "ui_test_support.h"
#include "update/update_test_support.h"

namespace morvela {
namespace {

// Runs the event loop for `ms` milliseconds and counts the ticks of a 50 ms timer meanwhile.
int TicksWhileRunning(int ms) {
  QEventLoop loop;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(50);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return ticks;
}

TEST(DesktopUpdateCheckTest, StartupCheckRunsBesideTheWindowAndCancelEndsIt) {
  test::SilentServer silent;
  test::TempDir dir;
  test::MakeDatabase(dir.Path() / "Morvela.mdb", "01.06.2010", 3, "Old");
  test::WriteUpdateSettings(dir.Folder(), silent.Url(), /*dbf=*/0, /*app=*/0);
  auto session = test::OpenSession(dir.Folder(), kEnglish, "update-check.png");
  ASSERT_TRUE(session);

  ASSERT_TRUE(session->StartUpdateChecks()) << "it returns at once, the server still silent";
  BackgroundCheck* check = session->window().UpdateCheck();
  ASSERT_NE(check, nullptr);
  EXPECT_GE(TicksWhileRunning(700), 8) << "the window's timers go on meanwhile";
  EXPECT_TRUE(check->Running());
  ASSERT_NE(check->Dialog(), nullptr);
  EXPECT_TRUE(check->Dialog()->isVisible());

  check->CancelButton()->click();
  EXPECT_FALSE(check->Running());
  EXPECT_FALSE(check->Dialog()->isVisible());
  const auto cancelled = std::chrono::steady_clock::now();
  while (!check->WorkerEnded() &&
         std::chrono::steady_clock::now() - cancelled < std::chrono::seconds(2))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(check->WorkerEnded());
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(1));
}

// A server that answers: the findings reach the window thread and the check ends by itself.
TEST(DesktopUpdateCheckTest, AnsweredCheckEndsByItself) {
  test::TestServer server;
  server.Serve(kVersionPath, "4.8\n");
  test::TempDir dir;
  test::MakeDatabase(dir.Path() / "Morvela.mdb", "01.06.2010", 3, "Old");
  test::WriteUpdateSettings(dir.Folder(), server.Url(), /*dbf=*/1, /*app=*/0);
  auto session = test::OpenSession(dir.Folder(), kEnglish, "update-check-answered.png");
  ASSERT_TRUE(session);
  ASSERT_TRUE(session->StartUpdateChecks());
  BackgroundCheck* check = session->window().UpdateCheck();
  ASSERT_NE(check, nullptr);
  for (int i = 0; i < 40 && check->Running(); ++i) TicksWhileRunning(50);
  EXPECT_FALSE(check->Running());
  EXPECT_EQ(server.Count(kVersionPath), 1);
}

}  // namespace
}  // namespace morvela
