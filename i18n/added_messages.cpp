#include "i18n/added_messages.h"

namespace morvela {
namespace {

// Numbers are grouped by feature so that texts added side by side never take the same number:
// 202-299 notices of the windows and the results editor, 300-349 fetching from the public
// source, 350-399 the second opinion (goal model and market), 400-419 installation.
// Keep each group ordered; "\r\n" is a line break of a message box.
constexpr AddedMessage kAdded[] = {
    // 202-299: windows and the results editor.
    {202,
     {"The half-time score cannot be higher than the final score !",
      "Der Halbzeitstand kann nicht höher sein als das Endergebnis !",
      "Výsledok polčasu nemôže byť vyšší ako konečný výsledok !",
      "Il risultato del primo tempo non può superare quello finale !"}},
    {203,
     {"The result was not saved; the match stays as it was.",
      "Das Ergebnis wurde nicht gespeichert; das Spiel bleibt unverändert.",
      "Výsledok nebol uložený; zápas zostáva bez zmeny.",
      "Il risultato non è stato salvato; la partita resta invariata."}},
    {204,
     {"The season has %1 teams; the match analysis holds at most 25.",
      "Die Saison hat %1 Mannschaften; die Spielanalyse fasst höchstens 25.",
      "Ročník má %1 mužstiev; analýza zápasu zvládne najviac 25.",
      "La stagione ha %1 squadre; l'analisi della partita ne gestisce al massimo 25."}},
    {205,
     {"%1 has played more matches this season than the match analysis holds (50 in all, 25 at "
      "home, 25 away).",
      "%1 hat in dieser Saison mehr Spiele bestritten, als die Spielanalyse fasst (50 insgesamt, "
      "25 Heim, 25 Auswärts).",
      "%1 odohralo v tomto ročníku viac zápasov, než zvládne analýza zápasu (spolu 50, doma 25, "
      "vonku 25).",
      "%1 ha giocato in questa stagione più partite di quante l'analisi ne gestisca (50 in tutto, "
      "25 in casa, 25 fuori)."}},
    {206,
     {"%1 is not a team of the loaded season.", "%1 gehört nicht zur geladenen Saison.",
      "%1 nie je mužstvom načítaného ročníka.", "%1 non è una squadra della stagione caricata."}},

    {207,
     {"The settings could not be written to %1",
      "Die Einstellungen konnten nicht gespeichert "
      "werden: %1",
      "Nastavenia sa nepodarilo zapísať do %1", "Impossibile salvare le impostazioni in %1"}},
    {208,
     {"The competition lists %1 teams; the tables show the first %2.",
      "Der Wettbewerb führt %1 Mannschaften; die Tabellen zeigen die ersten %2.",
      "Súťaž uvádza %1 mužstiev; tabuľky ukazujú prvých %2.",
      "La competizione elenca %1 squadre; le classifiche mostrano le prime %2."}},
    {209,
     {"The competition should have %1 teams but lists %2; the tables show those %2.",
      "Der Wettbewerb sollte %1 Mannschaften haben, führt aber %2; die Tabellen zeigen diese %2.",
      "Súťaž má mať %1 mužstiev, no uvádza %2; tabuľky ukazujú týchto %2.",
      "La competizione dovrebbe avere %1 squadre ma ne elenca %2; le classifiche mostrano queste "
      "%2."}},
    {210,
     {"%1 has more than %2 counted matches; the form table follows the first %2.",
      "%1 hat mehr als %2 gezählte Spiele; die Formtabelle folgt den ersten %2.",
      "%1 má viac ako %2 započítaných zápasov; tabuľka formy sleduje prvých %2.",
      "%1 ha più di %2 partite contate; la classifica della forma segue le prime %2."}},

    // 300-349: fetching from the public source.

    // 350-399: the second opinion.
    {350,
     {"Goal model (1-0-2) %: %1    under-over %: %2    likely scores: %3",
      "Tormodell (1-0-2) %: %1    Unter-Über %: %2    wahrscheinliche Ergebnisse: %3",
      "Gólový model (1-0-2) %: %1    menej-viac %: %2    pravdepodobné výsledky: %3",
      "Modello dei gol (1-0-2) %: %1    under-over %: %2    risultati probabili: %3"}},
    {351,
     {"Market without margin (1-0-2) %: %1    under-over %: %2",
      "Markt ohne Marge (1-0-2) %: %1    Unter-Über %: %2",
      "Trh bez marže (1-0-2) %: %1    menej-viac %: %2",
      "Mercato senza margine (1-0-2) %: %1    under-over %: %2"}},
    {352,
     {"Goal model from the half-time score (1-0-2) %: %1    under-over %: %2",
      "Tormodell ab dem Halbzeitstand (1-0-2) %: %1    Unter-Über %: %2",
      "Gólový model od výsledku polčasu (1-0-2) %: %1    menej-viac %: %2",
      "Modello dei gol dal risultato del primo tempo (1-0-2) %: %1    under-over %: %2"}},

    // 400-419: installation.
};

}  // namespace

std::span<const AddedMessage> AddedMessages() {
  return kAdded;
}

}  // namespace morvela
