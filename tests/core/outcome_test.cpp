#include "core/outcome.h"

#include <gtest/gtest.h>

namespace morvela {
namespace {

TEST(OutcomeTest, ScoresGiveTheirOutcomeAndItsStoredText) {
  struct Case {
    int home, away;
    Outcome outcome;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, Outcome::kHomeWin, "1"}, {5, 4, Outcome::kHomeWin, "1"},
      {0, 0, Outcome::kDraw, "0"},    {3, 3, Outcome::kDraw, "0"},
      {0, 1, Outcome::kAwayWin, "2"}, {2, 7, Outcome::kAwayWin, "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.home) + ":" + std::to_string(c.away));
    EXPECT_EQ(ScoreOutcome(c.home, c.away), c.outcome);
    EXPECT_EQ(OutcomeText(c.outcome), c.text);
    EXPECT_EQ(OutcomeFromText(c.text), c.outcome);
  }
}

TEST(OutcomeTest, OnlyTheThreeStoredTextsNameAnOutcome) {
  // An unplayed match stores an empty text; padded or other digits are no outcome either.
  for (const char* text : {"", " 1", "1 ", "3", "-1", "10", "x"})
    EXPECT_EQ(OutcomeFromText(text), std::nullopt) << '"' << text << '"';
}

}  // namespace
}  // namespace morvela
