// The maker's side of the update: from the current database, the files an update server
// publishes as static files under its base address.
//
//   check.txt    the database date dd.mm.yyyy, enciphered (EncipherText); the date check
//   results.qvz  the whole database as one zlib stream (RFC 1950), from a consistent snapshot
//                whose DAT_DB is stamped with the date check.txt answers
//   odds.qvz     a zlib stream of a database that holds only KURZY (ID and the twenty odds) of
//                the coming fixtures: matches without a result from today on
//   version.txt  the program's version text, plain
//
// check.txt is replaced last, so that a client never sees a new date before its package.
#pragma once

#include <cstdint>
#include <string>

#include "core/date.h"

namespace morvela {

struct PackageReport {
  std::string date;             // the date check.txt answers (dd.mm.yyyy)
  uint64_t database_bytes = 0;  // the snapshot, uncompressed
  uint64_t results_bytes = 0;   // results.qvz
  uint64_t odds_bytes = 0;      // odds.qvz
  int64_t odds_rows = 0;        // KURZY rows in odds.qvz
};

// The date the packages carry by default: the database's DAT_DB when it deciphers to a date,
// else today.
std::string DefaultPackageDate(const std::string& database_path, const Date& today);

// Writes the four files into out_dir (created when missing), each replaced atomically. `date`
// (dd.mm.yyyy, already checked) is the date check.txt answers and the packaged database's DAT_DB
// (enciphered as the database keeps it; the database at database_path is not changed); `today`
// chooses the coming fixtures. Throws DatabaseError for the database, std::runtime_error for a file
// that cannot be written; files written before the failure stay.
PackageReport WriteUpdatePackages(const std::string& database_path, const std::string& out_dir,
                                  const std::string& date, const Date& today);

// The zlib stream (RFC 1950) of a whole file at zlib's default level (on the real data 3 % larger
// than the best level, five times faster).
std::string DeflateFile(const std::string& path);

}  // namespace morvela
