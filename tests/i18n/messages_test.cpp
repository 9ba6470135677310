#include "i18n/messages.h"
#include "i18n/added_messages.h"
#include "i18n/message_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace morvela {
namespace {

struct MessageCase {
  int k;
  int lang;
  std::string expected;
};

TEST(MessagesTest, EntriesReadInTheChosenLanguage) {
  const MessageCase cases[] = {
      {22, kSlovak, "Prosím čakajte ..."},
      {22, kEnglish, "Please wait ..."},
      {22, kGerman, "Warten Sie, bitte ..."},
      {150, kEnglish, "Select Ukrainian league"},
      {150, kItalian, "Seleziona il Campionato Ucraino"},
      {99, kEnglish, "  Also vice versa"},
      {99, kGerman, "  Auch umgekehrt"},
      {99, kSlovak, "  Aj opačne"},
      {99, kItalian, "  Anche viceversa"},
      {0, kEnglish, "Unable to connect to the database !\r\nThe program ends"},
      {0, kItalian, "Impossibile connettersi al database!\r\nIl programma si sta chiudendo"},
      {42, kSlovak, "Otvorí sa stránka\r\nwww.morvela.net vo Vašom\r\nprehliadači"},
      {42, kEnglish, "Website www.morvela.net will be opened in your browser"},
      {27, kEnglish, "Updating the database ... "},
      {27, kGerman, "Die Datenbank wird aktualisiert ..."},
      {10, kSlovak, "Španielska liga načítaná!"},
      {54, kItalian, "Seleziona il Campionato Slovacco Slovak league"},
      {74, kSlovak, "Morvela ligu"},
      {135, kItalian, "Slovaccho"},
      {156, kItalian, "1° TEMPO"},
      {170, kGerman, "Keine Spiele ausgetragen werden oder nicht verfügbar sind Quoten !"},
      {196, kGerman, "weniger-mehr"},
      {196, kItalian, "under-over"},
  };
  for (const MessageCase& c : cases) {
    Messages messages;
    messages.NastavJazyk(c.lang);
    EXPECT_EQ(messages.Language(), c.lang);
    EXPECT_EQ(messages.Msg(MessageId{c.k}), c.expected)
        << "message " << c.k << " language " << c.lang;
    EXPECT_EQ(Messages().Msg(MessageId{c.k}, c.lang), c.expected) << "message " << c.k;
  }
}

TEST(MessagesTest, ListedEntriesAreFilledInEveryLanguageAndUnusedOnesEmpty) {
  const std::set<int> unused = {26, 32, 112, 113, 114, 115, 116, 125, 126, 128, 187};
  for (int k = 0; k < kMessageCount; ++k) {
    for (int lang = kEnglish; lang <= kLanguageCount; ++lang) {
      const std::string& text = MessageText(MessageId{k}, lang);
      EXPECT_EQ(text.empty(), unused.count(k) == 1) << "message " << k << " language " << lang;
      EXPECT_EQ(text.find("\\r\\n"), std::string::npos) << "message " << k;
      EXPECT_EQ(text.find('{'), std::string::npos) << "placeholder left in message " << k;
    }
  }
}

// Texts added after the fixed table: numbered after it, once each, in all four languages, with
// the same value marks in each (a translation that drops %1 would lose the value).
TEST(MessagesTest, AddedEntriesFollowTheTableAndHaveEveryLanguage) {
  int previous = kMessageCount - 1;
  for (const AddedMessage& m : AddedMessages()) {
    EXPECT_GT(m.id, previous) << "added entries out of order or repeated at " << m.id;
    previous = m.id;
    std::string marks;
    for (char c = '1'; c <= '9'; ++c)
      if (m.text[0].find(std::string("%") + c) != std::string_view::npos) marks += c;
    for (int lang = kEnglish; lang <= kLanguageCount; ++lang) {
      const std::string& text = MessageText(MessageId{m.id}, lang);
      EXPECT_FALSE(text.empty()) << "entry " << m.id << " language " << lang;
      for (char c : marks)
        EXPECT_NE(text.find(std::string("%") + c), std::string::npos)
            << "entry " << m.id << " language " << lang << " lacks %" << c;
    }
  }
}

TEST(MessagesTest, UnknownLanguageFallsBackToEnglishAndUnknownEntryIsEmpty) {
  for (int lang : {0, 5, -1}) {
    Messages messages;
    messages.NastavJazyk(kGerman);
    messages.NastavJazyk(lang);
    EXPECT_EQ(messages.Language(), kEnglish) << lang;
    EXPECT_EQ(messages.Msg(MessageId{22}), "Please wait ...") << lang;
    EXPECT_EQ(messages.Dialogs().yes, "&Yes") << lang;
    EXPECT_EQ(messages.Msg(MessageId{22}, lang), "Please wait ...") << lang;
  }
  const Messages messages;
  EXPECT_EQ(messages.Language(), kEnglish);
  for (int k : {-1, 1000000}) EXPECT_EQ(messages.Msg(MessageId{k}), "") << k;
}

TEST(MessagesTest, FilledPutsEachPartInItsMarkOnce) {
  Messages messages;
  messages.NastavJazyk(kGerman);
  EXPECT_EQ(messages.Filled(msg::kNewProgramVersion, {"4.9", "http://h/"}),
            "Version 4.9 ist verfügbar unter http://h/");
  // A part is not read for marks: an address with "%20" or a part "%2" stays as given.
  messages.NastavJazyk(kEnglish);
  EXPECT_EQ(messages.Filled(msg::kNewProgramVersion, {"%2", "http://h/a%20b/"}),
            "Version %2 is available at http://h/a%20b/");
  // Marks in their own order; a mark without a part stays.
  EXPECT_EQ(messages.Filled(msg::kPastHitRate, {"71", "2 522"}),
            "Tips like this won 71 % of 2 522 in %3");
  EXPECT_EQ(messages.Filled(msg::kNewestProgramVersion, {}), "Version %1 is the newest version.");
}

TEST(MessagesTest, DialogTextsFollowTheLanguage) {
  struct Case {
    int lang;
    std::string yes, confirmation_title, cancel, yes_to_all, abort, help;
  };
  const Case cases[] = {
      {kEnglish, "&Yes", "Confirm", "Cancel", "Yes to all", "&Abort", "Help"},
      {kGerman, "&Ja", "Bestätigen", "Kündigen", "Ja, um alle", "&Abbrechen", "Help"},
      {kSlovak, "&Ano", "Potvrdenie", "Zruš", "Áno pre všetko", "&Ukončiť", "Pomoc"},
      {kItalian, "&Si", "Conferma", "Cancella", "Si a tutto", "&Annulla", "Aiuto"},
  };
  for (const Case& c : cases) {
    Messages messages;
    messages.NastavJazyk(c.lang);
    const DialogTexts& d = messages.Dialogs();
    EXPECT_EQ(d.yes, c.yes);
    EXPECT_EQ(d.confirmation_title, c.confirmation_title);
    EXPECT_EQ(d.cancel, c.cancel);
    EXPECT_EQ(d.yes_to_all, c.yes_to_all);
    EXPECT_EQ(d.abort, c.abort);
    EXPECT_EQ(d.help, c.help);
  }
  Messages slovak;
  slovak.NastavJazyk(kSlovak);
  const DialogTexts& d = slovak.Dialogs();
  EXPECT_EQ(d.no, "&Nie");
  EXPECT_EQ(d.warning_title, "Varovanie");
  EXPECT_EQ(d.error_title, "Chyba");
  EXPECT_EQ(d.information_title, "Informácia");
  EXPECT_EQ(d.all, "Všetko");
  EXPECT_EQ(d.no_to_all, "Nie pre všetko");
  EXPECT_EQ(d.retry, "&Znovu");
  EXPECT_EQ(d.ignore, "&Ignorovať");
}

TEST(MessagesTest, ParameterisedTextsWrapTheParameter) {
  struct Case {
    int number;
    int lang;
    std::string p;
    std::string expected;
  };
  const Case cases[] = {
      {36, kGerman, "1,5", "Weniger : 1,5"},
      {36, kSlovak, "1,5", "Menej: 1,5"},
      {37, kGerman, "2", "Mehr : 2"},
      {10, kEnglish, "1520", "ELO: 1520"},
      {10, kGerman, "1520", "ELO: 1520"},
      {10, kSlovak, "1520", "ELO: 1520"},
      {10, kItalian, "1520", "ELO: 1520"},
      {13, kEnglish, "WWDLW", "Form: WWDLW"},
      {13, kGerman, "WWDLW", "Form: WWDLW"},
      {13, kSlovak, "WWDLW", "Forma: WWDLW"},
      {13, kItalian, "WWDLW", "Forma: WWDLW"},
      {1, kEnglish, "2010/2011", "   Season 2010/2011 loaded"},
      {1, kSlovak, "2010/2011", "   Ročník 2010/2011 načítaný"},
      {2, kEnglish, "07.03.2011",
       "The new version of results database from 07.03.2011 is available !\r\nRun an update ?"},
      {2, kSlovak, "07.03.2011",
       "Je dostupná nová verzia databázy výsledkov z 07.03.2011 !\r\nSpustiť aktualizáciu ?"},
      {14, kItalian, "3-1-2", "Partite testa a testa (vinte-pari-perse):  3-1-2"},
      {17, kGerman, "1", "Tipp .: 1 :."},
      {21, kSlovak, "4.8", "Verzia programu: 4.8"},
      {31, kGerman, "1,2", "Durchsch. Auswärts: 1,2"},
      {18, kEnglish, "x", "x"},
      {0, kGerman, "x", "x"},
      {38, kSlovak, "", ""},
  };
  for (const Case& c : cases) {
    Messages messages;
    messages.NastavJazyk(c.lang);
    EXPECT_EQ(messages.NastavJazykPar(morvela::MessageCase{c.number}, c.p), c.expected)
        << "case " << c.number << " language " << c.lang;
  }
}

TEST(MessagesTest, NameColumnPerLanguage) {
  const std::pair<int, std::string> cases[] = {
      {kEnglish, "NAZOV_EN"}, {kGerman, "NAZOV_DE"}, {kSlovak, "NAZOV"},
      {kItalian, "NAZOV_IT"}, {0, "NAZOV_EN"},       {5, "NAZOV_EN"},
  };
  for (const auto& [lang, column] : cases) EXPECT_EQ(NameColumn(lang), column) << lang;
}

}  // namespace
}  // namespace morvela
