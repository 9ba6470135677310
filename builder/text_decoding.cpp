#include "builder/text_decoding.h"

#include <cstdint>

namespace morvela {

namespace csv {

size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return 1;
  size_t n;
  unsigned min_second = 0x80, max_second = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) min_second = 0xA0;  // overlong
    if (b == 0xED) max_second = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) min_second = 0x90;
    if (b == 0xF4) max_second = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (k == 1 ? (c < min_second || c > max_second) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return n;
}

}  // namespace csv

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr uint32_t kReplacement = 0xFFFD;

// The width of the line end at s[i] ("\r\n" 2, a lone "\r" or "\n" 1), 0 when there is none.
size_t LineEndWidth(std::string_view s, size_t i) {
  if (s[i] == '\n') return 1;
  if (s[i] == '\r') return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
  return 0;
}

DecodedText DecodeUtf16(std::string_view bytes, bool little_endian) {
  DecodedText out;
  out.encoding = little_endian ? "UTF-16LE" : "UTF-16BE";
  out.text.reserve(bytes.size() / 2);
  auto unit = [&](size_t i) -> uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    return little_endian ? (b << 8 | a) : (a << 8 | b);
  };
  int line = 1;
  bool bad_line = false;
  uint32_t previous = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
      bad_line = true;
    }
    if (cp == '\n' || cp == '\r') {
      const bool second_of_crlf = cp == '\n' && previous == '\r';
      if (!second_of_crlf) {
        if (bad_line) out.invalid_lines.push_back(line);
        bad_line = false;
        ++line;
      }
    }
    previous = cp;
    AppendUtf8(out.text, cp);
  }
  if (bytes.size() % 2 != 0) bad_line = true;  // a stray last byte
  if (bad_line) out.invalid_lines.push_back(line);
  return out;
}

}  // namespace

DecodedText DecodeToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4) ||
      bytes.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
    return {"", "", {}, 0, "UTF-32 text (save the file as UTF-8)"};
  }
  if (bytes.substr(0, 2) == "\xFF\xFE") return DecodeUtf16(bytes.substr(2), true);
  if (bytes.substr(0, 2) == "\xFE\xFF") return DecodeUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (bytes.find('\0') != std::string_view::npos) {
    return {"",
            "",
            {},
            0,
            "holds NUL bytes: UTF-16 or UTF-32 without a byte-order mark, or no text at all "
            "(save the file as UTF-8)"};
  }

  // One pass over the lines: which hold non-ASCII bytes, which of those are not UTF-8.
  std::vector<int> bad;
  int non_ascii_lines = 0;
  {
    int line = 1;
    bool non_ascii = false, invalid = false;
    for (size_t i = 0; i <= bytes.size();) {
      const size_t end = i < bytes.size() ? LineEndWidth(bytes, i) : 1;
      if (end > 0) {
        non_ascii_lines += non_ascii ? 1 : 0;
        if (invalid) bad.push_back(line);
        non_ascii = invalid = false;
        ++line;
        i += end;
        continue;
      }
      if (static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
        continue;
      }
      non_ascii = true;
      const size_t n = csv::Utf8SequenceLength(bytes, i);
      if (n == 0) {
        invalid = true;
        ++i;
      } else {
        i += n;
      }
    }
  }

  DecodedText out;
  if (bad.empty()) {
    out.encoding = "UTF-8";
    out.text = std::string(bytes);
    return out;
  }
  out.text.reserve(bytes.size() + bytes.size() / 8);
  if (2 * bad.size() > static_cast<size_t>(non_ascii_lines)) {
    // Not UTF-8 as a whole: a single-byte file, read as Latin-1 (every byte is a character).
    out.encoding = "Latin-1";
    out.first_non_utf8_line = bad.front();
    for (char c : bytes) AppendUtf8(out.text, static_cast<unsigned char>(c));
    return out;
  }
  // UTF-8 with a few broken lines: the broken bytes become U+FFFD and their lines are named.
  out.encoding = "UTF-8";
  out.invalid_lines = std::move(bad);
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = csv::Utf8SequenceLength(bytes, i);
    if (n == 0) {
      AppendUtf8(out.text, kReplacement);
      ++i;
    } else {
      out.text.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

}  // namespace morvela
