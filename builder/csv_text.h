// Reading CSV text for the importer: splitting a text into lines (LF, CR LF or a lone CR end a
// line) and a line into fields, trimming, the case folding that club and column names compare
// by, and quoting of bad values in messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvela::csv {

// One CSV line split into fields; a field in double quotes may hold commas ("" is a quote).
std::vector<std::string> SplitCsvLine(std::string_view line);

// The lines of a text with their line ends (LF, CR LF or a lone CR) removed.
std::vector<std::string_view> SplitLines(std::string_view text);

// "file:line: ", the start of every message about a line of a file.
std::string FileLine(const std::string& file, int line);

// A value from a file as messages quote it: in single quotes, cut after 80 characters ("...'
// and the value's size follow; core/text.h ValueForMessage).
std::string Quote(std::string_view value);

}  // namespace morvela::csv
