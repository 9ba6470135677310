#include "builder/csv_text.h"

#include "core/text.h"

#include <algorithm>

namespace morvela::csv {

// Team names and column names compare as the database's NOCASE collation does: ASCII letters
// without regard to case, every other character as it is.
// Number of characters (code points) of UTF-8 text.
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
  const std::string shown = ValueForMessage(value);
  if (shown.size() == value.size()) return "'" + shown + "'";
  return "'" + shown + "' (" + std::to_string(value.size()) + " bytes)";
}

}  // namespace morvela::csv
