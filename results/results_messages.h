// What the result editor tells the user about input it refuses, in the user's language (the
// message table has no text for these cases).
#pragma once

#include <string>

namespace morvela {

class Messages;

// "The half-time score cannot be higher than the final score !" and its translations.
std::string HalfTimeAboveFullTimeText(const Messages& messages);

// "The row was left as it was: " + the engine's text, after a failing statement.
std::string ResultNotWrittenText(const Messages& messages, const std::string& engine_text);

}  // namespace morvela
