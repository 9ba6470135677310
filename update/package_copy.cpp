#include "update/package_copy.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "builder/schema.h"
#include "core/atomic_file.h"
#include "core/text.h"

namespace morvela {

namespace fs = std::filesystem;

namespace {

struct StatementCloser {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using RawDatabase = std::unique_ptr<sqlite3, DatabaseCloser>;

Statement Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
    sqlite3_finalize(s);
    throw DatabaseError(sqlite3_errmsg(db));
  }
  return Statement(s);
}

std::string Text(sqlite3_stmt* s, int column) {
  const unsigned char* t = sqlite3_column_text(s, column);
  return t ? reinterpret_cast<const char*>(t) : "";
}

// The rows of a one- or two-column query as texts.
std::vector<std::vector<std::string>> Rows(sqlite3* db, const std::string& sql) {
  Statement s = Prepare(db, sql);
  std::vector<std::vector<std::string>> rows;
  int rc;
  while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(s.get()); ++i) row.push_back(Text(s.get(), i));
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(db));
  return rows;
}

// A column's declared type as the data layer reads it: the type name before any "(", in upper
// case ("TEXT(50)" -> "TEXT"); SMALLINT counts as INTEGER. Two columns read alike when these agree.
std::string TypeKind(std::string declared) {
  declared = declared.substr(0, declared.find('('));
  std::string kind;
  for (char c : declared)
    if (c != ' ') kind += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return kind == "SMALLINT" ? "INTEGER" : kind;
}

struct Column {
  std::string name, kind;
};

