// The command line's --json output: values are built as nlohmann JSON and printed by JsonText,
// which keeps the output's escaping and number forms in one place.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace morvela {

// Objects keep their keys in the order they were added.
using Json = nlohmann::ordered_json;

// How JsonText lays out arrays.
enum class JsonLayout {
  kCompact,     // one line, no spaces
  kRowsOnLines  // as kCompact, except that each object of an array of objects starts a line of
                // its own after one space, and the closing bracket a line of its own
};

// `value` as JSON text without a final line end. Strings come out as JsonString writes them.
std::string JsonText(const Json& value, JsonLayout layout = JsonLayout::kCompact);

// A number printed with exactly `decimals` decimals ("0.500000"); null when `v` is not finite.
Json JsonFixed(double v, int decimals);

// A number printed as the database writes decimals (FormatSqlNumber: "2.53", "0", "1.5").
Json JsonDecimal(double v);

// The integer that `text` writes (an id kept as text, a label's number); null when `text` is
// not one.
Json JsonInteger(std::string_view text);

// The text as a JSON string literal, quotes included. Bytes that are not part of well-formed
// UTF-8 each become the escape \ufffd; characters below U+0020, the quote and the backslash are
// escaped; everything else is copied.
std::string JsonString(std::string_view text);

}  // namespace morvela
