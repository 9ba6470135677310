#include "i18n/leagues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/messages.h"

namespace morvela {
namespace {

TEST(LeaguesTest, EachLeagueHasItsButtonTextsFlagAndCode) {
  struct Case {
    int id;
    std::string button, caption, status, hint, code;
  };
  const Case cases[] = {
      {1, "BitBtn8", "Austria", "Austrian league loaded !", "Select Austrian league", "at"},
      {2, "BitBtn2", "Belgium", "Belgian League loaded !", "Select Belgian league", "be"},
      {3, "BitBtn3", "Czech", "Czech league loaded !", "Select Czech league", "cz"},
      {4, "BitBtn1", "England", "English league loaded !", "Select English league", "en"},
      {5, "BitBtn4", "France", "French league loaded !", "Select French league", "fr"},
      {6, "BitBtn6", "Germany", "German league loaded !", "Select German league", "de"},
      {7, "BitBtn11", "Italy", "Italian league loaded !", "Select Italian league", "it"},
      {8, "BitBtn5", "Netherlands", "Dutch league loaded !", "Select Dutch league", "nl"},
      {9, "BitBtn7", "Portugal", "Portuguese league loaded !", "Select Portuguese league", "pt"},
      {10, "BitBtn9", "Scotland", "Scottish league loaded !", "Select Scottish league", "sc"},
      {11, "BitBtn10", "Spain", "Spanish league loaded !", "Select Spanish league", "es"},
      {12, "BitBtn12", "Turkey", "Turkish league loaded !", "Select Turkish league", "tr"},
      {13, "BitBtn18", "Greece", "Greek league loaded !", "Select Greek league", "gr"},
      {14, "BitBtn19", "Russia", "Russian league loaded !", "Select Russian league", "ru"},
      {15, "BitBtn20", "Slovakia", "Slovak league loaded !", "Select Slovak league", "sk"},
      {16, "BitBtn17", "Switzerland", "Swiss league loaded !", "Select Swiss league", "ch"},
      {17, "BitBtn21", "Denmark", "Danish league loaded !", "Select Danish league", "dk"},
      {18, "BitBtn22", "Poland", "Polish league loaded !", "Select Polish league", "pl"},
      {19, "BitBtn23", "Romania", "Romanian league loaded !", "Select Romanian league", "ro"},
      {20, "BitBtn24", "Ukraine", "Ukrainian league loaded !", "Select Ukrainian league", "ua"},
  };
  for (const Case& c : cases) {
    const LeagueInfo& league = League(c.id);
    EXPECT_EQ(league.id, c.id);
    EXPECT_EQ(league.button, c.button) << c.id;
    EXPECT_EQ(MessageText(MessageId{league.caption_message}, kEnglish), c.caption) << c.id;
    EXPECT_EQ(MessageText(MessageId{league.status_message}, kEnglish), c.status) << c.id;
    EXPECT_EQ(MessageText(MessageId{league.hint_message}, kEnglish), c.hint) << c.id;
    EXPECT_EQ(league.flag, c.id - 1);
    EXPECT_EQ(league.code, c.code) << c.id;
  }
  for (int id : {0, 21, -4}) EXPECT_THROW(League(id), std::out_of_range) << id;
}

TEST(LeaguesTest, LeagueNameIsTheCaptionInTheLanguage) {
  struct Case {
    int id, lang;
    std::string name;
  };
  const Case cases[] = {
      {1, kGerman, "Österreich"}, {3, kItalian, "Rep. Ceca"},   {4, kSlovak, "Anglicko"},
      {4, kGerman, "England"},    {16, kSlovak, "Švajčiarsko"}, {20, kItalian, "Ucraina"},
      {13, kEnglish, "Greece"},   {10, 0, "Scotland"},
  };
  for (const Case& c : cases) EXPECT_EQ(LeagueName(c.id, c.lang), c.name) << c.id;
  EXPECT_THROW(LeagueName(21, kEnglish), std::out_of_range);
}

// The button rows as the main window's layout lists them, by English caption.
std::array<int, kLeagueCount> IdsOf(const std::vector<std::string>& captions) {
  std::array<int, kLeagueCount> ids{};
  EXPECT_EQ(captions.size(), ids.size());
  for (size_t i = 0; i < ids.size() && i < captions.size(); ++i) {
    ids[i] = LeagueIdFromName(captions[i]).value_or(0);
  }
  return ids;
}

TEST(LeaguesTest, ButtonsStandInTheLanguagesAlphabeticalOrder) {
  const std::pair<int, std::vector<std::string>> cases[] = {
      {kEnglish,
       {"Austria",  "Belgium",  "Czech",       "Denmark",     "England",  "France",  "Germany",
        "Greece",   "Italy",    "Netherlands", "Poland",      "Portugal", "Romania", "Russia",
        "Scotland", "Slovakia", "Spain",       "Switzerland", "Turkey",   "Ukraine"}},
      {kGerman, {"Belgium",     "Denmark",  "Germany", "England",  "France",  "Greece", "Italy",
                 "Netherlands", "Austria",  "Poland",  "Portugal", "Romania", "Russia", "Scotland",
                 "Switzerland", "Slovakia", "Spain",   "Czech",    "Turkey",  "Ukraine"}},
      {kSlovak,
       {"England",  "Belgium", "Czech",       "Denmark", "France",  "Greece", "Netherlands",
        "Germany",  "Poland",  "Portugal",    "Austria", "Romania", "Russia", "Slovakia",
        "Scotland", "Spain",   "Switzerland", "Italy",   "Turkey",  "Ukraine"}},
      {kItalian,
       {"Austria",  "Belgium",     "Denmark", "France",      "Germany", "Greece",  "England",
        "Italy",    "Netherlands", "Poland",  "Portugal",    "Czech",   "Romania", "Russia",
        "Scotland", "Slovakia",    "Spain",   "Switzerland", "Turkey",  "Ukraine"}},
  };
  for (const auto& [lang, captions] : cases) {
    const std::array<int, kLeagueCount> order = ButtonOrder(lang);
    EXPECT_EQ(order, IdsOf(captions)) << "language " << lang;
    std::array<int, kLeagueCount> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < kLeagueCount; ++i) EXPECT_EQ(sorted[i], i + 1) << "language " << lang;
  }
  const std::array<int, kLeagueCount> german = ButtonOrder(kGerman);
  EXPECT_EQ(std::vector<int>(german.begin(), german.begin() + 5),
            (std::vector<int>{2, 17, 6, 4, 5}));
  EXPECT_EQ(ButtonOrder(0), ButtonOrder(kEnglish));
}

TEST(LeaguesTest, TipsListLeagueOrderPerLanguage) {
  const std::pair<int, std::array<int, kLeagueCount>> cases[] = {
      {kEnglish, {1, 2, 3, 17, 4, 5, 6, 13, 7, 8, 18, 9, 19, 14, 10, 15, 11, 16, 12, 20}},
      {kGerman, {2, 17, 6, 4, 5, 13, 7, 8, 1, 18, 9, 19, 14, 10, 16, 15, 11, 3, 12, 20}},
      {kSlovak, {4, 2, 3, 17, 5, 13, 8, 6, 18, 9, 1, 19, 14, 15, 10, 11, 16, 7, 12, 20}},
      {kItalian, {1, 2, 17, 5, 6, 13, 4, 7, 8, 18, 9, 3, 19, 14, 10, 15, 11, 16, 12, 20}},
      {7, {1, 2, 3, 17, 4, 5, 6, 13, 7, 8, 18, 9, 19, 14, 10, 15, 11, 16, 12, 20}},
  };
  for (const auto& [lang, order] : cases) EXPECT_EQ(TipsListLeagueOrder(lang), order) << lang;
}

TEST(LeaguesTest, LeagueIdFromNameAcceptsIdsCaptionsAndCodes) {
  const std::pair<std::string, std::optional<int>> cases[] = {
      {"1", 1},
      {"20", 20},
      {" 7 ", 7},
      {"England", 4},
      {"germany", 6},
      {"SWITZERLAND", 16},
      {"Czech", 3},
      {"Czech Republic", 3},
      {"czech republic", 3},
      {"sk", 15},
      {"SC", 10},
      {"ua", 20},
      {"0", std::nullopt},
      {"21", std::nullopt},
      {"-3", std::nullopt},
      {"", std::nullopt},
      {"Englandx", std::nullopt},
      {"Deutschland", std::nullopt},
      {"4a", std::nullopt},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(LeagueIdFromName(name), id) << '"' << name << '"';
}

}  // namespace
}  // namespace morvela
