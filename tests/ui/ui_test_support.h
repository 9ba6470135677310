// What the desktop program's smoke tests share: a session over a fixture folder that never
// waits for the user, letting the window system catch up, and where pictures go.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/date.h"
#include "ui/desktop_session.h"

namespace morvela::test {

// Lets the window system lay out and paint what the last steps changed.
inline void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// The file a smoke test saves its picture to, under the build folder.
inline QString ScreenshotPath(const std::string& name) {
  const std::filesystem::path dir = MORVELA_SCREENSHOT_DIR;
  std::filesystem::create_directories(dir);
  return QString::fromStdString((dir / name).string());
}

// A session over the program folder `home` on 5 June 2010 (or o.today) with its main window on
// screen.
// Its screenshot option makes it a run without the user: messages go to stderr and the tips
// list stays open without waiting.
inline std::unique_ptr<DesktopSession> OpenSession(const std::string& home, int language,
                                                   const std::string& picture,
                                                   DesktopOptions o = {}) {
  o.home = home;
  if (!o.today) o.today = MakeDate(2010, 6, 5);
  o.language = language;
  o.screenshot = ScreenshotPath(picture);
  auto session = std::make_unique<DesktopSession>(o);
  if (!session->Start()) return nullptr;
  session->window().show();
  Settle();
  return session;
}

// Saves the session's top window and reads the file back.
inline QImage SaveAndLoad(const DesktopSession& session, const std::string& picture) {
  const QString path = ScreenshotPath(picture);
  if (!session.SaveScreenshot(path)) return {};
  return QImage(path);
}

// The league buttons' captions as they stand on screen: top to bottom, left to right.
inline std::vector<std::string> LeagueCaptionsOnScreen(QWidget* window) {
  std::vector<QPushButton*> buttons;
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->objectName().startsWith(QLatin1String("BitBtn")) &&
        b->objectName() != QLatin1String("BitBtn13"))
      buttons.push_back(b);
  }
  std::sort(buttons.begin(), buttons.end(), [window](QPushButton* a, QPushButton* b) {
    const QPoint pa = a->mapTo(window, QPoint()), pb = b->mapTo(window, QPoint());
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  std::vector<std::string> captions;
  for (QPushButton* b : buttons) captions.push_back(b->text().toStdString());
  return captions;
}

}  // namespace morvela::test
