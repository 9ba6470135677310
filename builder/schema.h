// Creating an empty program database: every table and column the program reads or writes,
// the indexes for the lookups it makes, the twenty leagues and the one settings row.
#pragma once

#include <string>

#include "core/database.h"
#include "program/program.h"

namespace morvela {

// Creates the tables, indexes and fixed rows in an open, empty database.
void CreateSchema(Connection& conn);

// The six indexes over the rating differences. A replay of most of the database
// (PrepareSeasons) drops them first and makes them again after: one sort each instead of two
// index moves per difference written.
void DropDifferenceIndexes(Connection& conn);
void CreateDifferenceIndexes(Connection& conn);  // those missing
bool DifferenceIndexesComplete(Connection& conn);

// Adds the builder's bookkeeping tables (REPLAY_PENDING, DB_ORIGIN) to a database made before
// they existed; does nothing when they are there.
void EnsureBuilderTables(Connection& conn);

// Who made the database: "demo" for the demo database, empty when nobody said.
std::string DatabaseOrigin(Connection& conn);
void SetDatabaseOrigin(Connection& conn, const std::string& origin);

// Creates a new database file with the schema. The file is built beside the target and renamed
// over it only when complete, so a failure never leaves a half-made file behind. Refuses to
// replace an existing file unless overwrite is set. Throws DatabaseError.
void CreateEmptyDatabase(const std::string& path, bool overwrite);

}  // namespace morvela
