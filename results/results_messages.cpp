#include "results/results_messages.h"

#include <array>
#include <string_view>

#include "i18n/messages.h"

namespace morvela {

namespace {

// English, German, Slovak, Italian.
constexpr std::array<std::string_view, 4> kHalfTimeAboveFullTime = {
    "The half-time score cannot be higher than the final score !",
    "Der Halbzeitstand kann nicht höher sein als das Endergebnis !",
    "Výsledok polčasu nemôže byť vyšší ako konečný výsledok !",
    "Il risultato del primo tempo non può superare quello finale !"};

constexpr std::array<std::string_view, 4> kNotWritten = {
    "The result was not saved; the match stays as it was.\r\n",
    "Das Ergebnis wurde nicht gespeichert; das Spiel bleibt unverändert.\r\n",
    "Výsledok nebol uložený; zápas zostáva bez zmeny.\r\n",
    "Il risultato non è stato salvato; la partita resta invariata.\r\n"};

}  // namespace

std::string HalfTimeAboveFullTimeText(const Messages& messages) {
  return std::string(kHalfTimeAboveFullTime[messages.Language() - 1]);
}

std::string ResultNotWrittenText(const Messages& messages, const std::string& engine_text) {
  return std::string(kNotWritten[messages.Language() - 1]) + engine_text;
}

}  // namespace morvela
