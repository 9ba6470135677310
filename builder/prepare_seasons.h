// Preparing a built database for use: the season-start data of every competition and a replay
// of every season, so that every match carries its stored rating differences and every fixture
// its under percentage (the program itself replays only the active season after an edit).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/data_module.h"
#include "core/wait_indicator.h"
#include "i18n/messages.h"

namespace morvela {

// For each league of `leagues` (all twenty when empty) that has competitions: computes the
// season-start data of all its competitions (ComputeSeasonStarts), then replays every one of
// them in season order with the program's season replay, each competition in its own
// transaction. `progress` receives one line per league ("England: 15 seasons, 5700 matches,
// 1.2 s") and one line per competition the replay refuses because it exceeds the replay's
// limits ("  England 2019/2020: not replayable: ..."); such a competition keeps its rows as
// they were. A database error rolls back the competition at hand and escapes as DatabaseError.
void PrepareSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                    const std::vector<int>& leagues,
                    std::function<void(const std::string&)> progress);

}  // namespace morvela
