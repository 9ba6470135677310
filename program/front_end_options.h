// The options both front ends take — `--today` (and the MORVELA_TODAY variable), `--lang`,
// `--mode`, `--league` — read the same way, with the same messages, in one place. A bad value
// throws OptionError, whose text names the option, what it expects and (at most the first 80
// characters of) what it got; the desktop program prints it and ends with status 2, the command
// line reports it as a wrong command line.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/error.h"
#include "core/result_mode.h"

namespace morvela {

// A command-line option or environment value the program does not take (exit status 2).
class OptionError : public InputError {
 public:
  using InputError::InputError;
};

// The dates the program computes with: week ends, date literals and seasons stay within
// four-digit years for every date in this range.
inline constexpr Date kFirstUsableDate{std::chrono::year{1900}, std::chrono::month{1},
                                       std::chrono::day{1}};
inline constexpr Date kLastUsableDate{std::chrono::year{9998}, std::chrono::month{12},
                                      std::chrono::day{31}};

// A date given as YYYY-MM-DD within the usable range; `option` names where it came from
// ("--today", "MORVELA_TODAY").
Date DateOption(std::string_view option, std::string_view text);
// "en", "de", "sk", "it" → 1..4.
int LanguageOption(std::string_view text);
// "ft", "1h", "2h", "uo".
ResultMode ModeOption(std::string_view text);
// A league id 1..20 or its English country name or code (see LeagueIdFromName).
int LeagueOption(std::string_view option, std::string_view text);

// Today as MORVELA_TODAY gives it; nullopt when the variable is unset or empty. A value that is
// not a usable date throws OptionError rather than being ignored.
std::optional<Date> TodayFromEnvironment();

}  // namespace morvela
