// The current selection of the main window, which every other window reads when it starts:
// league, competition (one league season), season label, team count, zone limits and the
// result mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/result_mode.h"

namespace morvela {

struct Tdm;

struct Selection {
  std::string league;       // ID_LIGA as decimal text; empty while none is picked
  std::string competition;  // SUTAZ.ID as decimal text
  std::string season;       // the loaded ROCNIK ("Active" for the league's current season)
  uint8_t team_count = 0;   // POCET
  uint8_t LM = 0, EL = 0, BARAZ = 0, VYP = 0;  // zone limits of the standings table
  ResultMode result_mode = ResultMode::kFullTime;
};

// Loads the season with the given label of the current league (NacitajIDsutaz): its id, team
// count and zone limits. A league without that season leaves the competition empty and the
// counts 0. It reads through its own result set, so the data module's cursors stay where they
// are.
void NacitajIDsutaz(Tdm& dm, Selection& sel, const std::string& label);

}  // namespace morvela
