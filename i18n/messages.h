// The message table: every user-visible text of the program in English, German, Slovak and
// Italian under a fixed entry number, the texts that embed a value, and the captions of the
// standard message dialogs.
//
// The table is fixed data shared by every program object; a `Messages` object only holds the
// chosen language and that language's dialog texts, so tests can run programs in several
// languages side by side.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/message_ids.h"

namespace morvela {

// Language index: 1 English, 2 German, 3 Slovak, 4 Italian; 0 while none has been chosen.
inline constexpr int kEnglish = 1;
inline constexpr int kGerman = 2;
inline constexpr int kSlovak = 3;
inline constexpr int kItalian = 4;
inline constexpr int kLanguageCount = 4;

// Entries are numbered 0 .. kMessageCount - 1; some numbers are unused and hold empty texts.
// Texts added later follow from kMessageCount up (i18n/added_messages.cpp).
inline constexpr int kMessageCount = 202;

// The language actually used for `lang`: `lang` itself for 1..4, English for anything else
// (0 means the user closed the language chooser without choosing, and that run is in English).
int EffectiveLanguage(int lang);

// Text of entry `k` in language `lang` (any index outside 1..4 reads English). An entry number
// outside the table gives the empty text. The reference stays valid until the program ends.
const std::string& MessageText(MessageId k, int lang);

// Captions and titles of the platform's message dialogs ("&" marks the keyboard accelerator).
// The OK button keeps the platform's own caption, so it is not here.
struct DialogTexts {
  std::string yes;
  std::string no;
  std::string warning_title;
  std::string error_title;
  std::string information_title;
  std::string confirmation_title;
  std::string all;
  std::string cancel;
  std::string yes_to_all;
  std::string no_to_all;
  std::string abort;
  std::string retry;
  std::string ignore;
  std::string help;
};

// The message table as seen in the chosen language. A new object speaks English until
// `NastavJazyk` is called.
class Messages {
 public:
  Messages();

  // Chooses the language (1..4; anything else, including the unchosen 0, gives English) and
  // sets the dialog texts of that language.
  void NastavJazyk(int lang);

  // The language in use, always 1..4.
  int Language() const { return language_; }

  // Message k in the current language; empty for an unused or out-of-range entry number.
  const std::string& Msg(MessageId k) const { return MessageText(k, language_); }
  // Message k in language `lang` (English for an index outside 1..4).
  const std::string& Msg(MessageId k, int lang) const { return MessageText(k, lang); }

  // Message k in the current language with its marks %1, %2, ... replaced by `parts` in order.
  std::string Filled(MessageId k, std::initializer_list<std::string_view> parts) const;

  // The text of parameterised case `case_number` around `p` in the current language
  // (for example case 1 with "2010/2011" gives "   Season 2010/2011 loaded"). A case
  // number the table does not know gives `p` alone.
  std::string NastavJazykPar(MessageCase case_number, std::string_view p) const;

  // The dialog texts of the current language.
  const DialogTexts& Dialogs() const { return dialogs_; }

 private:
  int language_ = kEnglish;
  DialogTexts dialogs_;
};

// Name column of `LIGA` and `MUZSTVA` for a language: "NAZOV_EN", "NAZOV_DE", "NAZOV" (Slovak)
// or "NAZOV_IT"; English for an index outside 1..4.
const char* NameColumn(int lang);

// The language index named by its short code: "en" 1, "de" 2, "sk" 3, "it" 4; nullopt otherwise.
std::optional<int> LanguageFromCode(std::string_view code);

}  // namespace morvela
