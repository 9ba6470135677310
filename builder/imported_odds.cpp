#include "builder/imported_odds.h"

#include <string_view>

#include "builder/league_rules.h"
#include "i18n/leagues.h"

namespace morvela {

ImportedOdds ImportedOddsSource(int league, const Date& date) {
  const std::string_view code = League(league).code;
  const int season = SeasonOfDate(date);
  // The smaller leagues' files give closing averages until 2019/2020, Bet365 after; the three
  // leagues from other sources give Bet365 throughout.
  for (std::string_view c : {"at", "ch", "dk", "pl", "ro", "ru"})
    if (code == c) return season <= 2019 ? ImportedOdds::kClosingAverage : ImportedOdds::kBet365;
  for (std::string_view c : {"cz", "sk", "ua"})
    if (code == c) return ImportedOdds::kBet365;
  return season <= 2022 ? ImportedOdds::kPreMatchAverage : ImportedOdds::kBet365;
}

const char* ImportedOddsSourceText(ImportedOdds source) {
  static constexpr const char* kTexts[] = {
      "market averages of pre-match odds",
      "market averages of closing odds",
      "Bet365 odds (the data does not say when they were taken)",
  };
  return kTexts[static_cast<int>(source)];
}

}  // namespace morvela
