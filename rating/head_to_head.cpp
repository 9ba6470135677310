#include "rating/head_to_head.h"

#include <array>

#include "core/helpers.h"
#include "core/outcome.h"
#include "core/rounding.h"

namespace morvela {

namespace {

// Weights of the four meetings that count, the most recent first.
constexpr std::array<int32_t, 4> kMeetingWeights{24, 20, 16, 12};

}  // namespace

std::string MeetingsStatement(const std::string& outcome_column, int64_t home, int64_t away,
                              const Date& before) {
  const std::string& o = outcome_column;
  return "SELECT TOP 4 ID,DATUM," + o + " FROM VYSLEDKY WHERE (HOME=" + std::to_string(home) +
         " AND AWAY=" + std::to_string(away) + " AND DATUM<" + FormatSqlDate(before) +
         " AND KONTUMACIA=0 AND " + o + "<>\"\") ORDER BY DATUM DESC";
}

std::vector<Meeting> ReadMeetings(Query& q, const std::string& statement,
                                  const std::string& outcome_column, const Date& reference) {
  q.Open(statement);
  std::vector<Meeting> meetings;
  for (; !q.Eof(); q.Next()) {
    const Date when = q.FieldByName("DATUM").AsDate().value_or(reference);
    meetings.push_back({DaysBetween(when, reference), q.FieldByName(outcome_column).AsString()});
  }
  return meetings;
}

std::vector<Meeting> ReadMeetings(Connection& conn, const std::string& statement,
                                  const std::string& outcome_column, const Date& reference) {
  Query q(conn);
  return ReadMeetings(q, statement, outcome_column, reference);
}

int32_t AdjustByMeetings(int32_t d, const std::vector<Meeting>& meetings) {
  // Ages are whole days, so the scaled weight (1 - age / total) * w is the exact ratio
  // w * (total - age) / total.
  int64_t total = 0;
  for (const Meeting& m : meetings) total += m.age;
  int32_t w = 0;
  for (size_t r = 0; r < meetings.size(); ++r) {
    if (r < kMeetingWeights.size()) w = kMeetingWeights[r];
    if (total != 0)
      w = static_cast<int32_t>(RoundRatioHalfEven(int64_t{w} * (total - meetings[r].age), total));
    const std::optional<Outcome> o = OutcomeFromText(meetings[r].outcome);
    if (o == Outcome::kHomeWin) {
      d += w;
    } else if (o == Outcome::kAwayWin) {
      d -= w;
    } else if (o == Outcome::kDraw) {
      w = static_cast<int32_t>(RoundRatioHalfEven(w, 2));
      if (d > kDrawPull && d - w > kDrawPull) d -= w;
      if (d < kDrawPull && d + w < kDrawPull) d += w;
    }
  }
  return d;
}

}  // namespace morvela
