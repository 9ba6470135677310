#include "builder/text_decoding.h"

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

DecodedText DecodeToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  DecodedText out;
  int line = 1;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = csv::Utf8SequenceLength(bytes, i);
    if (n == 0) {
      out.first_invalid_line = line;
      break;
    }
    if (bytes[i] == '\n') ++line;
    i += n;
  }
  if (out.first_invalid_line == 0) {
    out.text = std::string(bytes);
    return out;
  }
  out.text.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.text += c;
    } else {
      out.text += static_cast<char>(0xC0 | (b >> 6));
      out.text += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

}  // namespace morvela
