#include "i18n/leagues.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

#include "core/text.h"
#include "i18n/messages.h"

namespace morvela {
namespace {

constexpr std::array<LeagueInfo, kLeagueCount> kLeagues = {{
    {1, "BitBtn8", 65, 8, 66, 0, "at"},        {2, "BitBtn2", 51, 2, 52, 1, "be"},
    {3, "BitBtn3", 55, 3, 56, 2, "cz"},        {4, "BitBtn1", 34, 1, 35, 3, "en"},
    {5, "BitBtn4", 57, 4, 58, 4, "fr"},        {6, "BitBtn6", 61, 6, 62, 5, "de"},
    {7, "BitBtn11", 38, 11, 39, 6, "it"},      {8, "BitBtn5", 59, 5, 60, 7, "nl"},
    {9, "BitBtn7", 63, 7, 64, 8, "pt"},        {10, "BitBtn9", 67, 9, 68, 9, "sc"},
    {11, "BitBtn10", 36, 10, 37, 10, "es"},    {12, "BitBtn12", 40, 12, 41, 11, "tr"},
    {13, "BitBtn18", 47, 14, 48, 12, "gr"},    {14, "BitBtn19", 49, 15, 50, 13, "ru"},
    {15, "BitBtn20", 53, 16, 54, 14, "sk"},    {16, "BitBtn17", 45, 13, 46, 15, "ch"},
    {17, "BitBtn21", 143, 151, 147, 16, "dk"}, {18, "BitBtn22", 144, 152, 148, 17, "pl"},
    {19, "BitBtn23", 145, 153, 149, 18, "ro"}, {20, "BitBtn24", 146, 154, 150, 19, "ua"},
}};

// Alphabetical by the caption in each language (Slovak and German collation, so "Česko" follows
// "Belgicko" and "Österreich" follows "Niederlande"). The tips list sorts its league column by
// the same order, so that a sorted list reads like the buttons.
constexpr std::array<std::array<int, kLeagueCount>, kLanguageCount> kOrders = {{
    {1, 2, 3, 17, 4, 5, 6, 13, 7, 8, 18, 9, 19, 14, 10, 15, 11, 16, 12, 20},
    {2, 17, 6, 4, 5, 13, 7, 8, 1, 18, 9, 19, 14, 10, 16, 15, 11, 3, 12, 20},
    {4, 2, 3, 17, 5, 13, 8, 6, 18, 9, 1, 19, 14, 15, 10, 11, 16, 7, 12, 20},
    {1, 2, 17, 5, 6, 13, 4, 7, 8, 18, 9, 3, 19, 14, 10, 15, 11, 16, 12, 20},
}};

// The English captions say only "Czech"; users also write the country's full name.
constexpr int kCzechId = 3;
constexpr std::string_view kCzechFullName = "czech republic";

}  // namespace

const LeagueInfo& League(int id) {
  if (id < 1 || id > kLeagueCount) {
    throw std::out_of_range("league id " + std::to_string(id) + " is not 1.." +
                            std::to_string(kLeagueCount));
  }
  return kLeagues[static_cast<size_t>(id - 1)];
}

std::array<int, kLeagueCount> ButtonOrder(int lang) {
  return kOrders[static_cast<size_t>(EffectiveLanguage(lang) - 1)];
}

std::array<int, kLeagueCount> TipsListLeagueOrder(int lang) {
  return ButtonOrder(lang);
}

std::optional<int> LeagueIdFromName(std::string_view name) {
  name = TrimSpacesAndTabs(name);
  int id = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
  if (!name.empty() && error == std::errc() && end == name.data() + name.size()) {
    if (id >= 1 && id <= kLeagueCount) return id;
    return std::nullopt;
  }
  if (EqualsIgnoringAsciiCase(name, kCzechFullName)) return kCzechId;
  for (const LeagueInfo& league : kLeagues) {
    if (EqualsIgnoringAsciiCase(name, league.code) ||
        EqualsIgnoringAsciiCase(name, MessageText(MessageId{league.caption_message}, kEnglish))) {
      return league.id;
    }
  }
  return std::nullopt;
}

std::string LeagueName(int id, int lang) {
  return MessageText(MessageId{League(id).caption_message}, lang);
}

}  // namespace morvela
