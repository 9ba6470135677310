#include "i18n/language_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "i18n/leagues.h"
#include "i18n/messages.h"

namespace morvela {
namespace {

TEST(LanguageChooserTest, ButtonChoosesItsLanguageAndCloses) {
  const std::pair<std::string_view, int> cases[] = {
      {"English", kEnglish}, {"Deutsch", kGerman}, {"Slovenský", kSlovak}, {"Italiano", kItalian}};
  for (const auto& [caption, language] : cases) {
    const auto* button =
        std::find_if(TfJazyk::kButtons.begin(), TfJazyk::kButtons.end(),
                     [&](const TfJazyk::Button& b) { return b.caption == caption; });
    ASSERT_NE(button, TfJazyk::kButtons.end()) << caption;
    EXPECT_EQ(button->language, language) << caption;
    TfJazyk chooser;
    chooser.Open();
    EXPECT_TRUE(chooser.IsOpen());
    chooser.Choose(button->language);
    EXPECT_EQ(chooser.Index(), language);
    EXPECT_TRUE(chooser.Chosen());
    EXPECT_FALSE(chooser.IsOpen());
  }
}

TEST(LanguageChooserTest, ClosingWithoutChoiceLeavesIndexZero) {
  TfJazyk chooser;
  chooser.Open();
  chooser.Close();
  EXPECT_EQ(chooser.Index(), 0);
  EXPECT_FALSE(chooser.Chosen());
  EXPECT_FALSE(chooser.IsOpen());

  chooser.Open();
  chooser.Choose(kItalian);
  chooser.Open();  // a later showing starts without a choice
  EXPECT_EQ(chooser.Index(), 0);
  EXPECT_FALSE(chooser.Chosen());

  for (int index : {0, 5}) EXPECT_THROW(chooser.Choose(index), std::out_of_range) << index;
  EXPECT_EQ(chooser.Index(), 0);
}

TEST(LanguageChooserTest, FlagsShowTheLanguagesCountry) {
  const char* countries[] = {"England", "Germany", "Slovakia", "Italy"};
  for (size_t i = 0; i < TfJazyk::kButtons.size(); ++i) {
    EXPECT_EQ(LeagueName(TfJazyk::kButtons[i].flag_league, kEnglish), countries[i]) << i;
  }
}

}  // namespace
}  // namespace morvela
