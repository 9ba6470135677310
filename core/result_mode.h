// The result mode: which result every analysis works on. Its value is the main window's tab
// index, and it selects the column family of goals, outcome, rating difference, season-start
// ratings and odds.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace morvela {

enum class ResultMode : int {
  kFullTime = 0,
  kFirstHalf = 1,
  kSecondHalf = 2,
  kUnderOver = 3,  // goals under/over 2.5; counted on full-time goals
};
inline constexpr int kResultModeCount = 4;

// The mode's position (0..3) for tables indexed by mode.
constexpr size_t ModeIndex(ResultMode mode) {
  return static_cast<size_t>(mode);
}

// The mode of a tab index 0..3; nullopt for any other value.
constexpr std::optional<ResultMode> ResultModeFromIndex(int index) {
  if (index < 0 || index >= kResultModeCount) return std::nullopt;
  return static_cast<ResultMode>(index);
}

// The mode named by its short code on the command line: "ft", "1h", "2h", "uo".
std::optional<ResultMode> ResultModeFromCode(std::string_view code);
std::string_view ResultModeCode(ResultMode mode);

// The three modes whose outcome is a home win, draw or away win (all but under/over).
constexpr bool HasOutcomes(ResultMode mode) {
  return mode != ResultMode::kUnderOver;
}

// The columns of a result mode: goals, outcome and stored rating difference in VYSLEDKY, and
// the season-start ratings in SUTAZ_MUZSTVA.
struct ModeColumns {
  const char* home_goal;
  const char* away_goal;
  const char* outcome;
  const char* difference;
  const char* elo;
  const char* elo_home;
  const char* elo_away;
};

inline constexpr ModeColumns kModeColumns[3] = {
    {"HOME_GOAL", "AWAY_GOAL", "VYSLEDOK", "ELO_ROZDIEL", "ELO", "ELO_HOME", "ELO_AWAY"},
    {"HT_HOME_GOAL", "HT_AWAY_GOAL", "HT_VYSLEDOK", "HT_ELO_ROZDIEL", "HT_ELO", "HT_ELO_HOME",
     "HT_ELO_AWAY"},
    {"SHT_HOME_GOAL", "SHT_AWAY_GOAL", "SHT_VYSLEDOK", "SHT_ELO_ROZDIEL", "SHT_ELO", "SHT_ELO_HOME",
     "SHT_ELO_AWAY"},
};

// The columns of a mode; under/over counts full-time goals, so it has the full-time columns.
constexpr const ModeColumns& ColumnsOf(ResultMode mode) {
  return kModeColumns[HasOutcomes(mode) ? ModeIndex(mode) : 0];
}

}  // namespace morvela
