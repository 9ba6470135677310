// Small routines that many parts of the program share: dates as text and as SQL literals,
// numbers in the program's fixed number format (decimal comma, blank between thousands), the
// implied percentage of an odds value, and the quoting of values pasted into SQL text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"

namespace morvela {

// Reads a date held as text. First as day.month.year: the text is split at its first "." and
// the rest at its first "."; the three parts must be plain integers (digits, no blanks or "+")
// forming an existing date with a year 1..9999 ("7.3.2011" and "07.03.2011" are 7 March 2011).
// Failing that, the whole text is read in the user's date format: the short date format
// dd.mm.yyyy or, as the locale's other form, yyyy-mm-dd, so "2011-03-07" falls back to the
// user's date format and yields 7 March 2011. Failing that too, the result is the system's
// current date.
Date ParseDateText(std::string_view text);

// A whole decimal number within the int range, the whole text and nothing else ("12", "-3");
// nullopt for blanks, a "+", other characters or an overflow.
std::optional<int> ParseWholeInt(std::string_view s);

// "07.03.2011": day and month with at least two digits, year with at least four.
std::string FormatDateText(const Date& d);

// "#2011-03-07#": the date literal of SQL filters.
std::string FormatSqlDate(const Date& d);

// Two decimals, decimal comma, a blank between thousands: "1 234,50", "-3,25", "1,85".
// A value that rounds to zero has no sign; a non-finite value gives "0,00".
std::string FormatNumber2(double value);

// Odds and goal figures shown in windows: the value rounded to 6 significant digits, then
// formatted as FormatNumber2 ("1,50", "1 234,57", "123 457 000,00"); a result of "0,00"
// (including the failure of a non-finite value) is "0".
std::string FormatOdds(double value);

// The percentage the bookmaker's odds imply: 100 / odds, rounded to the nearest integer with
// ties to even (1.85 -> 54, 8 -> 12, 1.60 -> 62). Odds with at most two decimals are divided
// exactly, so the tie of 1.60 (62.5) is a true tie. Odds of 0, negative or non-finite odds and
// a result outside the int range give 0.
int ImpliedPercent(double odds);

// A text value for SQL: the text in double quotes with every double quote inside doubled
// (He said "hi" -> "He said ""hi"""). Every text pasted into SQL goes through here.
std::string QuoteSqlText(std::string_view text);

// A number for SQL text: a point as decimal separator, no exponent, the shortest form that
// reads back as the same double ("1.85", "2", "-0.5"). A non-finite value gives "0".
std::string FormatSqlNumber(double value);

// Reads a decimal number held as text ("1,85" or "1.85", surrounding blanks ignored), as odds
// arrive from the database or from files. nullopt for an empty text, garbage, or a value that
// is not finite.
std::optional<double> ParseDecimalText(std::string_view text);

}  // namespace morvela
