// The threaded wait indicator: nesting, delay, the measured box, driven through a recording box
// and a clock the test moves.
#include "core/threaded_wait_indicator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace morvela {
namespace {

using namespace std::chrono_literals;

// Measures every character as 10 pixels on a 1000 x 800 screen with line height 20, and
// records what the worker does with it.
class FakeBox : public WaitBox {
 public:
  void Open() override { ++opened; }
  void Close() override { ++closed; }
  int ScreenWidth() override { return 1000; }
  int ScreenHeight() override { return 800; }
  int LineHeight() override { return 20; }
  int TextWidth(const std::string& line) override { return 10 * static_cast<int>(line.size()); }
  void Show(const WaitBoxPicture& picture) override {
    std::lock_guard lock(mutex_);
    last_ = picture;
    ++shows;
    visible = true;
  }
  void Hide() override { visible = false; }

  WaitBoxPicture Last() const {
    std::lock_guard lock(mutex_);
    return last_;
  }

  std::atomic<int> opened{0}, closed{0}, shows{0};
  std::atomic<bool> visible{false};

 private:
  mutable std::mutex mutex_;
  WaitBoxPicture last_;
};

// Polls until `condition` holds; false after two seconds.
template <typename F>
bool Eventually(F condition) {
  for (auto end = std::chrono::steady_clock::now() + 2s; std::chrono::steady_clock::now() < end;) {
    if (condition()) return true;
    std::this_thread::sleep_for(1ms);
  }
  return condition();
}

class WaitIndicatorTest : public ::testing::Test {
 protected:
  FakeBox box_;
  std::atomic<int64_t> now_{0};
  int fronts_ = 0;
  ThreadedWaitIndicator wait_{box_, [this] { ++fronts_; }, [this] { return now_.load(); }};
};

TEST_F(WaitIndicatorTest, NestedShowsNeedAsManyHides) {
  wait_.ShowWait(0, "Please wait ...");
  wait_.ShowWait(0, "Please wait ...");
  ASSERT_TRUE(Eventually([&] { return box_.visible.load(); }));
  wait_.HideWait();
  EXPECT_EQ(wait_.Depth(), 1);
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(box_.visible) << "one show is still open";
  wait_.HideWait();
  EXPECT_TRUE(Eventually([&] { return wait_.Suspended() && !box_.visible; }));
  EXPECT_EQ(wait_.Depth(), 0);
  EXPECT_EQ(fronts_, 2) << "every hide brings the windows to the front";
  EXPECT_EQ(box_.shows, 1);
}

TEST_F(WaitIndicatorTest, HideWithoutShowChangesNothingButBringsTheWindowsToTheFront) {
  wait_.HideWait();
  EXPECT_EQ(wait_.Depth(), 0);
  EXPECT_EQ(fronts_, 1);
  wait_.ShowWait(0, "x");
  EXPECT_EQ(wait_.Depth(), 1) << "the count did not go below 0";
  EXPECT_TRUE(Eventually([&] { return box_.visible.load(); }));
  EXPECT_EQ(box_.opened, 1) << "the worker starts with the first show only";
}

TEST_F(WaitIndicatorTest, ADelayedShowHiddenWithinItsDelayNeverShows) {
  wait_.ShowWait(1000, "Please wait ...");
  now_ = 999;
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(box_.visible);
  wait_.HideWait();
  ASSERT_TRUE(Eventually([&] { return wait_.Suspended(); }));
  now_ = 5000;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(box_.shows, 0);
}

TEST_F(WaitIndicatorTest, ADelayedShowAppearsWhenItsDelayHasPassed) {
  wait_.ShowWait(1000, "Please wait ...");
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(box_.shows, 0);
  now_ = 1000;
  EXPECT_TRUE(Eventually([&] { return box_.visible.load(); }));
}

TEST_F(WaitIndicatorTest, ResumedWorkerTakesTheNewDelayAndMessage) {
  wait_.ShowWait(0, "first");
  ASSERT_TRUE(Eventually([&] { return box_.visible.load(); }));
  wait_.HideWait();
  ASSERT_TRUE(Eventually([&] { return wait_.Suspended(); }));
  now_ = 100;
  wait_.ShowWait(500, "second");
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(box_.shows, 1) << "the new delay counts from the resuming show";
  now_ = 600;
  ASSERT_TRUE(Eventually([&] { return box_.shows == 2; }));
  EXPECT_EQ(box_.Last().lines[0].text, "second");
}

TEST_F(WaitIndicatorTest, SecondShowWhileVisibleKeepsTheDrawnBox) {
  wait_.ShowWait(0, "short");
  ASSERT_TRUE(Eventually([&] { return box_.visible.load(); }));
  wait_.ShowWait(1000, "a much longer message");
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(box_.visible) << "the running delay stays, so the box stays";
  EXPECT_EQ(box_.shows, 1);
  EXPECT_EQ(box_.Last().lines[0].text, "short");
  EXPECT_EQ(box_.Last().width, 60);
}

TEST_F(WaitIndicatorTest, StopClosesTheBoxAndLaterShowsOnlyCount) {
  wait_.ShowWait(0, "The program is ending ...");
  ASSERT_TRUE(Eventually([&] { return box_.visible.load(); }));
  wait_.StopWait();
  EXPECT_EQ(box_.closed, 1);
  EXPECT_FALSE(box_.visible);
  EXPECT_EQ(wait_.Depth(), 0);
  wait_.ShowWait(0, "again");
  EXPECT_EQ(box_.opened, 1);
}

TEST_F(WaitIndicatorTest, StopWakesASuspendedWorker) {
  wait_.ShowWait(0, "x");
  wait_.HideWait();
  ASSERT_TRUE(Eventually([&] { return wait_.Suspended(); }));
  wait_.StopWait();
  EXPECT_EQ(box_.closed, 1);
}

TEST(WaitBoxLayoutTest, MeasuresLinesAndCentresTheBox) {
  auto width = [](const std::string& s) { return 10 * static_cast<int>(s.size()); };
  struct Case {
    std::string message;
    int line_height, screen_w, screen_h;
    int left, top, width, height;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      // One line: W + 10 by L + 20.
      {"Please wait ...", 20, 1000, 800, 420, 380, 160, 40, {"Please wait ..."}},
      // Two lines: 2L + 24 high, the widest line sets the width.
      {"ab\rabcd", 20, 1000, 800, 475, 368, 50, 64, {"ab", "abcd"}},
      {"ab\r\nabcd", 16, 1000, 800, 475, 372, 50, 56, {"ab", "abcd"}},
      // Three lines: 3L + 28; odd differences round to even.
      {"a\rb\rc", 10, 1001, 801, 490, 372, 20, 58, {"a", "b", "c"}},
      {"", 20, 1000, 800, 495, 380, 10, 40, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    WaitBoxPicture p = LayOutWaitBox(c.message, c.line_height, width, c.screen_w, c.screen_h);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.colour, (Rgb{190, 220, 190}));
    ASSERT_EQ(p.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(p.lines[i].text, c.lines[i]);
      EXPECT_EQ(p.lines[i].x, 5);
      EXPECT_EQ(p.lines[i].y, 5 + static_cast<int>(i) * (c.line_height + 4));
    }
  }
  EXPECT_EQ(WaitLineHeightFromPoints(16, 96), 21);
  EXPECT_EQ(WaitLineHeightFromPoints(16, 72), 16);
  EXPECT_EQ(WaitLineHeightFromPoints(9, 100), 12) << "12.5 rounds to even";
}

}  // namespace
}  // namespace morvela
