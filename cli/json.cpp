#include "cli/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/helpers.h"

namespace morvela {

namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes at the start of `text`, or
// 0 when the lead byte starts none (a stray continuation byte, an overlong form, a surrogate, a
// code point beyond U+10FFFF, a sequence cut short).
size_t MultiByteSequence(std::string_view text) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

// JSON has no way to say how a number is written, and nlohmann prints a double in its shortest
// form ("1.0", "0.5"), whereas the output keeps fixed decimals ("1.000000") and the database's
// decimal form. Such a number travels as its text in a binary value of this subtype, which
// only Write below knows; nothing else in the output is binary.
constexpr std::uint8_t kNumberText = 'N';

Json NumberText(const std::string& text) {
  return Json::binary(std::vector<std::uint8_t>(text.begin(), text.end()), kNumberText);
}

void Write(const Json& value, JsonLayout layout, std::string& out) {
  switch (value.type()) {
    case Json::value_t::object: {
      out += '{';
      for (auto it = value.begin(); it != value.end(); ++it) {
        if (it != value.begin()) out += ',';
        out += JsonString(it.key());
        out += ':';
        Write(it.value(), layout, out);
      }
      out += '}';
      break;
    }
    case Json::value_t::array: {
      const bool lines =
          layout == JsonLayout::kRowsOnLines && !value.empty() &&
          std::all_of(value.begin(), value.end(), [](const Json& v) { return v.is_object(); });
      out += '[';
      for (size_t i = 0; i < value.size(); ++i) {
        if (i) out += ',';
        if (lines) out += "\n ";
        Write(value[i], layout, out);
      }
      if (lines) out += '\n';
      out += ']';
      break;
    }
    case Json::value_t::string:
      // Our own escaping rather than nlohmann's: its replacement of broken UTF-8 writes U+FFFD
      // raw and one per broken sequence, where the output has always had one \ufffd per byte.
      out += JsonString(value.get_ref<const std::string&>());
      break;
    case Json::value_t::binary: {
      const Json::binary_t& bytes = value.get_binary();
      if (bytes.has_subtype() && bytes.subtype() == kNumberText) {
        out.append(bytes.begin(), bytes.end());
        break;
      }
      out += value.dump();
      break;
    }
    default:  // null, booleans, integers; a float that is not finite comes out as null
      out += value.dump();
  }
}

}  // namespace

std::string JsonText(const Json& value, JsonLayout layout) {
  std::string out;
  Write(value, layout, out);
  return out;
}

Json JsonFixed(double v, int decimals) {
  if (!std::isfinite(v)) return nullptr;
  char buf[400];  // "%.*f" of the largest double needs over 300 characters
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return NumberText(buf);
}

Json JsonDecimal(double v) {
  return NumberText(FormatSqlNumber(v));
}

Json JsonInteger(std::string_view text) {
  int64_t v = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, v);
  return ec == std::errc{} && stop == end ? Json(v) : Json(nullptr);
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      // JSON is UTF-8: a byte that is not part of a well-formed sequence (text from an old
      // file in another encoding) becomes the replacement character, not a broken document.
      const size_t length = MultiByteSequence(text.substr(i));
      if (length == 0) {
        out += "\\ufffd";
      } else {
        out += text.substr(i, length);
        i += length - 1;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace morvela
