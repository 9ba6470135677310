// The head-to-head adjustment of a rating difference: the pairing's last meetings with the same
// home side move the difference before it is stored (season replay) or shown (pairing
// analysis, live tip). One home for the rule, so that a stored difference and the one the match
// window shows for the same fixture agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/date.h"

namespace morvela {

// One meeting of the adjustment: its age in days and its stored outcome text.
struct Meeting {
  int64_t age = 0;
  std::string outcome;  // "1", "0", "2"; any other text moves nothing
};

// A drawn meeting pulls the difference toward this value, never onto or past it.
inline constexpr int32_t kDrawPull = -130;

// The statement of the meetings that count: the last four of `home` at home against `away`
// before `before`, forfeits and meetings without an outcome in `outcome_column` left out, most
// recent first.
std::string MeetingsStatement(const std::string& outcome_column, int64_t home, int64_t away,
                              const Date& before);

// The meetings a head-to-head statement returns (columns DATUM and `outcome_column`), aged
// against `reference` (a row without a date is 0 days old), in the statement's order. The
// Query overload reuses the caller's cursor.
std::vector<Meeting> ReadMeetings(Query& q, const std::string& statement,
                                  const std::string& outcome_column, const Date& reference);
std::vector<Meeting> ReadMeetings(Connection& conn, const std::string& statement,
                                  const std::string& outcome_column, const Date& reference);

// Moves d by the meetings (most recent first): weights 24, 20, 16, 12 scaled down by each
// meeting's share of the age sum, w * (sum - age) / sum rounded half to even (unscaled when the
// sum is 0); a meeting after the fourth keeps the weight left by the one before. A home win
// adds the weight, an away win subtracts it, a draw moves d toward kDrawPull by half the weight
// (rounded half to even) only when that does not reach or cross it.
int32_t AdjustByMeetings(int32_t d, const std::vector<Meeting>& meetings);

}  // namespace morvela
