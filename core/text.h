// Text helpers shared by the whole program. Trims are named by what they strip; case folding
// is ASCII-only where it mirrors the database's NOCASE collation and the INI file's keys, and
// Latin-aware where a caption is shown in upper case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvela {

// Blanks (" ") off both ends: tip strings, season labels, grid titles.
std::string_view TrimSpaces(std::string_view text);
// Blanks and tabs off both ends: INI lines, CSV fields, names typed by users.
std::string_view TrimSpacesAndTabs(std::string_view text);
// Every byte up to and including the blank (controls, CR, LF, NUL) off both ends: deciphered
// texts padded with zeros, and cells exported from the database.
std::string_view TrimBlanksAndControls(std::string_view text);

// ASCII letters in upper case; every other byte unchanged.
std::string AsciiUpper(std::string_view text);
// ASCII letters in lower case; every other byte unchanged (the NOCASE collation's folding).
std::string AsciiLower(std::string_view text);
// Equal when ASCII letters are compared without regard to case (other bytes must match).
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Upper case of a UTF-8 text for the letters of the program's languages (ASCII, Latin-1 such
// as "ä" and "é", and Latin Extended-A such as "č" and "ľ"); other characters stay.
std::string UpperCaseText(std::string_view text);

// A value quoted in a message: its first 80 characters, with "..." when there was more, so that
// a message about a huge field stays one readable line.
std::string ValueForMessage(std::string_view value);

// One field of a CSV line: the text as it stands, or, when it holds the separator, a double
// quote or a line break, the text in double quotes with its quotes doubled.
std::string CsvField(std::string_view text, char separator);

// Number of characters (code points) of UTF-8 text: its bytes that do not continue a sequence.
size_t Utf8Length(std::string_view text);

}  // namespace morvela
