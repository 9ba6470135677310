#include "analysis/analysis_messages.h"

#include <array>
#include <string_view>

#include "i18n/message_ids.h"
#include "i18n/messages.h"

namespace morvela {

namespace {

// Texts per language (English, German, Slovak, Italian) around one value.
struct Text {
  std::array<std::string_view, 4> before;
  std::array<std::string_view, 4> after;
};

constexpr Text kTooManyTeams{
    {"The season has ", "Die Saison hat ", "Ročník má ", "La stagione ha "},
    {" teams; the match analysis holds at most 25.",
     " Mannschaften; die Spielanalyse fasst höchstens 25.",
     " mužstiev; analýza zápasu zvládne najviac 25.",
     " squadre; l'analisi della partita ne gestisce al massimo 25."}};

constexpr Text kTooManyMatches{
    {"", "", "", ""},
    {" has played more matches this season than the match analysis holds (50 in all, 25 at home, "
     "25 away).",
     " hat in dieser Saison mehr Spiele bestritten, als die Spielanalyse fasst (50 insgesamt, 25 "
     "Heim, 25 Auswärts).",
     " odohralo v tomto ročníku viac zápasov, než zvládne analýza zápasu (spolu 50, doma 25, "
     "vonku 25).",
     " ha giocato in questa stagione più partite di quante l'analisi ne gestisca (50 in tutto, 25 "
     "in casa, 25 fuori)."}};

constexpr Text kNotInSeason{
    {"", "", "", ""},
    {" is not a team of the loaded season.", " gehört nicht zur geladenen Saison.",
     " nie je mužstvom načítaného ročníka.", " non è una squadra della stagione caricata."}};

std::string Compose(const Text& t, int language, const std::string& value) {
  const auto l = static_cast<size_t>(EffectiveLanguage(language) - 1);
  return std::string(t.before[l]) + value + std::string(t.after[l]);
}

}  // namespace

std::string AnalysisProblemText(const Messages& messages, const AnalysisStatus& status,
                                const std::string& team_name) {
  const std::string team = team_name.empty() ? std::to_string(status.team) : team_name;
  std::string reason;
  switch (status.problem) {
    case AnalysisProblem::kNone:
      return "";
    case AnalysisProblem::kTooManyTeams:
      reason = Compose(kTooManyTeams, messages.Language(), std::to_string(status.count));
      break;
    case AnalysisProblem::kTooManyMatches:
      reason = Compose(kTooManyMatches, messages.Language(), team);
      break;
    case AnalysisProblem::kHomeTeamNotFound:
    case AnalysisProblem::kAwayTeamNotFound:
      reason = Compose(kNotInSeason, messages.Language(), team);
      break;
  }
  return messages.Msg(msg::kTipCannotBeCalculated) + "\r\n" + reason;
}

MessageId ModeNameMessage(ResultMode mode) {
  static constexpr MessageId kNames[kResultModeCount] = {msg::kFullTime, msg::kFirstHalf,
                                                         msg::kSecondHalf, msg::kUnderOver};
  return kNames[ModeIndex(mode)];
}

}  // namespace morvela
