// The wait indicator of the desktop program: a worker thread owns a small box in the middle of
// the screen and keeps it drawn while the user-interface thread is busy with a long operation.
//
// The callers (always the user-interface thread) only count and store the message under one
// lock and set single-value requests (delay, start tick, hide, stop) that the worker polls. The
// worker polls with zero-length sleeps (it yields the processor) while it waits for the delay to
// pass and while the box is shown, so it needs no timer and no cooperation from the busy thread;
// between uses it is suspended until the next show resumes it.
//
// The box itself is an interface, so the same logic drives an X11 window in the desktop program
// and a recording fake in tests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/wait_indicator.h"

namespace morvela {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The box's look: a light green face, the message in a 16-point bold font.
inline constexpr Rgb kWaitBoxColour{190, 220, 190};
inline constexpr int kWaitFontPoints = 16;
inline constexpr bool kWaitFontBold = true;

// The font's line height for a font that gives no pixel height: points at the screen's pixels
// per inch, rounded.
int WaitLineHeightFromPoints(int points, int pixels_per_inch);

// Where the box stands and what it shows. Every line is drawn with its top left corner at its
// origin, in box coordinates.
struct WaitBoxPicture {
  struct Line {
    std::string text;
    int x = 0, y = 0;
  };
  int left = 0, top = 0, width = 0, height = 0;
  int line_height = 0;
  Rgb colour = kWaitBoxColour;
  std::vector<Line> lines;
};

// Lays the box out for `message`: lines split at carriage returns (a line feed after one is
// dropped), W the widest line as `text_width` measures it, H the sum of L + 4 for every line but
// the last plus L for the last; the box is W + 10 wide and H + 20 high, centred on a screen of
// the given size (left = round((screen width - width) / 2), top likewise), the first line at
// (5, 5) and each following one L + 4 lower.
WaitBoxPicture LayOutWaitBox(const std::string& message, int line_height,
                             const std::function<int(const std::string&)>& text_width,
                             int screen_width, int screen_height);

// The window the worker draws. Every call comes from the worker thread, so an implementation
// may keep a window-system connection of its own that no other thread touches.
class WaitBox {
 public:
  virtual ~WaitBox() = default;
  // The worker starts: open what the box needs. A box that cannot open stays inert.
  virtual void Open() = 0;
  // The worker ends: release everything Open took.
  virtual void Close() = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  // The wait font's line height L in pixels.
  virtual int LineHeight() = 0;
  // The width of one line of text in the wait font, in pixels.
  virtual int TextWidth(const std::string& line) = 0;
  // Places the box as the picture says, above every other window, shows it and paints it.
  virtual void Show(const WaitBoxPicture& picture) = 0;
  // Hides the box; it stays the topmost window for its next showing.
  virtual void Hide() = 0;
  // Called on every poll while the box is shown: handle the window system's events (repaint
  // after being uncovered, stay on top).
  virtual void Poll() {}
};

class ThreadedWaitIndicator : public WaitIndicator {
 public:
  using Clock = std::function<int64_t()>;  // a millisecond tick count

  // `box` must outlive the indicator. `bring_to_front` runs on every HideWait (the program's
  // windows come back to the front after a long operation); `clock` defaults to a steady clock.
  explicit ThreadedWaitIndicator(WaitBox& box, std::function<void()> bring_to_front = {},
                                 Clock clock = {});
  ~ThreadedWaitIndicator() override;
  ThreadedWaitIndicator(const ThreadedWaitIndicator&) = delete;
  ThreadedWaitIndicator& operator=(const ThreadedWaitIndicator&) = delete;

  // Counts the show and stores the message. The first show starts the worker with this delay;
  // a show while the worker is suspended (or about to be) resumes it with this delay and a new
  // start time; a show while the box is pending or shown keeps the running delay and start time
  // and only replaces the message, which the box shows when it is next measured and painted.
  void ShowWait(int delay_ms, const std::string& message) override;
  // Undoes one show; when the count falls to 0 the worker hides the box and suspends itself.
  // A hide without a show changes nothing. Either way the program's windows come to the front.
  void HideWait() override;
  // Ends the worker (the box closes) and waits for it. Later shows only count.
  void StopWait() override;

  int Depth() const;
  // True while the worker waits to be resumed (the box is hidden).
  bool Suspended() const;

 private:
  void Run();
  // Resets the request state for a (re)started show; called under the lock.
  void Restart(int delay_ms);

  WaitBox& box_;
  std::function<void()> bring_to_front_;
  Clock clock_;

  mutable std::mutex mutex_;
  std::condition_variable resume_;
  int depth_ = 0;
  std::string message_;
  bool suspended_ = false;
  bool stopped_ = false;
  std::thread worker_;

  std::atomic<int> delay_ms_{0};
  std::atomic<int64_t> start_tick_{0};
  std::atomic<bool> hide_request_{false};
  std::atomic<bool> stop_request_{false};
};

}  // namespace morvela
