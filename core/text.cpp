#include "core/text.h"

#include <algorithm>

namespace morvela {

namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

char AsciiUpperChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The upper-case partner of a code point of Latin-1 or Latin Extended-A; others stay.
char32_t UpperCodePoint(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  // Latin Extended-A pairs its letters upper-lower; two runs start their pairs on an odd point.
  const bool odd_run = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  const bool even_run = (c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177);
  if (even_run && c % 2 == 1) return c - 1;
  if (odd_run && c % 2 == 0) return c - 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view TrimSpacesAndTabs(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view TrimBlanksAndControls(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

std::string CsvField(std::string_view text, char separator) {
  const char special[] = {separator, '"', '\r', '\n', '\0'};
  if (text.find_first_of(special) == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), AsciiUpperChar);
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiUpperChar(x) == AsciiUpperChar(y); });
}

std::string UpperCaseText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    // Two-byte sequences cover every letter that has a partner here; the rest is copied.
    if ((b & 0xE0) == 0xC0 && i + 1 < text.size()) {
      const char32_t c =
          (char32_t{b & 0x1Fu} << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      AppendUtf8(out, UpperCodePoint(c));
      i += 2;
    } else {
      out += b < 0x80 ? static_cast<char>(UpperCodePoint(b)) : text[i];
      ++i;
    }
  }
  return out;
}

std::string ValueForMessage(std::string_view value) {
  constexpr size_t kQuotedCharacters = 80;
  size_t chars = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    if ((value[i] & 0xC0) == 0x80) continue;
    if (chars++ == kQuotedCharacters) return std::string(value.substr(0, i)) + "...";
  }
  return std::string(value);
}

size_t Utf8Length(std::string_view text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace morvela
