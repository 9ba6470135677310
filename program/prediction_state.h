// The prediction state: the results of the latest outcome frequency search and tip selection,
// shared by the whole program until the next search overwrites them.
#pragma once

#include <cstdint>
#include <string>

namespace morvela {

struct PredictionState {
  uint16_t HomePercent = 0;  // final percentages (each rounded on its own; need not sum to 100)
  uint16_t DrawPercent = 0;
  uint16_t AwayPercent = 0;
  uint16_t LeagueHomePercent = 0;  // percentages of the league pass
  uint16_t LeagueDrawPercent = 0;
  uint16_t LeagueAwayPercent = 0;
  std::string Tip;          // "  1", " 10", "102", " < ", " > " (leading blanks tell the kind)
  uint8_t TipPercent = 0;   // the percentage that goes with Tip
  std::string LikelyScore;  // "2:1"; only a full-time match search writes it
};

}  // namespace morvela
