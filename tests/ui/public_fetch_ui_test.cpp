// The Update button of a program folder without an update server offers the public results
// site; accepted, the fetch runs on a worker thread while the window goes on, and the summary
// reaches the user once the database holds the fetched matches.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <QToolButton>

#include <condition_variable>
#include <mutex>

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

int64_t Count(Connection& conn, const std::string& sql) {
  Query q(conn);
  q.Open(sql);
  return q.FieldByName("N").AsInteger();
}

TEST(DesktopPublicFetchTest, UpdateWithoutAServerFetchesBesideTheWindow) {
  test::MirrorServer mirror;
  for (const auto& [path, body] : test::SmallMirror()) mirror.Serve(path, body);
  // The fixture list is held at the server until the window thread has counted a few ticks of
  // its timer: only a fetch off the window thread lets them come.
  std::mutex mutex;
  std::condition_variable release;
  bool held = false, released = false;
  mirror.BeforeAnswer([&](const std::string& path) {
    if (path != "fixtures.csv") return;
    std::unique_lock<std::mutex> lock(mutex);
    held = true;
    release.wait_for(lock, std::chrono::seconds(5), [&] { return released; });
  });

  test::TempDir dir;
  test::MakeDatabase(dir.Path() / "Morvela.mdb", "01.03.2025", 1, "Old");
  {
    IniFile ini(dir.Folder() + "Nastavenie.ini");
    ini.WriteString("Source", "Url", mirror.Url());
    ini.Save();
  }
  test::FakeUi ui;
  ui.yes_answer = true;
  DesktopOptions o;
  o.ui = &ui;
  o.today = MakeDate(2025, 3, 10);
  auto session = test::OpenSession(dir.Folder(), kEnglish, "public-fetch.png", o);
  ASSERT_TRUE(session);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;

  auto* update = session->window().findChild<QToolButton*>(QStringLiteral("TBUpdate"));
  ASSERT_NE(update, nullptr);
  update->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::kConfirmation);
  EXPECT_EQ(ui.messages[0].text.rfind("No update server is set. Fetch the current results", 0), 0u)
      << ui.messages[0].text;
  BackgroundCheck* check = session->window().UpdateCheck();
  ASSERT_NE(check, nullptr);
  ASSERT_TRUE(check->Running());

  QEventLoop loop;
  QObject::connect(check, &BackgroundCheck::Finished, &loop, &QEventLoop::quit);
  int ticks_while_held = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    std::lock_guard<std::mutex> lock(mutex);
    if (!held || released) return;
    if (++ticks_while_held == 3) {
      released = true;
      release.notify_all();
    }
  });
  timer.start(20);
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);  // a fetch that never ends fails below
  loop.exec();
  timer.stop();

  EXPECT_EQ(ticks_while_held, 3) << "the window's timer ran while the fetch waited for the server";
  EXPECT_FALSE(check->Running());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].kind, MessageKind::kInformation);
  EXPECT_EQ(ui.messages[1].text.rfind("Files: 6 new, 0 changed, 0 unchanged.\r\nMatches: 10 "
                                      "added, 0 updated; 2 fixtures.",
                                      0),
            0u)
      << ui.messages[1].text;
  // The window's own connection sees what the worker's wrote: the played matches, and the
  // fixtures of England and Austria with their odds.
  Connection& conn = session->program().dm.ADOConnection1;
  EXPECT_EQ(Count(conn, "SELECT COUNT(*) AS N FROM VYSLEDKY WHERE VYSLEDOK IS NOT NULL"), 8);
  EXPECT_EQ(Count(conn,
                  "SELECT COUNT(*) AS N FROM VYSLEDKY INNER JOIN KURZY ON KURZY.ID=VYSLEDKY.ID "
                  "WHERE VYSLEDOK IS NULL AND KURZ1 IS NOT NULL"),
            2);
}

}  // namespace
}  // namespace morvela
