#include "analysis/analysis_messages.h"

#include "i18n/message_ids.h"
#include "i18n/messages.h"

namespace morvela {

std::string AnalysisProblemText(const Messages& messages, const AnalysisStatus& status,
                                const std::string& team_name) {
  const std::string team = team_name.empty() ? std::to_string(status.team) : team_name;
  std::string reason;
  switch (status.problem) {
    case AnalysisProblem::kNone:
      return "";
    case AnalysisProblem::kTooManyTeams:
      reason = messages.Filled(msg::kTooManyTeamsForAnalysis, {std::to_string(status.count)});
      break;
    case AnalysisProblem::kTooManyMatches:
      reason = messages.Filled(msg::kTooManyMatchesForAnalysis, {team});
      break;
    case AnalysisProblem::kHomeTeamNotFound:
    case AnalysisProblem::kAwayTeamNotFound:
      reason = messages.Filled(msg::kNotATeamOfTheSeason, {team});
      break;
  }
  return messages.Msg(msg::kTipCannotBeCalculated) + "\r\n" + reason;
}

}  // namespace morvela
