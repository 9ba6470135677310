// The columns of a football-data style file and the cells of one row: which column holds what
// (found by header name), and the parsing of dates, goals and odds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"

namespace morvela::csv {

struct OddsColumns {
  int first = -1, second = -1, third = -1;  // 1X2: home, draw, away; over/under: over, under
};

struct ColumnMap {
  int div = -1, country = -1, season = -1, date = -1, home = -1, away = -1;
  int fthg = -1, ftag = -1, hthg = -1, htag = -1;
  std::vector<OddsColumns> x12;  // in order of preference
  std::vector<OddsColumns> ou;
  size_t required_width = 0;  // fields a row must have to reach every required column
};

// Bookmakers in order of preference: the uniform files' own columns, the market average, Bet365,

// Maps a header line to columns; nullopt with `missing` naming the required columns not found.
std::optional<ColumnMap> MapColumns(const std::vector<std::string>& header, std::string& missing);

struct MatchOdds {
  std::optional<double> home, draw, away, over, under;
};

struct Row {
  int league = 0;
  int season = 0;
  Date date{};
  std::string home, away;  // after alias resolution
  std::optional<int> fthg, ftag, hthg, htag;
  MatchOdds odds;
};

// A match date: dd/mm/yyyy, dd/mm/yy, dd.mm.yyyy or yyyy-mm-dd (a time after a space is ignored).
std::optional<Date> ParseMatchDate(std::string_view text);

// Goals: empty, or a whole number 0..99.
bool ParseGoals(std::string_view text, std::optional<int>& goals);

// The first complete 1X2 triple and over/under pair of the row, in order of preference.
MatchOdds PickOdds(const ColumnMap& m, const std::vector<std::string>& f);

}  // namespace morvela::csv
