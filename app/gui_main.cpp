// The desktop program: the main window and everything it opens.
#include <QApplication>

#include <cstdio>

#include "program/program.h"
#include "ui/desktop_session.h"
#include "ui/x11_wait_box.h"

int main(int argc, char** argv) {
  // The wait box draws from its own thread over Xlib; that needs thread support before any X
  // call, the toolkit's included.
  morvela::PrepareX11Threads();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QLatin1String(morvela::kProgramTitle));
  QApplication::setApplicationVersion(QLatin1String(morvela::kProgramVersion));
  morvela::ApplyLookAndFeel(app);
  morvela::FilterToolkitNoise();

  QString message;
  bool help = false;
  const auto options = morvela::ParseDesktopOptions(QApplication::arguments(), message, help);
  if (!options) {
    std::fputs(qPrintable(message + QLatin1Char('\n')), help ? stdout : stderr);
    return help ? 0 : 2;
  }
  morvela::DesktopSession session(*options);
  return options->screenshot.isEmpty() ? session.Run(app) : session.RunScreenshot();
}
