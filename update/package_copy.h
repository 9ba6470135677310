// Taking a downloaded results package into the program without adopting anything of it but its
// rows: a new database is built from the program's own schema, and the package's rows are
// copied into it by named columns. The package's triggers, views, indexes and unknown tables
// are never carried over, so a package cannot bring code that runs on the user's later writes.
#pragma once

#include <filesystem>
#include <string>

#include "core/database.h"

namespace morvela {

// Builds `staging` (a new file) from the program's schema and copies into it the rows of every
// program table of the database file `package`, which is only read. The page size of
// `staging` is `page_size`, so it can be copied into a live database with that page size.
// Throws PackageError naming what is wrong when the package is damaged (quick_check), lacks a
// program table or one of its columns, has a column of another type, or holds a view or anything
// but a table under a program table's name. The builder's own tables (replay marks, origin,
// calibration) are copied when the package has them in the program's form and left empty
// otherwise. VERZIA of the one settings row becomes `version_mark`.
void BuildFromPackage(const std::filesystem::path& package, const std::filesystem::path& staging,
                      int page_size, const std::string& version_mark);

// Copies the whole content of the database file `source` into the open connection `live`
// through SQLite's online backup, in one write transaction of `live`: every connection to the
// live file, in this process or another, sees the old content or the new, and a crash leaves
// the old. Waits for other writers as the connection's busy timeout allows. The page sizes must
// agree when `live` is in WAL mode. Throws DatabaseError.
void CopyIntoLive(const std::filesystem::path& source, Connection& live);

// Writes a copy of the open database `live` to the file `target` (replaced), taken from one
// consistent read of it, through the online backup. Throws DatabaseError.
void CopyLiveTo(Connection& live, const std::filesystem::path& target);

// What the schema object `name` of an open database is ("table", "view", "index", "trigger"),
// empty when there is none; the name is compared without regard to case.
std::string SchemaObjectType(Connection& conn, const std::string& name);

// The page size of an open database.
int PageSize(Connection& conn);

}  // namespace morvela
