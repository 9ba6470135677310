// The value-tip run: for every unplayed fixture from today on that has a KURZY row, every bet
// the bookmaker prices becomes a TIPY row with the program's percentage for it and its margin
// against the odds (the percentage minus the percentage the odds imply). The tips list then
// puts the bets with the largest margin on top. Tip selection is not used: a fixture gives up
// to six rows (home, draw, away and the three double chances), or two in under/over mode.
#pragma once

#include "tips/tip_runs.h"

namespace morvela {

// Runs the value tips in the program's result mode. Without a fixture that has odds it shows
// message 170 as a warning, leaves TIPY as it was and returns false. Otherwise it replaces TIPY
// with one row per fixture and bet whose odds are a number greater than 0, sets TipRunKind to
// 4, leaves the tip and percentage of the last stored row in the prediction state, shows the
// list through `view` and returns true. Database errors pass through.
bool RunValueTips(Program& program, TipsListView& view);

}  // namespace morvela
