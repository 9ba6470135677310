// Tip selection: turns the three final outcome percentages of the prediction state into the tip
// the program proposes (a single outcome, a double chance or a three-way tip) and its tip
// percentage, and the under percentage of a fixture into an under/over tip.
//
// Tip strings are padded with leading blanks so that an ascending text sort puts single tips
// ("  1") before double chances (" 10") before three-way tips ("102"); under and over are
// " < " and " > ". Outcome letters: '1' home win, '0' draw, '2' away win. Consumers compare
// tips only after TrimTip.
#pragma once

#include <string>
#include <string_view>

#include "program/prediction_state.h"

namespace morvela {

// Sets state.Tip and state.TipPercent from HomePercent, DrawPercent and AwayPercent.
// The outcomes are ranked by final percentage; a tie is broken by the league-pass percentage
// and a further tie by the order home, draw, away. With ranked percentages p1 >= p2 >= p3:
//  - p1 - p2 >= 33: single tip of the first letter, TipPercent = p1;
//  - else p1 - p3 >= 11: double chance of the first two letters, TipPercent = p1 + p2;
//  - else three-way tip of all three letters in rank order, TipPercent = 100.
// Three equal final percentages (33/33/33, or 0/0/0 when a live search finds no match) get no
// special treatment: the same tie-breaking ranks them, which gives "102" unless the league-pass
// percentages order them otherwise. Nothing downstream needs a different answer for that case.
void SelectTip(PredictionState& state);

// Under/over tip from under, the percentage chance (0..100) of at most two goals:
// HomePercent = under, AwayPercent = 100 - under; under above 50 gives " < " with under,
// 50 or less gives " > " with 100 - under. DrawPercent is left as it was.
void SelectUnderOverTip(PredictionState& state, int under);

// The tip without its leading and trailing blanks ("  1" -> "1").
std::string TrimTip(std::string_view tip);

enum class TipKind { Single, DoubleChance, ThreeWay, Under, Over, None };

// What kind of tip the text is, blanks ignored. Texts that are not one of the tip formats
// (empty, the displayed words for under and over, repeated or unknown letters) are None.
TipKind KindOfTip(std::string_view tip);

// Whether an outcome tip wins for the match outcome ('1', '0' or '2'): a single tip on its
// letter, a double chance on either of its letters, a three-way tip on any outcome. Under and
// over tips are decided by the goal count, not the outcome, so this never reports them as won;
// neither does it for texts of kind None or an outcome other than the three letters.
bool TipWins(std::string_view tip, char outcome);

}  // namespace morvela
