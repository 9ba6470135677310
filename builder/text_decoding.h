// Turning the bytes of an imported file into UTF-8 text.
//
// The encoding is decided for the file as a whole, the damage is dealt with line by line:
//  - a byte-order mark of UTF-16 (little or big endian) makes the file UTF-16, which is
//    converted; UTF-32 and files with NUL bytes but no mark are refused by name;
//  - otherwise the file is UTF-8 unless most of its lines with non-ASCII bytes fail to decode
//    as UTF-8: then it is Latin-1 and every byte converts. A UTF-8 file with a few broken lines
//    stays UTF-8 and names those lines, so that the importer skips them instead of reading
//    every name of the file as Latin-1.
// Lines are counted as the CSV reader counts them: LF, CR LF and a lone CR each end a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvela {

struct DecodedText {
  std::string text;                // UTF-8; the bytes of a bad line are kept as U+FFFD
  std::string encoding;            // "UTF-8", "Latin-1", "UTF-16LE", "UTF-16BE"
  std::vector<int> invalid_lines;  // lines (from 1) that are not valid in `encoding`
  int first_non_utf8_line = 0;     // for Latin-1: the first line (from 1) that is not UTF-8
  std::string refused;             // why the bytes are no text this reader takes, else empty
};
DecodedText DecodeToUtf8(std::string_view bytes);

namespace csv {
// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i);
}  // namespace csv

}  // namespace morvela
