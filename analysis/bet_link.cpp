#include "analysis/bet_link.h"

#include "i18n/messages.h"

namespace morvela {

const char* BetAdvertisingId(int language) {
  switch (EffectiveLanguage(language)) {
    case kGerman:
      return "10875";
    case kSlovak:
      return "11642";
    default:
      return "5677";
  }
}

std::string BetAddress(int language, const std::string& event_id) {
  if (event_id.empty()) return "";
  return std::string(kBetHost) + "/betsnew.aspx?view=betdetail&adid=" + BetAdvertisingId(language) +
         "&refererid=" + kBetReferrer + "&eventID=" + event_id;
}

}  // namespace morvela
