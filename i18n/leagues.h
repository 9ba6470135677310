// The twenty leagues the program covers: their main-window buttons, the message-table entries
// that name them, their flags and short codes, and the orders in which each language lists them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvela {

inline constexpr int kLeagueCount = 20;

struct LeagueInfo {
  int id;                   // `ID_LIGA`
  std::string_view button;  // the main window's league button, e.g. "BitBtn8"
  int caption_message;      // country name, the button's caption
  int status_message;       // status line after the click, e.g. "Austrian league loaded !"
  int hint_message;         // button hint, e.g. "Select Austrian league"
  int flag;                 // picture index in the flag set: id - 1
  std::string_view code;    // short code for the command line, e.g. "at"
};

// League `id` (1..20). Throws std::out_of_range for any other id.
const LeagueInfo& League(int id);

// League ids of the main window's buttons in language `lang`, left to right and top to bottom
// in four rows of five: alphabetical by the caption in that language. English for an index
// outside 1..4.
std::array<int, kLeagueCount> ButtonOrder(int lang);

// League ids in the order the tips list sorts its league column ascending in language `lang`
// (English for an index outside 1..4).
std::array<int, kLeagueCount> TipsListLeagueOrder(int lang);

// The league meant by `name`: an id "1".."20", the English country caption or the short code,
// ignoring case and surrounding blanks ("England", "germany", "Czech Republic", "sk", " 7 ").
std::optional<int> LeagueIdFromName(std::string_view name);

// The caption (country name) of league `id` in language `lang`, as the league name columns of
// `LIGA` hold it. Throws std::out_of_range for an id outside 1..20.
std::string LeagueName(int id, int lang);

}  // namespace morvela
