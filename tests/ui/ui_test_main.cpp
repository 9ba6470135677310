// The smoke tests of the desktop program run without a display: one application object for
// all of them, on the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/desktop_session.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  morvela::ApplyLookAndFeel(app);
  morvela::FilterToolkitNoise();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
