// A failed request's reason in the user's language, for the line under an update message.
#pragma once

#include <string>

#include "update/http_client.h"

namespace morvela {

class Messages;

// The reason of `r` (which failed). What only a technician reads (libcurl's words, the refused
// address's explanation) stays as it came, inside the translated sentence where there is one.
std::string NetworkFailureText(const Messages& messages, const HttpResult& r);

}  // namespace morvela
