// Merging an odds package into KURZY: every row of the package's KURZY replaces the twenty
// odds of its match (BWIN_ID stays) or adds the match's odds; rows the package does not mention
// stay. Only coming matches take odds: a row for a match this database does not have, or for one
// already played, is skipped and counted, so a package can neither leave odds without a match
// (which a later import would trip over) nor rewrite the odds a played match was tipped at.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/database.h"

namespace morvela {

// The twenty odds columns the merge writes, in the order of its INSERT.
inline constexpr std::array<const char*, 20> kOddsColumns = {
    "KURZ1",     "KURZX",      "KURZ2",      "KURZ1X",     "KURZX2",    "KURZ12",    "HT_KURZ1",
    "HT_KURZX",  "HT_KURZ2",   "HT_KURZ1X",  "HT_KURZX2",  "HT_KURZ12", "SHT_KURZ1", "SHT_KURZX",
    "SHT_KURZ2", "SHT_KURZ1X", "SHT_KURZX2", "SHT_KURZ12", "OVER",      "UNDER"};

// The most rows an odds package may hold: far more than the coming matches of every league, far
// less than a package that grows without end.
inline constexpr int64_t kMaxOddsRows = 200'000;

struct OddsMergeCount {
  int updated = 0;
  int inserted = 0;
  int unknown_match = 0;  // skipped: no such match in this database
  int played = 0;         // skipped: the match has its result already
};

// Merges the KURZY rows of the package open on `package` (read through `odds`, a query on it) into
// the KURZY table of `main` in one transaction: all rows or none. An empty field writes NULL.
// Throws DatabaseError, and merges nothing, when the package's KURZY is not a table (a view is
// refused unread), holds more than kMaxOddsRows rows or lacks one of the twenty columns, or when a
// field is no number or a row has no match id; the text names the row and the field.
OddsMergeCount MergeOdds(Connection& main, Connection& package, Query& odds);

// "12 odds merged; skipped: 3 for matches this database does not have, 2 for matches already
// played" (the skip part only when something was skipped).
std::string OddsMergeText(const OddsMergeCount& count);

}  // namespace morvela
