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
#include "program/program.h"

namespace morvela {

// What PrepareSeasons did not manage: one line per competition the replay refuses
// ("England 2019/2020: not replayable: ...").
struct PrepareReport {
  std::vector<std::string> not_replayable;
};

// For each league of `leagues` (all twenty when empty) that has competitions: computes the
// season-start data of all its competitions (ComputeSeasonStarts), then replays every one of
// them in season order with the program's season replay, each competition in its own
// transaction. `progress` receives one line per league ("England: 15 seasons, 5700 matches,
// 1.2 s") and one line per competition the replay refuses because it exceeds the replay's
// limits ("  England 2019/2020: not replayable: ..."); such a competition keeps its rows as
// they were. A database error rolls back the competition at hand and escapes as DatabaseError.
// Each competition's replay removes its REPLAY_PENDING mark in the replay's own transaction (a
// refused one too: the refusal is reported and retrying cannot change it).
// When the leagues hold at least half of all matches (a first import), the rating-difference
// indexes are set aside for the replays and made again at the end, also after an error; a run
// killed in between leaves them to RestoreDifferenceIndexes at the next start.
PrepareReport PrepareSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                             const std::vector<int>& leagues,
                             std::function<void(const std::string&)> progress);

// Marks every competition of `league` as needing a replay (REPLAY_PENDING). Called in the
// transaction that changes the league's matches: a new season start moves the starts of all
// later seasons, so the whole league is replayed.
void MarkLeagueForReplay(Connection& conn, int league);

// The leagues with competitions marked as needing a replay, in id order.
std::vector<int> PendingReplayLeagues(Connection& conn);

// Replays the leagues that still have marked competitions (an import or replay that was killed
// half-way); does nothing when none are marked. Safe to call at every start-up of a front end,
// under the folder's writer lock.
PrepareReport ReplayPendingSeasons(Tdm& dm, WaitIndicator& wait, const Messages& msgs,
                                   std::function<void(const std::string&)> progress);

// Makes the rating-difference indexes that a killed replay left set aside. Only reads when
// they are all there.
void RestoreDifferenceIndexes(Connection& conn);

// For the start-up of a front end, after the program's start-up sequence: when no other writer
// holds the program folder, removes what killed writers left beside the database and, when
// seasons wait for a replay (an import, a result edit or an install cut short), replays them
// under the folder's lock behind a wait box ("Replaying unfinished seasons..."). Returns the
// report; nothing happens (an empty report) when nothing is marked or another writer is at work.
PrepareReport ReplayPendingAtStartup(Program& program);

}  // namespace morvela
