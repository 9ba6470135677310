#include "i18n/messages.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "i18n/added_messages.h"

namespace morvela {
namespace {

// Entry k in language l is element 4k + l - 1, English first. Texts keep their leading and
// trailing blanks; "\r\n" is a line break of a multi-line message box.
constexpr int kTextCount = kMessageCount * kLanguageCount;
constexpr std::array<std::string_view, kTextCount> kTexts = {
    // 0
    "Unable to connect to the database !\r\nThe program ends",
    "Die Verbindung mit der Datenbank konnte nicht aufgebaut werden !\r\nDas Programm wird sich "
    "beenden",
    "Nepodarilo sa pripojiť k datábaze !\r\nProgram sa ukončí",
    "Impossibile connettersi al database!\r\nIl programma si sta chiudendo",
    // 1
    "English league loaded !",
    "Englische Liga geladen !",
    "Anglická liga načítaná !",
    "Campionato Inglese caricato !",
    // 2
    "Belgian League loaded !",
    "Belgische Liga geladen !",
    "Belgická liga načítaná !",
    "Campionato Belga caricato !",
    // 3
    "Czech league loaded !",
    "Tschechische Liga geladen !",
    "Česká liga načítaná !",
    "Campionato Ceco caricato !",
    // 4
    "French league loaded !",
    "Französische Liga geladen !",
    "Francúzska liga načítaná !",
    "Campionato Francese caricato !",
    // 5
    "Dutch league loaded !",
    "Niederländische Liga geladen !",
    "Holandská liga načítaná !",
    "Campionato Olandese caricato !",
    // 6
    "German league loaded !",
    "Deutsche Liga geladen !",
    "Nemecká liga načítaná !",
    "Campionato Tedesco caricato !",
    // 7
    "Portuguese league loaded !",
    "Portugiesische Liga geladen !",
    "Portugalská liga načítaná !",
    "Campionato Portoghese caricato !",
    // 8
    "Austrian league loaded !",
    "Österreichische Liga geladen !",
    "Rakúska liga načítaná !",
    "Campionato Austriaco caricato !",
    // 9
    "Scottish league loaded !",
    "Schottische Liga geladen !",
    "Škótska liga načítaná !",
    "Campionato Scozzese caricato !",
    // 10
    "Spanish league loaded !",
    "Spanische Liga geladen !",
    "Španielska liga načítaná!",
    "Campionato Spagnolo caricato !",
    // 11
    "Italian league loaded !",
    "Italienische Liga geladen !",
    "Talianska liga načítaná !",
    "Campionato Italiano caricato !",
    // 12
    "Turkish league loaded !",
    "Türkische Liga geladen !",
    "Turecká liga načítaná !",
    "Campionato Turco caricato !",
    // 13
    "Swiss league loaded !",
    "Schweizerische Liga geladen !",
    "Švajčiarska liga načítaná !",
    "Campionato Svizzero caricato !",
    // 14
    "Greek league loaded !",
    "Griechische Liga geladen !",
    "Grécka liga načítaná !",
    "Campionato Greco caricato !",
    // 15
    "Russian league loaded !",
    "Russische Liga geladen !",
    "Ruská liga načítaná !",
    "Campionato Russo caricato !",
    // 16
    "Slovak league loaded !",
    "Slowakische Liga geladen !",
    "Slovenská liga načítaná !",
    "Campionato Slovacco caricato !",
    // 17
    "Choose season",
    "Wählen Sie den Jahrgang aus",
    "Vyberte si ročník",
    "Scegli stagione",
    // 18
    "Search",
    "Suche",
    "Hľadaj",
    "Cerca",
    // 19
    "Add",
    "Hinzufügen",
    "Pridaj",
    "Aggiungi",
    // 20
    "Edit",
    "Ändern",
    "Uprav",
    "Modifica",
    // 21
    "Delete",
    "Löschen",
    "Vymaž",
    "Cancella",
    // 22
    "Please wait ...",
    "Warten Sie, bitte ...",
    "Prosím čakajte ...",
    "Attendere prego ...",
    // 23
    "No matches are played today!",
    "Heute werden keine Spiele ausgetragen !",
    "Dnes sa nehrajú žiadne zápasy !",
    "Non sono state giocate partite oggi !",
    // 24
    "No matches are played this week !",
    "Diese Woche werden keine Spiele ausgetragen !",
    "Tento týždeň sa nehrajú žiadne zápasy !",
    "Non sono state giocate partite questa settimana !",
    // 25
    "No matches are played in chosen league !",
    "In der ausgewählten Liga werden keine Spiele mehr ausgetragen !",
    "Vo vybranej lige sa už nehrajú žiadne zápasy !",
    "Non sono state giocate partite per il campionato scelto !",
    // 26 (not used)
    "",
    "",
    "",
    "",
    // 27
    "Updating the database ... ",
    "Die Datenbank wird aktualisiert ...",
    "Aktualizujem databázu ...",
    "Aggiornamento database in corso ... ",
    // 28
    "Failed to update the database !",
    "Die Aktualisierung der Datenbank ist nicht gelungen !",
    "Nepodarilo sa zaktualizovať databázu !",
    "Aggiornamento database fallito !",
    // 29
    "Could not connect to update server !",
    "Die Verbindung mit dem Aktualisierungsserver konnte nicht aufgebaut werden !",
    "Nepodarilo sa pripojiť k aktualizačnému serveru !",
    "Impossibile connettersi al server di aggiornamento !",
    // 30
    "You have installed the current version of database",
    "Die aktuelle Datenbankversion ist installiert",
    "Máte nainštalovanú aktuálnu verziu databázy",
    "Hai installato la versione corrente del database",
    // 31
    "Your attempt to update is blocked by admin",
    "Ihr Aktualisierungsversuch wurde vom Administrator blockiert",
    "Váš pokus o aktualizáciu je blokovaný zo strany administrátora",
    "Tentativo di aggiornamento bloccato dall admin",
    // 32 (not used)
    "",
    "",
    "",
    "",
    // 33
    "The program is ending ...",
    "Das Programm wird geschlossen ...",
    "Program sa ukončuje ...",
    "Chiusura programma in corso ...",
    // 34
    "England",
    "England",
    "Anglicko",
    "Inghilterra",
    // 35
    "Select English league",
    "Wähle die englische Liga aus",
    "Vyber si anglickú ligu",
    "Seleziona il Campionato Inglese",
    // 36
    "Spain",
    "Spanien",
    "Španielsko",
    "Spagna",
    // 37
    "Select Spanish league",
    "Wähle die Spanische Liga aus",
    "Vyber si španielsku ligu",
    "Seleziona il Campionato Spagnolo",
    // 38
    "Italy",
    "Italien",
    "Taliansko",
    "Italia",
    // 39
    "Select Italian league",
    "Wähle die italienische Liga aus",
    "Vyber si taliansku ligu",
    "Seleziona il Campionato Italiano",
    // 40
    "Turkey",
    "Türkei",
    "Turecko",
    "Turchia",
    // 41
    "Select Turkish league",
    "Wähle die türkische Liga aus",
    "Vyber si tureckú ligu",
    "Seleziona il Campionato Turco",
    // 42
    "Website www.morvela.net will be opened in your browser",
    "Webseite www.morvela.net wird im Browser geöffnet werden",
    "Otvorí sa stránka\r\nwww.morvela.net vo Vašom\r\nprehliadači",
    "Il sito www.morvela.net in apertura sul tuo browser",
    // 43
    "Setting",
    "Einstellungen",
    "Nastavenie",
    "Impostazioni",
    // 44
    "Update",
    "Aktualisierung",
    "Aktualizácia",
    "Aggiorna",
    // 45
    "Switzerland",
    "Schweiz",
    "Švajčiarsko",
    "Svizzera",
    // 46
    "Select Swiss league",
    "Wähle die schweizerische Liga aus",
    "Vyber si švajčiarsku ligu",
    "Seleziona il Campionato Svizzero",
    // 47
    "Greece",
    "Griechenland",
    "Grécko",
    "Grecia",
    // 48
    "Select Greek league",
    "Wähle die griechische Liga aus",
    "Vyber si grécku ligu",
    "Seleziona il Campionato Greco",
    // 49
    "Russia",
    "Russland",
    "Rusko",
    "Russia",
    // 50
    "Select Russian league",
    "Wähle die russische Liga aus",
    "Vyber si ruskú ligu",
    "Seleziona il Campionato Russo",
    // 51
    "Belgium",
    "Belgien",
    "Belgicko",
    "Belgio",
    // 52
    "Select Belgian league",
    "Wähle die belgische Liga aus",
    "Vyber si belgickú ligu",
    "Seleziona il Campionato Belga",
    // 53
    "Slovakia",
    "Slowakei",
    "Slovensko",
    "Slovacchia",
    // 54
    "Select Slovak league",
    "Wähle die slowakische Liga aus",
    "Vyber si slovenskú ligu",
    "Seleziona il Campionato Slovacco Slovak league",
    // 55
    "Czech",
    "Tschechien",
    "Česko",
    "Rep. Ceca",
    // 56
    "Select Czech league",
    "Wähle die tschechische Liga aus",
    "Vyber si českú ligu",
    "Seleziona il Campionato Ceco",
    // 57
    "France",
    "Frankreich",
    "Francúzsko",
    "Francia",
    // 58
    "Select French league",
    "Wähle die französisch Liga aus",
    "Vyber si francúzsku ligu",
    "Seleziona il Campionato Francese",
    // 59
    "Netherlands",
    "Niederlande",
    "Holandsko",
    "Olanda",
    // 60
    "Select Dutch league",
    "Wähle die holländische Liga aus",
    "Vyber si holandskú ligu",
    "Seleziona il Campionato Olandese",
    // 61
    "Germany",
    "Deutschland",
    "Nemecko",
    "Germania",
    // 62
    "Select German league",
    "Wähle die deutsche Liga aus",
    "Vyber si nemeckú ligu",
    "Seleziona il Campionato Tedesco",
    // 63
    "Portugal",
    "Portugal",
    "Portugalsko",
    "Portogallo",
    // 64
    "Select Portuguese league",
    "Wähle die portugiesische Liga aus",
    "Vyber si portugalskú ligu",
    "Seleziona il Campionato Portoghese",
    // 65
    "Austria",
    "Österreich",
    "Rakúsko",
    "Austria",
    // 66
    "Select Austrian league",
    "Wähle die österreichische Liga aus",
    "Vyber si rakúsku ligu",
    "Seleziona il Campionato Austriaco",
    // 67
    "Scotland",
    "Schottland",
    "Škótsko",
    "Scozia",
    // 68
    "Select Scottish league",
    "Wähle die schottische Liga aus",
    "Vyber si škótsku ligu",
    "Seleziona il Campionato Scozzese",
    // 69
    "Archive",
    "Archiv",
    "Archív",
    "Archivio",
    // 70
    "Tables",
    "Tabellen",
    "Tabuľky",
    "Tabelle",
    // 71
    "Results",
    "Ergebnisse",
    "Výsledky",
    "Risultati",
    // 72
    "Tip for today",
    "Tipp für heute",
    "Tip na dnes",
    "Tip di oggi",
    // 73
    "Tips for the week",
    "Tipps für die Woche",
    "Tipy na týždeň",
    "Tips della settimana",
    // 74
    "Tipping a League",
    "Tippe die Liga",
    "Morvela ligu",
    "Pronostici Campionato",
    // 75
    "Search for tip",
    "Such der Tipp",
    "Hľadaj tip",
    "Cerca un pronostico",
    // 76
    "Select a League",
    "Wähle eine Liga aus",
    "Vyber si ligu",
    "Seleziona un campionato",
    // 77
    "TEAM",
    "MANNSCHAFT",
    "MUŽSTVO",
    "SQUADRA",
    // 78
    "MATCHES",
    "SPIELE",
    "ZÁPASY",
    "PARTITE",
    // 79
    "WINS",
    "SIEGE",
    "VÝHRY",
    "VINTE",
    // 80
    "DRAWS",
    "UNENT.",
    "REMÍZY",
    "PARI",
    // 81
    "LOSSES",
    "NIEDER.",
    "PREHRY",
    "PERSE",
    // 82
    "SCORE",
    "STAND",
    "SKÓRE",
    "RISULTATO",
    // 83
    "POINTS",
    "PUNKTE",
    "BODY",
    "PUNTI",
    // 84
    "Home",
    "Heim",
    "Doma",
    "Casa",
    // 85
    "Away",
    "Auswärts",
    "Vonku",
    "Fuori",
    // 86
    "Together",
    "Insgesamt",
    "Celkom",
    "Entrambi",
    // 87
    "ELO",
    "ELO",
    "ELO",
    "ELO",
    // 88
    "ELO Home",
    "ELO Heim",
    "ELO Doma",
    "ELO Casa",
    // 89
    "ELO Away",
    "ELO Auswärts",
    "ELO Vonku",
    "ELO Fuori",
    // 90
    "No results are recorded !",
    "Kein Ergebnis wurde erfasst !",
    "Nie je evidovaný žiaden výsledok !",
    "Nessun risultato salvato !",
    // 91
    "DATE",
    "DATUM",
    "DÁTUM",
    "DATA",
    // 92
    "HOME",
    "HEIMMANNSCHAFT",
    "DOMÁCI",
    "CASA",
    // 93
    "GUEST",
    "GASTMANNSCHAFT",
    "HOSTIA",
    "OSPITE",
    // 94
    "The same two teams are selected !",
    "Zwei gleiche Mannschaften wurden ausgewählt !",
    "Sú zvolené dve rovnaké mužstvá !",
    "Hai selezionato la stessa squadra !",
    // 95
    "Add result",
    "Ergebnis hinzufügen",
    "Pridaj výsledok",
    "Aggiungi risultato",
    // 96
    "Edit result",
    "Ergebnis ändern",
    "Uprav výsledok",
    "Modifica risultato",
    // 97
    "Search result",
    "Ergebnis suchen",
    "Hľadaj výsledok",
    "Cerca risultato",
    // 98
    "Forfeit",
    "Kontumaz",
    "Kontumácia",
    "Forfeit",
    // 99
    "  Also vice versa",
    "  Auch umgekehrt",
    "  Aj opačne",
    "  Anche viceversa",
    // 100
    "OK",
    "OK",
    "OK",
    "OK",
    // 101
    "Back",
    "Zurück",
    "Späť",
    "Indietro",
    // 102
    "Home",
    "Heimmannschaft",
    "Domáci",
    "Casa",
    // 103
    "Guest",
    "Gastmannschaft",
    "Hostia",
    "Ospite",
    // 104
    "Date",
    "Datum",
    "Dátum",
    "Data",
    // 105
    "Result",
    "Ergebnis",
    "Výsledok",
    "Risultato",
    // 106
    "Tip",
    "Tipp",
    "Tip",
    "Tip",
    // 107
    "Match in order",
    "Spiel in der Reihenfolge",
    "Zápas v poradí",
    "Partita in ordine",
    // 108
    "Performance in ELO points",
    "Leistungsfähigkeit in ELO Punkten",
    "Výkonnosť v ELO bodoch",
    "Performance in ELO punti",
    // 109
    "Show matches",
    "Spiele abbilden",
    "Zobraziť zápasy",
    "Mostra partite",
    // 110
    "Latest matches",
    "Letzte Spiele",
    "Posledné zápasy",
    "Ultime partite",
    // 111
    "LEAGUE",
    "LIGA",
    "LIGA",
    "CAMPIONATO",
    // 112 (not used)
    "",
    "",
    "",
    "",
    // 113 (not used)
    "",
    "",
    "",
    "",
    // 114 (not used)
    "",
    "",
    "",
    "",
    // 115 (not used)
    "",
    "",
    "",
    "",
    // 116 (not used)
    "",
    "",
    "",
    "",
    // 117
    "Program setting",
    "Einstellungen des Programms",
    "Nastavenie programu",
    "Impostazioni programma",
    // 118
    "Tips",
    "Tipps",
    "Tipy",
    "Tips",
    // 119
    "Tipping a League for",
    "Tippe die Liga für",
    "Morvela ligu na",
    "Pronostica un campionato per",
    // 120
    "days ahead",
    "Tage im Voraus",
    "dní dopredu",
    "giorni a venire",
    // 121
    "Show matches of three guesses",
    "Spiele mit Dreitipp abbilden",
    "Zobrazovať zápasy s 3tipom",
    "Mostra ultime 3 partite",
    // 122
    "Update the results database",
    "Die Datenbank der Ergebnisse aktualisieren",
    "Aktualizovať databázu výsledkov",
    "Aggiorna il database risultati",
    // 123
    "When the program starts",
    "Beim Start des Programms",
    "Pri štarte programu",
    "Quando il programma si avvia",
    // 124
    "Manually",
    "Manual",
    "Manuálne",
    "Manualmente",
    // 125 (not used)
    "",
    "",
    "",
    "",
    // 126 (not used)
    "",
    "",
    "",
    "",
    // 127
    "Info",
    "Info",
    "Info",
    "Info",
    // 128 (not used)
    "",
    "",
    "",
    "",
    // 129
    "Version",
    "Version",
    "Verzia",
    "Versione",
    // 130
    "Find a new version",
    "Neue Version des Programms suchen",
    "Nájsť novú verziu programu",
    "Trova nuova versione",
    // 131
    "Language",
    "Sprache",
    "Jazyk",
    "Lingua",
    // 132
    "Select the language of the program:",
    "Wählen Sie die Programmsprache:",
    "Vyberte si jazyk programu:",
    "Seleziona la lingua del programma:",
    // 133
    "English",
    "Englisch",
    "Anglický",
    "Inglese",
    // 134
    "German",
    "Deutsch",
    "Nemecký",
    "Tedesco",
    // 135
    "Slovak",
    "Slowakisch",
    "Slovenský",
    "Slovaccho",
    // 136
    "To change the language you need to restart the program !",
    "Für die Änderung der Sprache ist es nötig das Programm neu zu starten !",
    "Pre zmenu jazyka je nutné reštartovať program !",
    "Per cambiare la lingua devi riavviare il programma !",
    // 137
    "For the correct operation of the program it is necessary to update the results database",
    "Für den ordnungsgemässen Betrieb des Programms ist es notwendig, die Datenbank zu "
    "aktualisieren",
    "Pre korektné fungovanie programu je nutné aktualizovať databázu !",
    "Per il corretto funzionamento del programma devi aggiornare il database risultati",
    // 138
    "ODD",
    "QUOTE",
    "KURZ",
    "QUOTA",
    // 139
    "Check for a new version of the program",
    "Prüfen Sie, ob eine neue Version des Programms",
    "Skontrolovať novú verziu programu",
    "Controlla per una nuova versione del programma",
    // 140
    "Not available",
    "Nicht verfügbar",
    "Nie sú k dispozícií",
    "Non disponibile",
    // 141
    "DIF.%",
    "UNT.%",
    "ROZ.%",
    "DIF.%",
    // 142
    "Bet on match",
    "Wette auf Spiel",
    "Vsadiť na zápas",
    "Scommetti sulla partita",
    // 143
    "Denmark",
    "Dänemark",
    "Dánsko",
    "Danimarca",
    // 144
    "Poland",
    "Polen",
    "Poľsko",
    "Polonia",
    // 145
    "Romania",
    "Rumänien",
    "Rumunsko",
    "Romania",
    // 146
    "Ukraine",
    "Ukraine",
    "Ukrajina",
    "Ucraina",
    // 147
    "Select Danish league",
    "Wähle die dänische Liga aus",
    "Vyber si dánsku ligu",
    "Seleziona il Campionato Danese",
    // 148
    "Select Polish league",
    "Wähle die polnischen Liga aus",
    "Vyber si poľskú ligu",
    "Seleziona il Campionato Polacco",
    // 149
    "Select Romanian league",
    "Wähle die rumänische Liga aus",
    "Vyber si rumunskú ligu",
    "Seleziona il Campionato Rumeno",
    // 150
    "Select Ukrainian league",
    "Wähle die ukrainische Liga aus",
    "Vyber si ukrajinskú ligu",
    "Seleziona il Campionato Ucraino",
    // 151
    "Danish league loaded !",
    "Dänischen Liga geladenen !",
    "Dánska liga načítaná !",
    "Campionato Danese caricato !",
    // 152
    "Polish league loaded !",
    "Polnischen Liga geladenen !",
    "Poľská liga načítaná !",
    "Campionato Polacco caricato !",
    // 153
    "Romanian league loaded !",
    "Rumänische Liga geladenen !",
    "Rumunská liga načítaná !",
    "Campionato Rumeno caricato !",
    // 154
    "Ukrainian league loaded !",
    "Ukrainischen Liga geladenen !",
    "Ukrajinská liga načítaná !",
    "Campionato Ucraino caricato !",
    // 155
    "FULL TIME",
    "ENDSTAND",
    "CELÝ ZÁPAS",
    "FINALE",
    // 156
    "1st HALF",
    "1. HÄLFTE",
    "1. POLČAS",
    "1° TEMPO",
    // 157
    "2nd HALF",
    "2. HÄLFTE",
    "2. POLČAS",
    "2° TEMPO",
    // 158
    "Halftime",
    "Halbzeit",
    "Polčas",
    "Intervallo",
    // 159
    "Calculate ELO points",
    "Zähle ELO Punkten",
    "Prepočítavam ELO",
    "Calcola punti ELO",
    // 160
    "Table home",
    "Tabelle Heim",
    "Tabuľka doma",
    "Tabella Casa",
    // 161
    "Table away",
    "Tabelle Auswärts",
    "Tabuľka vonku",
    "Tabella Fuori",
    // 162
    "Form",
    "Form",
    "Forma",
    "Forma",
    // 163
    "Form Home",
    "Form Heim",
    "Forma Doma",
    "Forma Casa",
    // 164
    "Form Away",
    "Form Auswärts",
    "Forma Vonku",
    "Forma Fuori",
    // 165
    "Last 2 matches",
    "Seit 2 Spielen",
    "Posledné 2 zápasy",
    "Ultime 2 partite",
    // 166
    "Last 3 matches",
    "Seit 3 Spielen",
    "Posledné 3 zápasy",
    "Ultime 3 partite",
    // 167
    "Last 4 matches",
    "Seit 4 Spielen",
    "Posledné 4 zápasy",
    "Ultime 4 partite",
    // 168
    "Last 5 matches",
    "Letzten 5 Spiele",
    "Posledných 5 zápasov",
    "Ultime 5 partite",
    // 169
    "Value tips",
    "Wert Tipps",
    "Hodnotné tipy",
    "Value tips",
    // 170
    "No matches are played or are not available odds !",
    "Keine Spiele ausgetragen werden oder nicht verfügbar sind Quoten !",
    "Už sa nehrajú žiadne zápasy alebo nie sú k dispozícií kurzy !",
    "Non ci sono partite o quote disponibili !",
    // 171
    "LIVE tip",
    "LIVE Tipp",
    "LIVE tip",
    "LIVE tip",
    // 172
    "Enter Halftime result",
    "Geben Halbzeit Ergebnis",
    "Zadajte polčasový výsledok",
    "Inserisci risultato intervallo",
    // 173
    "Information before the match",
    "Informationen vor dem Spiel",
    "Informácie pred začiatkom zápasu",
    "Informazioni prima della partita",
    // 174
    "Tip cannot be calculated",
    "Tipp kann nicht berechnet werden",
    "Tip nie je možné vypočítať",
    "Impossibile calcolare pronostico",
    // 175
    "Enter odds:",
    "Geben Sie Quoten:",
    "Zadajte kurzy:",
    "Inserisci quote:",
    // 176
    "Differences (%):",
    "Unterschiede (%):",
    "Rozdiely (%):",
    "Differenze (%):",
    // 177
    "Would you like to update odds?",
    "Möchten Sie aktualisieren Quoten?",
    "Chcete aktualizovať kurzy ?",
    "Vuoi aggiornare le quote?",
    // 178
    "Updating odds ...",
    "Aktualisieren Quoten ...",
    "Aktualizujem kurzy ...",
    "Aggiornamento quote in corso ...",
    // 179
    "The update of odds was successful !",
    "Die Aktualisierung von Quoten erfolgreich war",
    "Aktualizácia kurzov bola úspešná !",
    "Aggiornamento quote eseguito con successo !",
    // 180
    "Unable to connect to the database !",
    "Die Verbindung mit der Datenbank konnte nicht aufgebaut werden !",
    "Nepodarilo sa pripojiť k datábaze !",
    "Impossibile connettersi al database !",
    // 181
    "UNDER / OVER",
    "WENIGER / MEHR",
    "MENEJ / VIAC",
    "UNDER / OVER",
    // 182
    "GOALS",
    "TORE",
    "GÓLY",
    "GOALS",
    // 183
    "AVERAGE",
    "DURCHSCHNITT",
    "PRIEMER",
    "MEDIA",
    // 184
    "UNDER",
    "WENIGER",
    "MENEJ",
    "UNDER",
    // 185
    "OVER",
    "MEHR",
    "VIAC",
    "OVER",
    // 186
    "Number of goals in match",
    "Anzahl der Tore im Spiel",
    "Počet gólov v zápase",
    "Numero di goal per partita",
    // 187 (not used)
    "",
    "",
    "",
    "",
    // 188
    "Italian",
    "Italienisch",
    "Talianský",
    "Italiano",
    // 189
    "tip-for-today",
    "tipp-fur-heute",
    "tip-na-dnes",
    "tip-di-oggi",
    // 190
    "tips-for-the-week",
    "tipps-fur-die-woche",
    "tipy-na-tyzden",
    "tips-della-settimana",
    // 191
    "tipping-a-league",
    "tippe-die-liga",
    "morvela-ligu",
    "pronostici-campionato",
    // 192
    "value-tips",
    "wert-tipps",
    "hodnotne-tipy",
    "value-tips",
    // 193
    "full-time",
    "endstand",
    "cely-zapas",
    "finale",
    // 194
    "1st-half",
    "1-halfte",
    "1-polcas",
    "1-tempo",
    // 195
    "2nd-half",
    "2-halfte",
    "2-polcas",
    "2-tempo",
    // 196
    "under-over",
    "weniger-mehr",
    "menej-viac",
    "under-over",
    // 197
    "There is no database yet.\r\nCreate the demo database of invented clubs now?",
    "Es gibt noch keine Datenbank.\r\nJetzt die Demo-Datenbank mit erfundenen Vereinen anlegen?",
    "Databáza ešte neexistuje.\r\nVytvoriť teraz ukážkovú databázu s vymyslenými klubmi?",
    "Non esiste ancora un database.\r\nCreare ora il database dimostrativo con squadre inventate?",
    // 198: %1 share won, %2 number of tips, %3 the years they were played in
    "Tips like this won %1 % of %2 in %3",
    "Tipps wie dieser gewannen %1 % von %2 in %3",
    "Tipy ako tento vyhrali %1 % z %2 v rokoch %3",
    "Pronostici come questo hanno vinto il %1 % di %2 nel %3",
    // 199: %1 the server's program version, %2 the update server's address
    "Version %1 is available at %2",
    "Version %1 ist verfügbar unter %2",
    "Verzia %1 je k dispozícii na %2",
    "La versione %1 è disponibile su %2",
    // 200: %1 the running program's version
    "Version %1 is the newest version.",
    "Version %1 ist die neueste Version.",
    "Verzia %1 je najnovšia verzia.",
    "La versione %1 è la più recente.",
    // 201
    "Replaying unfinished seasons...",
    "Unfertige Saisons werden neu berechnet...",
    "Prepočítavam nedokončené sezóny...",
    "Ricalcolo delle stagioni incomplete...",
};

// A parameterised text is prefix + parameter + suffix, per language.
struct ParameterisedText {
  int number;
  std::array<std::string_view, kLanguageCount> prefix;
  std::array<std::string_view, kLanguageCount> suffix;
};

constexpr ParameterisedText kParameterised[] = {
    {1,
     {"   Season ", "   Saison ", "   Ročník ", "   Stagione "},
     {" loaded", " geladen", " načítaný", " caricata"}},
    {2,
     {"The new version of results database from ", "Neue Datenbankversion der Ergebnisse von ",
      "Je dostupná nová verzia databázy výsledkov z ",
      "Nuova versione del database risultati del "},
     {" is available !\r\nRun an update ?", " ist verfügbar\r\nAktualisierung übernehmen ?",
      " !\r\nSpustiť aktualizáciu ?", " disponibile !\r\nVuoi aggiornare ?"}},
    {3,
     {"Updating the results database from ", "Die Aktualisierung der Datenbank der Ergebnisse von ",
      "Aktualizácia databázy výsledkov z ", "Aggiornato del database risultati del "},
     {" was successful !", " war erfolgreich !", " bola úspešná !", " riuscito !"}},
    {4,
     {"Really delete the match ", "Das Spiel ", "Naozaj vymazať zápas ",
      "Vuoi cancellare questa partita "},
     {" ?", " wirklich löschen ?", " ?", " ?"}},
    {5,
     {"Results .: ", "Ergebnisse .: ", "Výsledky .: ", "Risultati .: "},
     {" :.", " :.", " :.", " :."}},
    {6, {"Wins: ", "Siege: ", "Výhry: ", "Vinte: "}, {"", "", "", ""}},
    {7, {"Draws: ", "Unentsch.: ", "Remízy: ", "Pari: "}, {"", "", "", ""}},
    {8, {"Losses: ", "Niederlagen: ", "Prehry: ", "Perse: "}, {"", "", "", ""}},
    {9,
     {"Latest matches .: ", "Letzte Spiele .: ", "Posledné zápasy .: ", "Ultime partite .: "},
     {" :.", " :.", " :.", " :."}},
    {10, {"ELO: ", "ELO: ", "ELO: ", "ELO: "}, {"", "", "", ""}},
    {11, {"ELO Home: ", "ELO Heim: ", "ELO Doma: ", "ELO Casa: "}, {"", "", "", ""}},
    {12, {"ELO Away: ", "ELO Auswärts: ", "ELO Vonku: ", "ELO Fuori: "}, {"", "", "", ""}},
    {13, {"Form: ", "Form: ", "Forma: ", "Forma: "}, {"", "", "", ""}},
    {14,
     {"Head to head matches (wins-draws-losses):  ",
      "Statistik im direkten Spiele (Siege-Unentschieden-Niederlagen):  ",
      "Vzájomné zápasy (výhry-remízy-prehry):  ", "Partite testa a testa (vinte-pari-perse):  "},
     {"", "", "", ""}},
    {15, {"Tip: ", "Tipp: ", "Tip: ", "Tip: "}, {"", "", "", ""}},
    {16,
     {"The tendency (win-draw-lose) %:  ", "Tendenz (Sieg-Unentschieden-Niederlage) %:  ",
      "Tendencia (výhra-remíza-prehra) %:  ", "Tendenza (vinte-pari-perse) %:  "},
     {"", "", "", ""}},
    {17, {"Tip .: ", "Tipp .: ", "Tip .: ", "Tip .: "}, {" :.", " :.", " :.", " :."}},
    {21, {"Version: ", "Programmversion: ", "Verzia programu: ", "Versione: "}, {"", "", "", ""}},
    {22,
     {"Database version: ", "Datenbankversion: ", "Verzia databázy: ", "Versione database: "},
     {"", "", "", ""}},
    {23,
     {"Odds (1-0-2-10-02-12): ", "Quoten (1-0-2-10-02-12): ", "Kurzy (1-0-2-10-02-12): ",
      "Quote (1-0-2-10-02-12): "},
     {"", "", "", ""}},
    {24,
     {"Difference (1,0,2,10,02,12) %: ", "Unterschied (1,0,2,10,02,12) %: ",
      "Rozdiel (1,0,2,10,02,12) %: ", "Differenza (1,0,2,10,02,12) %: "},
     {"", "", "", ""}},
    {25, {"Form Home: ", "Form Heim: ", "Forma Doma: ", "Forma Casa: "}, {"", "", "", ""}},
    {26, {"Form Away: ", "Form Auswärts: ", "Forma Vonku: ", "Forma Fuori: "}, {"", "", "", ""}},
    {27,
     {"LIVE tip .: ", "LIVE Tipp .: ", "LIVE tip .: ", "LIVE tip .: "},
     {" :.", " :.", " :.", " :."}},
    {28,
     {"Tip after halftime ", "Tipp nach der Halbzeit ", "Tip po polčase ",
      "Tip dopo il primo tempo "},
     {"", "", "", ""}},
    {29, {"Average: ", "Durchschnitt: ", "Priemer: ", "Media: "}, {"", "", "", ""}},
    {30,
     {"Average Home: ", "Durchschnitt Heim: ", "Priemer Doma: ", "Media Casa: "},
     {"", "", "", ""}},
    {31,
     {"Average Away: ", "Durchsch. Auswärts: ", "Priemer Vonku: ", "Media Fuori: "},
     {"", "", "", ""}},
    {32,
     {"Head to head matches (under-over):  ", "Statistik im direkten Spiele (weniger/mehr):  ",
      "Vzájomné zápasy (menej-viac):  ", "Partite testa a testa (under-over):  "},
     {"", "", "", ""}},
    {33,
     {"The tendency (under-over) %:  ", "Tendenz (weniger/mehr) %:  ",
      "Tendencia (menej-viac) %:  ", "Tendenza (under-over) %:  "},
     {"", "", "", ""}},
    {34,
     {"Odds (under-over): ", "Quoten (weniger/mehr): ", "Kurzy (menej-viac): ",
      "Quote (under-over): "},
     {"", "", "", ""}},
    {35,
     {"Difference (under-over) %: ", "Unterschied (weniger/mehr) %: ", "Rozdiel (menej-viac) %: ",
      "Differenza (under-over) %: "},
     {"", "", "", ""}},
    {36, {"Under: ", "Weniger : ", "Menej: ", "Under: "}, {"", "", "", ""}},
    {37, {"Over: ", "Mehr : ", "Viac: ", "Over: "}, {"", "", "", ""}},
};

struct DialogTextViews {
  std::string_view yes, no, warning_title, error_title, information_title, confirmation_title, all,
      cancel, yes_to_all, no_to_all, abort, retry, ignore, help;
};

constexpr std::array<DialogTextViews, kLanguageCount> kDialogs = {{
    {"&Yes", "&No", "Warning", "Error", "Information", "Confirm", "All", "Cancel", "Yes to all",
     "No to all", "&Abort", "&Retry", "&Ignore", "Help"},
    {"&Ja", "&Nein", "Warnung", "Fehler", "Information", "Bestätigen", "Alle", "Kündigen",
     "Ja, um alle", "Nein, um alle", "&Abbrechen", "&Wiederholen", "&Ignorieren", "Help"},
    {"&Ano", "&Nie", "Varovanie", "Chyba", "Informácia", "Potvrdenie", "Všetko", "Zruš",
     "Áno pre všetko", "Nie pre všetko", "&Ukončiť", "&Znovu", "&Ignorovať", "Pomoc"},
    {"&Si", "&No", "Attenzione", "Errore", "Informazione", "Conferma", "Tutto", "Cancella",
     "Si a tutto", "No a tutto", "&Annulla", "&Riprova", "&Ignora", "Aiuto"},
}};

// The texts as strings, built once on first use so that callers can hold references.
const std::vector<std::string>& TextTable() {
  static const std::vector<std::string> table(kTexts.begin(), kTexts.end());
  return table;
}

// The added entries as strings, by number.
const std::map<int, std::array<std::string, kLanguageCount>>& AddedTable() {
  static const auto table = [] {
    std::map<int, std::array<std::string, kLanguageCount>> t;
    for (const AddedMessage& m : AddedMessages())
      t[m.id] = {std::string(m.text[0]), std::string(m.text[1]), std::string(m.text[2]),
                 std::string(m.text[3])};
    return t;
  }();
  return table;
}

}  // namespace

int EffectiveLanguage(int lang) {
  return lang >= kEnglish && lang <= kLanguageCount ? lang : kEnglish;
}

const std::string& MessageText(MessageId id, int lang) {
  static const std::string empty;
  const int k = static_cast<int>(id);
  if (k < 0) return empty;
  const auto l = static_cast<size_t>(EffectiveLanguage(lang) - 1);
  if (k < kMessageCount) return TextTable()[kLanguageCount * static_cast<size_t>(k) + l];
  const auto& added = AddedTable();
  const auto it = added.find(k);
  return it == added.end() ? empty : it->second[l];
}

Messages::Messages() {
  NastavJazyk(kEnglish);
}

void Messages::NastavJazyk(int lang) {
  language_ = EffectiveLanguage(lang);
  const DialogTextViews& d = kDialogs[static_cast<size_t>(language_ - 1)];
  dialogs_ = DialogTexts{std::string(d.yes),
                         std::string(d.no),
                         std::string(d.warning_title),
                         std::string(d.error_title),
                         std::string(d.information_title),
                         std::string(d.confirmation_title),
                         std::string(d.all),
                         std::string(d.cancel),
                         std::string(d.yes_to_all),
                         std::string(d.no_to_all),
                         std::string(d.abort),
                         std::string(d.retry),
                         std::string(d.ignore),
                         std::string(d.help)};
}

std::string Messages::Filled(MessageId k, std::initializer_list<std::string_view> parts) const {
  // One pass over the message: a part is never searched for marks itself (an address may hold
  // "%20"), and a mark without a part stays as it is.
  const std::string& text = Msg(k);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '0') : 0;
    if (text[i] == '%' && n >= 1 && n <= parts.size()) {
      out += *(parts.begin() + (n - 1));
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Messages::NastavJazykPar(MessageCase case_id, std::string_view p) const {
  const int case_number = static_cast<int>(case_id);
  const auto* entry =
      std::find_if(std::begin(kParameterised), std::end(kParameterised),
                   [&](const ParameterisedText& t) { return t.number == case_number; });
  if (entry == std::end(kParameterised)) return std::string(p);
  const auto l = static_cast<size_t>(language_ - 1);
  std::string text(entry->prefix[l]);
  text += p;
  text += entry->suffix[l];
  return text;
}

std::optional<int> LanguageFromCode(std::string_view code) {
  static constexpr std::string_view kCodes[] = {"en", "de", "sk", "it"};
  for (int i = 0; i < 4; ++i)
    if (code == kCodes[i]) return i + 1;
  return std::nullopt;
}

const char* NameColumn(int lang) {
  static constexpr std::array<const char*, kLanguageCount> kColumns = {"NAZOV_EN", "NAZOV_DE",
                                                                       "NAZOV", "NAZOV_IT"};
  return kColumns[static_cast<size_t>(EffectiveLanguage(lang) - 1)];
}

}  // namespace morvela
