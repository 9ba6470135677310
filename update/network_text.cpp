#include "update/network_text.h"

#include <algorithm>

#include "i18n/message_ids.h"
#include "i18n/messages.h"

namespace morvela {

std::string NetworkFailureText(const Messages& m, const HttpResult& r) {
  switch (r.failure) {
    case HttpFailure::kNoServer:
      return m.Msg(msg::kNoUpdateServer);
    case HttpFailure::kNoConnection:
      return m.Filled(msg::kServerNotReached, {r.error});
    case HttpFailure::kTimeLimit:
      return m.Filled(msg::kRequestTimeLimit, {std::to_string(r.limit_seconds)});
    case HttpFailure::kTooLong:
      return m.Filled(msg::kAnswerTooLong, {std::to_string(kTextAnswerLimit / 1024)});
    case HttpFailure::kCancelled:
      return m.Msg(msg::kRequestCancelled);
    case HttpFailure::kServerStatus:
      return m.Filled(msg::kServerAnswered, {std::to_string(r.status)});
    case HttpFailure::kCannotWrite:
      // The client's reason is "cannot write PATH".
      return m.Filled(msg::kCannotWriteDownload,
                      {r.error.substr(std::min(r.error.size(), sizeof "cannot write " - 1))});
    case HttpFailure::kRefused:
    case HttpFailure::kNone:
      break;
  }
  return r.error;
}

}  // namespace morvela
