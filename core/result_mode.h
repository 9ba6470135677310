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

}  // namespace morvela
