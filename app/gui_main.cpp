// The desktop program: the main window and everything it opens.
#include <QApplication>
#include <QDir>
#include <QTemporaryFile>

#include <cstdio>
#include <cstring>
#include <memory>

#include "i18n/messages.h"
#include "program/program.h"
#include "program/startup.h"
#include "ui/desktop_session.h"
#include "ui/gallery.h"
#include "ui/x11_wait_box.h"

namespace {

// The gallery draws on a 1280x800 screen of the offscreen platform whatever display the run
// has, so that its pictures do not depend on where it ran; the platform's screen comes from a
// configuration file.
std::unique_ptr<QTemporaryFile> GalleryScreen(int argc, char** argv) {
  bool gallery = false;
  for (int i = 1; i < argc; ++i) gallery = gallery || std::strcmp(argv[i], "--gallery") == 0;
  if (!gallery) return nullptr;
  auto config = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/morvela-screen-XXXXXX.json");
  if (!config->open()) return nullptr;
  config->write(R"({"screens": [{"name": "Gallery", "x": 0, "y": 0, "width": 1280,
                   "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config->flush();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config->fileName().toLocal8Bit());
  return config;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QTemporaryFile> screen = GalleryScreen(argc, argv);
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
  if (!options->gallery.isEmpty()) {
    std::vector<int> languages = {morvela::kEnglish, morvela::kGerman, morvela::kSlovak,
                                  morvela::kItalian};
    if (options->language) languages = {*options->language};
    const std::string home = morvela::ResolveProgramFolder(
        options->home, QCoreApplication::applicationFilePath().toStdString());
    return morvela::RunGallery(home, options->today, languages, options->gallery);
  }
  morvela::DesktopSession session(*options);
  return options->screenshot.isEmpty() ? session.Run(app) : session.RunScreenshot();
}
