// A match's outcome in one result mode (the whole match or a half) and its stored text in
// VYSLEDOK, HT_VYSLEDOK and SHT_VYSLEDOK: "1" a home win, "0" a draw, "2" an away win. Every
// place that turns goals into an outcome goes through ScoreOutcome, so the importer, the demo
// generator, the result editor and the live analysis cannot disagree about a score.
#pragma once

#include <optional>
#include <string_view>

namespace morvela {

enum class Outcome { kHomeWin, kDraw, kAwayWin };

// The outcome of a score: more home goals a home win, as many a draw, fewer an away win.
constexpr Outcome ScoreOutcome(int home_goals, int away_goals) {
  if (home_goals > away_goals) return Outcome::kHomeWin;
  if (home_goals < away_goals) return Outcome::kAwayWin;
  return Outcome::kDraw;
}

// The stored text of an outcome: "1", "0" or "2".
constexpr std::string_view OutcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::kHomeWin:
      return "1";
    case Outcome::kDraw:
      return "0";
    case Outcome::kAwayWin:
      return "2";
  }
  return "";
}

// The outcome a stored text names; nullopt for any other text (an empty cell of a match not
// played yet, for one).
constexpr std::optional<Outcome> OutcomeFromText(std::string_view text) {
  if (text == "1") return Outcome::kHomeWin;
  if (text == "0") return Outcome::kDraw;
  if (text == "2") return Outcome::kAwayWin;
  return std::nullopt;
}

}  // namespace morvela
