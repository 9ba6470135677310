#include "rating/head_to_head.h"

#include <gtest/gtest.h>

namespace morvela {
namespace {

// Ages 10 and 30 (sum 40): the first meeting weighs round(24 * 30 / 40) = 18, a draw half of it,
// 9; the second row's "x" moves nothing.
std::vector<Meeting> DrawFirst() {
  return {{10, "0"}, {30, "x"}};
}

TEST(HeadToHeadTest, ADrawNeverMovesTheDifferenceOntoOrPastTheDrawPull) {
  struct Case {
    const char* what;
    int32_t d;
    int32_t expected;
  };
  const Case cases[] = {
      {"far above: pulled down by 9", 0, -9},
      {"one above the reach: pulled to -129", -120, -129},
      {"would land on -130: stays", -121, -121},
      {"would cross from above: stays", -125, -125},
      {"on -130: stays", kDrawPull, kDrawPull},
      {"would land on -130 from below: stays", -139, -139},
      {"would cross from below: stays", -135, -135},
      {"one below the reach: pulled up to -131", -140, -131},
  };
  for (const Case& c : cases) EXPECT_EQ(AdjustByMeetings(c.d, DrawFirst()), c.expected) << c.what;
}

TEST(HeadToHeadTest, WeightsAndTheirCarryOverPastTheFourthMeeting) {
  struct Case {
    const char* what;
    std::vector<Meeting> meetings;
    int32_t expected;
  };
  const Case cases[] = {
      // Unknown texts move nothing but still take their place in the weights: the win second
      // weighs round(20 * 10 / 40) = 5.
      {"an unknown outcome keeps its weight's place", {{10, "x"}, {30, "1"}}, 5},
      // Age sum 5: the fourth weighs round(12 * 4 / 5) = 10, its draw halves that to 5; the fifth
      // row keeps the halved 5 and scales it to round(5 * 4 / 5) = 4.
      {"a fifth row keeps the weight a draw halved",
       {{1, "x"}, {1, "x"}, {1, "x"}, {1, "0"}, {1, "1"}},
       -5 + 4},
      {"all on the reference day: unscaled weights", {{0, "1"}, {0, "1"}, {0, "2"}}, 24 + 20 - 16},
  };
  for (const Case& c : cases) EXPECT_EQ(AdjustByMeetings(0, c.meetings), c.expected) << c.what;
}

}  // namespace
}  // namespace morvela
