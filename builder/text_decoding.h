// Turning the bytes of an imported file into UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace morvela {

// File text as UTF-8. Valid UTF-8 comes back unchanged (minus a byte-order mark); anything else
// is read as Latin-1 and converted, and first_invalid_line names the first line (from 1) with a
// byte sequence that is not UTF-8 (0 when the text was valid UTF-8).
struct DecodedText {
  std::string text;
  int first_invalid_line = 0;
};
DecodedText DecodeToUtf8(std::string_view bytes);

namespace csv {
// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i);
}  // namespace csv

}  // namespace morvela
