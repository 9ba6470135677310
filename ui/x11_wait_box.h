// The wait box of the desktop program on an X11 display: a small override-redirect window
// centred on the screen, drawn by the wait indicator's worker thread over a display connection
// of its own, so that it stays drawn while the user-interface thread is busy.
#pragma once

#include <memory>

#include "core/threaded_wait_indicator.h"

namespace morvela {

// Makes Xlib safe for several threads. Must run before any other X call of the process, so the
// program calls it first thing in main().
void PrepareX11Threads();

class X11WaitBox : public WaitBox {
 public:
  X11WaitBox();
  ~X11WaitBox() override;

  // Opens the display named by DISPLAY; without one the box stays inert and shows nothing.
  void Open() override;
  void Close() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int LineHeight() override;
  int TextWidth(const std::string& line) override;
  void Show(const WaitBoxPicture& picture) override;
  void Hide() override;
  // Repaints after an exposure and raises the box again when another window covers it.
  void Poll() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace morvela
