// The wait indicator as the operations see it: a busy message shown while a long computation
// blocks the user-interface thread. Calls nest; the box goes away when the last caller that
// showed it hides it. The desktop program draws the box from a worker thread; the command line
// and the tests use other implementations.
#pragma once

#include <string>

namespace morvela {

class WaitIndicator {
 public:
  virtual ~WaitIndicator() = default;
  // Shows the box after delay_ms with the message ("\r" starts a new line); nests.
  virtual void ShowWait(int delay_ms, const std::string& message) = 0;
  // Undoes one ShowWait; the box goes when the count falls to 0.
  virtual void HideWait() = 0;
  // Tells the indicator that the program is closing.
  virtual void StopWait() = 0;
};

// Shows nothing; counts the nesting so that tests can check that shows and hides pair up.
class NullWaitIndicator : public WaitIndicator {
 public:
  void ShowWait(int, const std::string& message) override {
    ++depth_;
    ++shows_;
    last_message_ = message;
  }
  void HideWait() override {
    if (depth_ > 0) --depth_;
  }
  void StopWait() override {}
  int Depth() const { return depth_; }
  int Shows() const { return shows_; }
  const std::string& LastMessage() const { return last_message_; }

 private:
  int depth_ = 0;
  int shows_ = 0;
  std::string last_message_;
};

// Keeps a ShowWait/HideWait pair balanced when an operation leaves by an exception.
class WaitScope {
 public:
  WaitScope(WaitIndicator& w, int delay_ms, const std::string& message) : w_(w) {
    w_.ShowWait(delay_ms, message);
  }
  ~WaitScope() { w_.HideWait(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  WaitIndicator& w_;
};

}  // namespace morvela
