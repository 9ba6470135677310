// What the odds of an imported database are: the importer stores the 1X2 and over/under prices
// of the files as given, and the real data this program is usually fed with takes them from
// different bookmakers by league and season. Reports that score tips against those odds say
// which kind they were scored against.
#pragma once

#include "core/date.h"

namespace morvela {

enum class ImportedOdds { kPreMatchAverage, kClosingAverage, kBet365 };
inline constexpr int kImportedOddsKinds = 3;

// The kind of odds a match of `league` played on `date` carries in the shared real data (as
// the data's README lists its sources).
ImportedOdds ImportedOddsSource(int league, const Date& date);

// "market averages of pre-match odds", ...
const char* ImportedOddsSourceText(ImportedOdds source);

}  // namespace morvela
