#include "builder/csv_text.h"

#include <algorithm>

namespace morvela::csv {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Team names and column names compare as the database's NOCASE collation does: ASCII letters
// without regard to case, every other character as it is.
std::string Fold(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

// Number of characters (code points) of UTF-8 text.
size_t Utf8Length(std::string_view s) {
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// One CSV line split into fields; a field in double quotes may hold commas ("" is a quote).
std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    // "\r\n" is one line end; a lone "\r" (old Mac files) or "\n" is one too.
    const size_t width =
        text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
    text.remove_prefix(end + width);
  }
  return lines;
}

std::string FileLine(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}

std::string Quote(std::string_view value) {
  constexpr size_t kMaxCharacters = 80;
  size_t end = 0, characters = 0;
  while (end < value.size() && characters < kMaxCharacters) {
    ++end;
    while (end < value.size() && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) ++end;
    ++characters;
  }
  if (end >= value.size()) return "'" + std::string(value) + "'";
  return "'" + std::string(value.substr(0, end)) + "...' (" + std::to_string(value.size()) +
         " bytes)";
}

}  // namespace morvela::csv
