// Merging an odds package into KURZY: every row of the package's KURZY replaces the twenty
// odds of its match (BWIN_ID stays) or adds the match; rows the package does not mention stay.
#pragma once

#include <array>

#include "core/database.h"

namespace morvela {

// The twenty odds columns the merge writes, in the order of its INSERT.
inline constexpr std::array<const char*, 20> kOddsColumns = {
    "KURZ1",     "KURZX",      "KURZ2",      "KURZ1X",     "KURZX2",    "KURZ12",    "HT_KURZ1",
    "HT_KURZX",  "HT_KURZ2",   "HT_KURZ1X",  "HT_KURZX2",  "HT_KURZ12", "SHT_KURZ1", "SHT_KURZX",
    "SHT_KURZ2", "SHT_KURZ1X", "SHT_KURZX2", "SHT_KURZ12", "OVER",      "UNDER"};

struct OddsMergeCount {
  int updated = 0;
  int inserted = 0;
};

// Merges the KURZY rows of `odds` into the KURZY table of `main` in one transaction: all rows
// or none. An empty field writes NULL; a field that is no number, a row without a match id or
// an odds table without the twenty columns throws DatabaseError and nothing is merged.
OddsMergeCount MergeOdds(Connection& main, Query& odds);

}  // namespace morvela
