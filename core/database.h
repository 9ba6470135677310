// The data access layer: a connection to the program's database, statements that return no
// rows, and cursors that walk the rows of a query.
//
// The program writes its SQL in an Access-like dialect (double-quoted text, #yyyy-mm-dd# dates,
// TOP n, DELETE * FROM, IIF, STR, + as concatenation, yes/no columns holding -1/0). Every
// statement goes through the dialect translator (core/sql_dialect.h) before SQLite sees it, so
// the statement texts in the code stay exactly as the program's design writes them.
//
// Result sets are read whole into memory: a cursor knows its row count, and any number of
// cursors can be open at once. A failing statement throws DatabaseError with the engine's text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/error.h"

#include "core/date.h"

struct sqlite3;
struct sqlite3_stmt;

namespace morvela {

// How a column's stored value reads as text (from the column's declared type).
enum class ColumnKind : uint8_t {
  kPlain,    // numbers and texts as they are
  kDate,     // stored "yyyy-mm-dd"; reads as "dd.mm.yyyy"
  kYesNo,    // stored -1 / 0; reads as "True" / "False"
  kDecimal,  // reads with a decimal comma ("1,85")
};

using Cell = std::variant<std::monostate, int64_t, double, std::string>;

// A whole result set held in memory.
struct ResultData {
  std::vector<std::string> names;  // "TABLE.COLUMN" where two columns share a name
  std::vector<ColumnKind> kinds;
  std::vector<std::vector<Cell>> rows;
};

// Read access to one cell. A NULL reads as 0, 0.0, the empty text, false, or no date.
class Field {
 public:
  Field(const Cell& cell, ColumnKind kind) : cell_(&cell), kind_(kind) {}
  bool IsNull() const { return std::holds_alternative<std::monostate>(*cell_); }
  int64_t AsInteger() const;  // a real value is rounded half to even; text parsed, else 0
  double AsFloat() const;     // text parsed with a point or a comma, else 0
  std::string AsString() const;
  bool AsBoolean() const;  // non-zero numbers and the texts "True"/"-1" are true
  std::optional<Date> AsDate() const;
  ColumnKind Kind() const { return kind_; }

 private:
  const Cell* cell_;
  ColumnKind kind_;
};

// Counters for benchmarks and the CLI's statistics.
struct ConnectionStats {
  uint64_t statements = 0;  // statements run (queries and commands)
  uint64_t prepared = 0;    // statements compiled by SQLite (cache misses)
  uint64_t rows_read = 0;
};

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The connection string in the program's form: "Provider=...;Data Source=<folder>Morvela.mdb;
  // Mode=...;Jet OLEDB:Database Password=<pw>;Persist Security Info=False". It is kept as text
  // (the database update rewrites its file name) and parsed for the data source when opening;
  // the password is accepted and ignored.
  void SetConnectionString(std::string text) { connection_string_ = std::move(text); }
  const std::string& ConnectionString() const { return connection_string_; }

  // Opens the data source of the connection string. The file must exist and be a database of
  // this program (it must hold every table of kProgramTables); otherwise DatabaseError, whose
  // text gives the reason. The tables are checked before the connection's journal mode is set,
  // so a refused file is left exactly as it was.
  void Open();
  // Opens a database file directly, creating it when create is set (the builder's way in).
  void OpenFile(const std::string& path, bool create);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  std::string DataSource() const;  // the file the connection string names

  // Runs a statement that returns no rows; returns the number of rows it changed.
  int Execute(std::string_view sql);
  // Runs a query and reads all its rows.
  ResultData Select(std::string_view sql);
  // Runs SQLite SQL directly, without the dialect translator (schema building, pragmas).
  void ExecuteNative(const std::string& sql);

  int64_t LastInsertId() const;

  // Transactions are not part of the program's dialect; the builder uses them so that an
  // import never leaves a file half-written.
  void Begin();
  void Commit();
  void Rollback();
  bool InTransaction() const;

  const ConnectionStats& Stats() const { return stats_; }
  sqlite3* Handle() { return db_; }

 private:
  struct StatementCache;
  // Opens the file; when check_schema is set, refuses it (DatabaseError, the file untouched)
  // unless it holds the program's tables.
  void OpenPath(const std::string& path, bool create, bool check_schema);
  // The program's tables that the open file lacks (names as in kProgramTables).
  std::vector<std::string> MissingProgramTables();
  // Translates a statement, takes its compiled form from the cache and binds its literals.
  sqlite3_stmt* PrepareBound(std::string_view sql);
  void RegisterFunctions();

  std::string connection_string_;
  std::string path_;
  sqlite3* db_ = nullptr;
  std::unique_ptr<StatementCache> cache_;
  ConnectionStats stats_;
};

// Runs `work` in a transaction of `conn`: committed when it returns, rolled back when it
// throws (the exception passes through). The one way the program writes several statements
// as all or nothing.
template <typename Work>
auto InTransaction(Connection& conn, Work&& work) {
  conn.Begin();
  try {
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      conn.Commit();
    } else {
      auto result = work();
      conn.Commit();
      return result;
    }
  } catch (...) {
    conn.Rollback();
    throw;
  }
}

// The tables every database of this program holds.
inline constexpr const char* kProgramTables[] = {"LIGA",     "SUTAZ", "MUZSTVA", "SUTAZ_MUZSTVA",
                                                 "VYSLEDKY", "KURZY", "TIPY",    "NASTAVENIE"};

// Parses "Data Source=" out of a connection string; empty when absent.
std::string ConnectionStringDataSource(std::string_view connection_string);

// Builds the program's connection string for a folder (with trailing separator) and password.
std::string MakeConnectionString(const std::string& folder, const std::string& password);

// Runs statements that return no rows (the data module's Command1).
class Command {
 public:
  explicit Command(Connection& c) : conn_(&c) {}
  int Execute(std::string_view sql) { return conn_->Execute(sql); }

 private:
  Connection* conn_;
};

// A reusable query cursor (the data module's Work1..Work3 and Q1).
class Query {
 public:
  using DisplayRule = std::function<std::string(const Query&)>;

  explicit Query(Connection& c) : conn_(&c) {}

  // Closes the cursor, replaces its SQL, opens it and positions it on the first row.
  // Display rules are dropped; attach them again after opening.
  void Open(std::string_view sql);
  void Close();
  bool Active() const { return open_; }
  const std::string& Sql() const { return sql_; }

  void First() { pos_ = 0; }
  void Next() {
    if (pos_ < static_cast<int>(data_.rows.size())) ++pos_;
  }
  bool Eof() const { return pos_ >= static_cast<int>(data_.rows.size()); }
  int RecordCount() const { return static_cast<int>(data_.rows.size()); }
  int RecNo() const { return pos_; }  // 0-based current row
  void MoveTo(int row) { pos_ = row; }

  const std::vector<std::string>& FieldNames() const { return data_.names; }
  // Index of a column by name (case-insensitive); a plain name also matches "TABLE.NAME".
  std::optional<int> FindField(std::string_view name) const;
  bool HasField(std::string_view name) const { return FindField(name).has_value(); }
  // The named column of the current row; throws DatabaseError when the column does not exist
  // or the cursor is at its end.
  Field FieldByName(std::string_view name) const;

  // Text shown for a column: its display rule when one is attached, else AsString.
  std::string DisplayText(std::string_view name) const;
  void SetDisplayRule(std::string column, DisplayRule rule);

 private:
  Connection* conn_;
  std::string sql_;
  ResultData data_;
  bool open_ = false;
  int pos_ = 0;
  std::vector<std::pair<std::string, DisplayRule>> rules_;
};

}  // namespace morvela
