#include "core/threaded_wait_indicator.h"

#include <algorithm>
#include <chrono>

#include "core/rounding.h"

namespace morvela {

namespace {

int64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> SplitLines(const std::string& message) {
  std::vector<std::string> lines(1);
  for (char c : message) {
    if (c == '\r') {
      lines.emplace_back();
    } else if (c != '\n') {
      lines.back() += c;
    }
  }
  return lines;
}

}  // namespace

int WaitLineHeightFromPoints(int points, int pixels_per_inch) {
  return static_cast<int>(RoundRatioHalfEven(int64_t{points} * pixels_per_inch, 72));
}

WaitBoxPicture LayOutWaitBox(const std::string& message, int line_height,
                             const std::function<int(const std::string&)>& text_width,
                             int screen_width, int screen_height) {
  WaitBoxPicture pic;
  pic.line_height = line_height;
  const std::vector<std::string> lines = SplitLines(message);
  int widest = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    widest = std::max(widest, text_width(lines[i]));
    pic.lines.push_back({lines[i], 5, 5 + static_cast<int>(i) * (line_height + 4)});
  }
  const int text_height = static_cast<int>(lines.size() - 1) * (line_height + 4) + line_height;
  pic.width = widest + 10;
  pic.height = text_height + 20;
  pic.left = static_cast<int>(RoundRatioHalfEven(screen_width - pic.width, 2));
  pic.top = static_cast<int>(RoundRatioHalfEven(screen_height - pic.height, 2));
  return pic;
}

ThreadedWaitIndicator::ThreadedWaitIndicator(WaitBox& box, std::function<void()> bring_to_front,
                                             Clock clock)
    : box_(box),
      bring_to_front_(std::move(bring_to_front)),
      clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {}

ThreadedWaitIndicator::~ThreadedWaitIndicator() {
  StopWait();
}

void ThreadedWaitIndicator::Restart(int delay_ms) {
  delay_ms_ = delay_ms;
  start_tick_ = clock_();
  hide_request_ = false;
}

void ThreadedWaitIndicator::ShowWait(int delay_ms, const std::string& message) {
  std::lock_guard lock(mutex_);
  ++depth_;
  message_ = message;
  if (stopped_) return;
  if (!worker_.joinable()) {
    Restart(delay_ms);
    worker_ = std::thread(&ThreadedWaitIndicator::Run, this);
  } else if (suspended_ || hide_request_) {
    // A hide the worker has not acted on yet counts as done: this show starts afresh.
    Restart(delay_ms);
    suspended_ = false;
    resume_.notify_one();
  }
}

void ThreadedWaitIndicator::HideWait() {
  {
    std::lock_guard lock(mutex_);
    if (depth_ > 0 && --depth_ == 0 && worker_.joinable()) hide_request_ = true;
  }
  if (bring_to_front_) bring_to_front_();
}

void ThreadedWaitIndicator::StopWait() {
  std::thread worker;
  {
    std::lock_guard lock(mutex_);
    depth_ = 0;
    stopped_ = true;
    stop_request_ = true;
    resume_.notify_one();
    worker = std::move(worker_);
  }
  if (worker.joinable()) worker.join();
}

int ThreadedWaitIndicator::Depth() const {
  std::lock_guard lock(mutex_);
  return depth_;
}

bool ThreadedWaitIndicator::Suspended() const {
  std::lock_guard lock(mutex_);
  return suspended_;
}

void ThreadedWaitIndicator::Run() {
  box_.Open();
  bool visible = false;
  auto hide = [&] {
    if (visible) box_.Hide();
    visible = false;
  };
  while (!stop_request_) {
    if (hide_request_) {
      hide();
      std::unique_lock lock(mutex_);
      // ShowWait clears the request under the lock, so a show that came in meanwhile wins.
      if (hide_request_ && !stop_request_) {
        suspended_ = true;
        resume_.wait(lock, [this] { return !suspended_ || stop_request_; });
      }
      continue;
    }
    if (clock_() - start_tick_ < delay_ms_) {
      hide();
    } else if (!visible) {
      std::string message;
      {
        std::lock_guard lock(mutex_);
        message = message_;
      }
      box_.Show(LayOutWaitBox(
          message, box_.LineHeight(), [this](const std::string& s) { return box_.TextWidth(s); },
          box_.ScreenWidth(), box_.ScreenHeight()));
      visible = true;
    } else {
      box_.Poll();
    }
    std::this_thread::yield();
  }
  hide();
  box_.Close();
}

}  // namespace morvela
