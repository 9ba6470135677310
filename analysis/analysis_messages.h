// What the match analysis tells the user when it cannot analyse a pairing, in the user's
// language.
#pragma once

#include <string>

#include "analysis/pairing_analysis.h"
#include "core/result_mode.h"
#include "i18n/message_ids.h"

namespace morvela {

class Messages;

// "Tip cannot be calculated" and the reason on the next line. `team_name` names the team
// concerned (the team's id is shown when it is empty).
std::string AnalysisProblemText(const Messages& messages, const AnalysisStatus& status,
                                const std::string& team_name);

// The message number of a result mode's name in captions: FULL TIME, 1st HALF, 2nd HALF,
// UNDER / OVER.

}  // namespace morvela
