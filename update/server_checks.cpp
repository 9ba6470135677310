#include "update/server_checks.h"

#include <cstdio>

#include "core/cipher.h"
#include "core/helpers.h"
#include "core/text.h"
#include "program/program.h"

namespace morvela {

namespace {

std::optional<Date> ReadUpdateDate(std::string_view text) {
  text = TrimBlanksAndControls(text);
  if (auto d = ParseShortDate(text)) return d;
  return ParseIsoDate(text);
}

}  // namespace

std::string QuotedAnswer(std::string_view answer) {
  const std::string shown = ValueForMessage(answer);  // cut first, so no escape is cut in half
  std::string out = "\"";
  for (const char ch : shown) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

DateCheckResult CheckServerDate(HttpClient& http, const UpdateServer& server,
                                std::string_view local_date, const Date& today) {
  DateCheckResult found;
  std::string answer;
  const HttpResult r = http.GetText(JoinUrl(server.base_url, kDateCheckPath), answer);
  if (!r.ok) {
    found.error = r.error;
    found.request = r;
    return found;
  }
  // An answer that is no date (a proxy's error page, a half-written file) says nothing about
  // the server's database, so it must neither offer an install nor call the database current.
  const std::optional<Date> server_date =
      ReadUpdateDate(DecipherText(TrimBlanksAndControls(answer), /*soft=*/true));
  if (!server_date) {
    found.error = std::string(kDateCheckPath) + " holds no date: " + QuotedAnswer(answer);
    return found;
  }
  found.server_date = FormatDateText(*server_date);
  const Date local = ReadUpdateDate(local_date).value_or(today);
  found.result = *server_date > local ? kServerNewer : kDatabaseCurrent;
  return found;
}

ServerCheckResult RunServerChecks(const ServerCheckPlan& plan, const std::atomic<bool>* cancel) {
  HttpClient http;
  http.SetServer(plan.server);
  http.SetTimeouts(plan.timeouts);
  http.SetCancelFlag(cancel);
  ServerCheckResult found;
  if (plan.version) found.version = CheckProgramVersion(http, plan.server, kProgramVersion);
  if (plan.date) found.date = CheckServerDate(http, plan.server, plan.local_date, plan.today);
  return found;
}

}  // namespace morvela
