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
    {211, {"Competition %1: ", "Wettbewerb %1: ", "Súťaž %1: ", "Competizione %1: "}},
    {212,
     {"%1 teams, the rating replay holds at most %2",
      "%1 Mannschaften, die Neuberechnung der Wertungen fasst höchstens %2",
      "%1 mužstiev, prepočet hodnotení zvládne najviac %2",
      "%1 squadre, il ricalcolo dei punteggi ne gestisce al massimo %2"}},
    {213,
     {"%1 teams, the goal replay holds at most %2",
      "%1 Mannschaften, die Neuberechnung der Tore fasst höchstens %2",
      "%1 mužstiev, prepočet gólov zvládne najviac %2",
      "%1 squadre, il ricalcolo dei gol ne gestisce al massimo %2"}},
    {214,
     {"team %1 has %2 matches in %3, the replay holds at most %4",
      "Mannschaft %1 hat %2 Spiele in %3, die Neuberechnung fasst höchstens %4",
      "mužstvo %1 má %2 zápasov v %3, prepočet zvládne najviac %4",
      "la squadra %1 ha %2 partite in %3, il ricalcolo ne gestisce al massimo %4"}},
    {215,
     {"team %1 has %2 home matches, the goal replay holds at most %3",
      "Mannschaft %1 hat %2 Heimspiele, die Neuberechnung der Tore fasst höchstens %3",
      "mužstvo %1 má %2 domácich zápasov, prepočet gólov zvládne najviac %3",
      "la squadra %1 ha %2 partite in casa, il ricalcolo dei gol ne gestisce al massimo %3"}},
    {216,
     {"team %1 has %2 away matches, the goal replay holds at most %3",
      "Mannschaft %1 hat %2 Auswärtsspiele, die Neuberechnung der Tore fasst höchstens %3",
      "mužstvo %1 má %2 zápasov vonku, prepočet gólov zvládne najviac %3",
      "la squadra %1 ha %2 partite in trasferta, il ricalcolo dei gol ne gestisce al massimo %3"}},

    {217,
     {"Could not find file '%1'.", "Die Datei '%1' wurde nicht gefunden.",
      "Súbor '%1' sa nenašiel.", "Impossibile trovare il file '%1'."}},

    // A failed request's reason, under the update messages.
    {218,
     {"no update server is set (Server in the section Update of Nastavenie.ini)",
      "es ist kein Aktualisierungsserver eingestellt (Server im Abschnitt Update von "
      "Nastavenie.ini)",
      "nie je nastavený server aktualizácií (Server v sekcii Update súboru Nastavenie.ini)",
      "nessun server di aggiornamento impostato (Server nella sezione Update di Nastavenie.ini)"}},
    {219,
     {"the server could not be reached (%1)", "der Server war nicht erreichbar (%1)",
      "server nebol dostupný (%1)", "impossibile raggiungere il server (%1)"}},
    {220,
     {"the time limit of %1 s was reached", "das Zeitlimit von %1 s wurde erreicht",
      "uplynul časový limit %1 s", "è stato raggiunto il limite di tempo di %1 s"}},
    {221,
     {"the server's answer is longer than %1 KiB", "die Antwort des Servers ist länger als %1 KiB",
      "odpoveď servera je dlhšia ako %1 KiB", "la risposta del server supera %1 KiB"}},
    {222,
     {"the request was cancelled", "die Anfrage wurde abgebrochen", "požiadavka bola zrušená",
      "la richiesta è stata annullata"}},
    {223,
     {"the server answered %1", "der Server antwortete mit %1", "server odpovedal %1",
      "il server ha risposto %1"}},
    {224,
     {"cannot write %1", "%1 kann nicht geschrieben werden", "nedá sa zapísať %1",
      "impossibile scrivere %1"}},
    // The engine's reason for a file it cannot use, framed in the user's language (English
    // shows the engine's words alone).
    {225,
     {"%1", "Die Datei kann nicht als Datenbank des Programms dienen: %1",
      "Súbor nemôže slúžiť ako databáza programu: %1",
      "Il file non può essere usato come database del programma: %1"}},

    // 240-299: the desktop windows' polish.
    {240,
     {"The list was saved to %1", "Die Liste wurde gespeichert in %1", "Zoznam bol uložený do %1",
      "L'elenco è stato salvato in %1"}},
    {241,
     {"Creating the demo database: %1 of %2 parts",
      "Die Demo-Datenbank wird erstellt: %1 von %2 Teilen",
      "Vytvára sa ukážková databáza: %1 z %2 častí",
      "Creazione del database dimostrativo: %1 di %2 parti"}},

    // 300-349: fetching from the public source.
    {300,
     {"No update server is set. Fetch the current results, fixtures and odds from the public "
      "results site (football-data.co.uk)?",
      "Es ist kein Update-Server eingestellt. Aktuelle Ergebnisse, Spielpläne und Quoten von der "
      "öffentlichen Ergebnisseite (football-data.co.uk) holen?",
      "Nie je nastavený aktualizačný server. Stiahnuť aktuálne výsledky, program zápasov a kurzy "
      "z verejnej stránky výsledkov (football-data.co.uk)?",
      "Nessun server di aggiornamento impostato. Scaricare risultati, calendario e quote attuali "
      "dal sito pubblico dei risultati (football-data.co.uk)?"}},
    {301,
     {"Files: %1 new, %2 changed, %3 unchanged.\r\nMatches: %4 added, %5 updated; %6 fixtures.",
      "Dateien: %1 neu, %2 geändert, %3 unverändert.\r\nSpiele: %4 hinzugefügt, %5 "
      "aktualisiert; %6 angesetzte Spiele.",
      "Súbory: %1 nové, %2 zmenené, %3 bez zmeny.\r\nZápasy: %4 pridané, %5 aktualizované; %6 "
      "nadchádzajúce zápasy.",
      "File: %1 nuovi, %2 modificati, %3 invariati.\r\nPartite: %4 aggiunte, %5 aggiornate; %6 "
      "in programma."}},
    {302,
     {"Nothing new at the public results site.", "Nichts Neues auf der öffentlichen Ergebnisseite.",
      "Na verejnej stránke výsledkov nie je nič nové.",
      "Niente di nuovo sul sito pubblico dei risultati."}},
    {303,
     {"Fetching from the public results site failed !",
      "Das Holen von der öffentlichen Ergebnisseite ist fehlgeschlagen !",
      "Sťahovanie z verejnej stránky výsledkov zlyhalo !",
      "Il download dal sito pubblico dei risultati non è riuscito !"}},
    {304,
     {"This is the demo database of invented clubs; real results are not mixed into it. Fetch "
      "into another program folder.",
      "Dies ist die Demo-Datenbank mit erfundenen Vereinen; echte Ergebnisse werden nicht "
      "hineingemischt. Holen Sie sie in einen anderen Programmordner.",
      "Toto je ukážková databáza s vymyslenými klubmi; skutočné výsledky sa do nej nemiešajú. "
      "Stiahnite ich do iného priečinka programu.",
      "Questo è il database dimostrativo con club inventati; i risultati reali non vi vengono "
      "mescolati. Scaricateli in un'altra cartella del programma."}},
    {305,
     {"Fetching %1 of %2: %3", "Hole %1 von %2: %3", "Sťahuje sa %1 z %2: %3",
      "Download %1 di %2: %3"}},

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
    {353, {"Model %", "Modell %", "Model %", "Modello %"}},
    {354, {"Market %", "Markt %", "Trh %", "Mercato %"}},
    {355,
     {"Show Model % and Market %", "Modell % und Markt % zeigen", "Zobraziť Model % a Trh %",
      "Mostra Modello % e Mercato %"}},

    // 400-419: installation.
    {400,
     {"given with --home", "mit --home angegeben", "zadaný cez --home", "indicata con --home"}},
    {401,
     {"set in MORVELA_HOME", "in MORVELA_HOME gesetzt", "nastavený v MORVELA_HOME",
      "impostata in MORVELA_HOME"}},
    {402,
     {"the program's own folder, which is writable and holds a database or settings file",
      "der Ordner des Programms, beschreibbar und mit einer Datenbank oder Einstellungsdatei",
      "priečinok programu, zapisovateľný a s databázou alebo súborom nastavení",
      "la cartella del programma, scrivibile e con un database o un file di impostazioni"}},
    {403,
     {"the per-user data folder", "der Datenordner des Benutzers", "dátový priečinok používateľa",
      "la cartella dei dati dell'utente"}},
};

}  // namespace

std::span<const AddedMessage> AddedMessages() {
  return kAdded;
}

}  // namespace morvela
