// The bookmaker's bet page of a fixture, opened by the match window's "Bet on match". The host
// and the referrer code live here and nowhere else.
#pragma once

#include <string>

namespace morvela {

// The bet pages' host (HTTPS) and the program's 10-character referrer code.
inline constexpr const char* kBetHost = "https://bet.morvela.net";
inline constexpr const char* kBetReferrer = "MORVELA048";

// The advertising id of a language: English and Italian 5677, German 10875, Slovak 11642.
const char* BetAdvertisingId(int language);

// The bet page of the fixture with the bookmaker's event id `event_id`, for a user of
// `language`: kBetHost + "/betsnew.aspx?view=betdetail&adid=" + id + "&refererid=" + code +
// "&eventID=" + event id. Empty when the event id is empty.
std::string BetAddress(int language, const std::string& event_id);

}  // namespace morvela
