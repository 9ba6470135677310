// Just enough JSON for the command line's --json output.
#pragma once

#include <string>
#include <string_view>

namespace morvela {

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace morvela