std::vector<Column> Columns(sqlite3* db, const std::string& schema, const std::string& table) {
  std::vector<Column> columns;
  Statement s = Prepare(db, "SELECT name, type FROM pragma_table_info(?1, ?2)");
  sqlite3_bind_text(s.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(s.get(), 2, schema.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(s.get()) == SQLITE_ROW)
    columns.push_back({Text(s.get(), 0), TypeKind(Text(s.get(), 1))});
  return columns;
}

std::string ObjectType(sqlite3* db, const std::string& schema, const std::string& name) {
  Statement s =
      Prepare(db, "SELECT type FROM " + schema + ".sqlite_master WHERE name=?1 COLLATE NOCASE");
  sqlite3_bind_text(s.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(s.get()) == SQLITE_ROW ? Text(s.get(), 0) : "";
}

bool IsProgramTable(const std::string& name) {
  return std::any_of(std::begin(kProgramTables), std::end(kProgramTables),
                     [&](const char* t) { return EqualsIgnoringAsciiCase(name, t); });
}

void Run(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw DatabaseError(why);
  }
}

// "name" as an SQLite identifier.
std::string Identifier(const std::string& name) {
  std::string out = "\"";
  for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// Checks one program table of the package against the program's own and copies its rows;
// false when an optional table is absent or not in the program's form.
bool CopyTable(sqlite3* db, const std::string& table, bool required) {
  const std::string kind = ObjectType(db, "pkg", table);
  if (kind.empty()) {
    if (required) throw PackageError("the package lacks the table " + table);
    return false;
  }
  if (kind != "table") {
    if (required) throw PackageError("the package's " + table + " is a " + kind + ", not a table");
    return false;
  }
  const std::vector<Column> ours = Columns(db, "main", table);
  const std::vector<Column> theirs = Columns(db, "pkg", table);
  std::string list;
  for (const Column& c : ours) {
    auto it = std::find_if(theirs.begin(), theirs.end(), [&](const Column& t) {
      return EqualsIgnoringAsciiCase(t.name, c.name);
    });
    if (it == theirs.end()) {
      if (!required) return false;
      throw PackageError("the package's table " + table + " lacks the column " + c.name);
    }
    if (it->kind != c.kind) {
      if (!required) return false;
      throw PackageError("the package's column " + table + "." + c.name + " is " +
                         (it->kind.empty() ? "untyped" : it->kind) + ", not " + c.kind);
    }
    list += (list.empty() ? "" : ",") + Identifier(c.name);
  }
  Run(db, "DELETE FROM main." + Identifier(table));
  Run(db, "INSERT INTO main." + Identifier(table) + " (" + list + ") SELECT " + list +
              " FROM pkg." + Identifier(table));
  return true;
}

RawDatabase OpenRaw(const fs::path& path, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  RawDatabase owned(db);
  if (rc != SQLITE_OK)
    throw DatabaseError("Cannot open '" + path.string() +
                        "': " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  sqlite3_busy_timeout(db, 5000);
  return owned;
}

// Copies all of `from`'s main database into `to`'s in one step of the online backup.
void Backup(sqlite3* from, sqlite3* to) {
  sqlite3_backup* b = sqlite3_backup_init(to, "main", from, "main");
  if (!b) throw DatabaseError(sqlite3_errmsg(to));
  const int rc = sqlite3_backup_step(b, -1);
  sqlite3_backup_finish(b);
  if (rc != SQLITE_DONE) throw DatabaseError(sqlite3_errstr(rc));
}

}  // namespace

std::string SchemaObjectType(Connection& conn, const std::string& name) {
  return ObjectType(conn.Handle(), "main", name);
}

int PageSize(Connection& conn) {
  return std::stoi(Rows(conn.Handle(), "PRAGMA page_size").at(0).at(0));
}

void BuildFromPackage(const fs::path& package, const fs::path& staging, int page_size,
                      const std::string& version_mark) {
  RemoveWithCompanions(staging);
  {
    // The page size is set before the file has its first page; the program's schema comes from
    // the builder, exactly as a new database gets it.
    RawDatabase raw = OpenRaw(staging, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Run(raw.get(), "PRAGMA page_size=" + std::to_string(page_size));
    Run(raw.get(), "CREATE TABLE page_size_set (x); DROP TABLE page_size_set");
  }
  Connection conn;
  conn.OpenFile(staging.string(), /*create=*/false);
  CreateSchema(conn);
  sqlite3* db = conn.Handle();
  // The package's schema is read but none of its code may run: no function of a view or
  // trigger of the package is trusted.
  Run(db, "PRAGMA trusted_schema=OFF");
  {
    Statement attach = Prepare(db, "ATTACH DATABASE ?1 AS pkg");
    sqlite3_bind_text(attach.get(), 1, package.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(attach.get()) != SQLITE_DONE)
      throw PackageError("the package is not a database: " + std::string(sqlite3_errmsg(db)));
  }
  std::string check;
  try {
    const auto rows = Rows(db, "PRAGMA pkg.quick_check");
    check = rows.size() == 1 ? rows[0][0] : "damaged";
  } catch (const DatabaseError& e) {
    check = e.what();
  }
  if (check != "ok") throw PackageError("the downloaded database is damaged: " + check);
  Run(db, "BEGIN");
  const auto tables = Rows(db,
                           "SELECT name FROM main.sqlite_master WHERE type='table' AND name NOT "
                           "LIKE 'sqlite_%' ORDER BY name");
  for (const auto& row : tables) CopyTable(db, row[0], IsProgramTable(row[0]));
  const auto settings = Rows(db, "SELECT COUNT(*) FROM main.NASTAVENIE");
  if (settings.at(0).at(0) != "1")
    throw PackageError("the package has " + settings[0][0] + " settings rows, not one");
  {
    Statement stamp = Prepare(db, "UPDATE main.NASTAVENIE SET VERZIA=?1");
    sqlite3_bind_text(stamp.get(), 1, version_mark.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(stamp.get()) != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(db));
  }
  Run(db, "COMMIT");
  Run(db, "DETACH DATABASE pkg");
  conn.Close();  // the last connection checkpoints its log into the file
}

void CopyIntoLive(const fs::path& source, Connection& live) {
  RawDatabase from = OpenRaw(source, SQLITE_OPEN_READONLY);
  Backup(from.get(), live.Handle());
}

void CopyLiveTo(Connection& live, const fs::path& target) {
  RemoveWithCompanions(target);
  RawDatabase to = OpenRaw(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  Backup(live.Handle(), to.get());
  Run(to.get(), "PRAGMA journal_mode=DELETE");
}

}  // namespace morvela
