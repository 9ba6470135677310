#include "predict/tip_selection.h"
#include "core/text.h"

#include <algorithm>
#include <array>

namespace morvela {

namespace {

constexpr std::string_view kOutcomeLetters = "102";

// One outcome as the ranking sees it; order is the final tie break (home 0, draw 1, away 2).
struct RankedOutcome {
  char letter;
  int percent;
  int league_percent;
  int order;
};

// Outcomes from first to last rank.
std::array<RankedOutcome, 3> RankOutcomes(const PredictionState& s) {
  std::array<RankedOutcome, 3> outcomes{{
      {'1', s.HomePercent, s.LeagueHomePercent, 0},
      {'0', s.DrawPercent, s.LeagueDrawPercent, 1},
      {'2', s.AwayPercent, s.LeagueAwayPercent, 2},
  }};
  std::ranges::sort(outcomes, [](const RankedOutcome& x, const RankedOutcome& y) {
    if (x.percent != y.percent) return x.percent > y.percent;
    if (x.league_percent != y.league_percent) return x.league_percent > y.league_percent;
    return x.order < y.order;
  });
  return outcomes;
}

// True when the text consists of distinct outcome letters only.
bool IsOutcomeLetters(std::string_view letters) {
  for (size_t i = 0; i < letters.size(); ++i) {
    if (kOutcomeLetters.find(letters[i]) == std::string_view::npos) return false;
    if (letters.find(letters[i], i + 1) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

void SelectTip(PredictionState& state) {
  const auto [first, second, third] = RankOutcomes(state);
  if (first.percent - second.percent >= 33) {
    state.Tip = std::string("  ") + first.letter;
    state.TipPercent = static_cast<uint8_t>(first.percent);
  } else if (first.percent - third.percent >= 11) {
    state.Tip = std::string(" ") + first.letter + second.letter;
    state.TipPercent = static_cast<uint8_t>(first.percent + second.percent);
  } else {
    state.Tip = std::string{first.letter, second.letter, third.letter};
    state.TipPercent = 100;
  }
}

void SelectUnderOverTip(PredictionState& state, int under) {
  state.HomePercent = static_cast<uint16_t>(under);
  state.AwayPercent = static_cast<uint16_t>(100 - under);
  if (under > 50) {
    state.Tip = " < ";
    state.TipPercent = static_cast<uint8_t>(under);
  } else {
    state.Tip = " > ";
    state.TipPercent = static_cast<uint8_t>(100 - under);
  }
}

std::string TrimTip(std::string_view tip) {
  return std::string(TrimSpaces(tip));
}

TipKind KindOfTip(std::string_view tip) {
  const std::string trimmed = TrimTip(tip);
  if (trimmed == "<") return TipKind::Under;
  if (trimmed == ">") return TipKind::Over;
  if (trimmed.empty() || !IsOutcomeLetters(trimmed)) return TipKind::None;
  switch (trimmed.size()) {
    case 1:
      return TipKind::Single;
    case 2:
      return TipKind::DoubleChance;
    case 3:
      return TipKind::ThreeWay;
    default:
      return TipKind::None;
  }
}

bool TipWins(std::string_view tip, char outcome) {
  if (kOutcomeLetters.find(outcome) == std::string_view::npos) return false;
  switch (KindOfTip(tip)) {
    case TipKind::Single:
    case TipKind::DoubleChance:
    case TipKind::ThreeWay:
      return TrimTip(tip).find(outcome) != std::string::npos;
    default:
      return false;
  }
}

}  // namespace morvela
