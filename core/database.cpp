#include "core/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <list>
#include <unordered_map>

#include "core/rounding.h"
#include "core/sql_dialect.h"

namespace morvela {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

ColumnKind KindOfDeclType(const char* decl) {
  if (!decl) return ColumnKind::kPlain;
  std::string_view d(decl);
  if (StartsWithNoCase(d, "DATE")) return ColumnKind::kDate;
  if (StartsWithNoCase(d, "BIT") || StartsWithNoCase(d, "YESNO") || StartsWithNoCase(d, "BOOL"))
    return ColumnKind::kYesNo;
  if (StartsWithNoCase(d, "DECIMAL") || StartsWithNoCase(d, "NUMERIC") ||
      StartsWithNoCase(d, "CURRENCY") || StartsWithNoCase(d, "MONEY"))
    return ColumnKind::kDecimal;
  return ColumnKind::kPlain;
}

// Shortest text of a floating value with a decimal comma ("1,85", "2", "0,5").
std::string FloatText(double v) {
  if (std::isnan(v) || std::isinf(v)) return "0";
  char buf[64];
  for (int prec = 1; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  std::string s(buf);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::optional<double> ParseNumberText(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return std::nullopt;
  std::string t(s);
  for (char& c : t)
    if (c == ',') c = '.';
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size()) return std::nullopt;
  return v;
}

void Check(sqlite3* db, int rc, std::string_view context) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw DatabaseError(msg + (context.empty() ? "" : " [" + std::string(context) + "]"));
}

// STR(x): a number as text with a leading blank where the sign would stand.
void StrFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
      sqlite3_result_null(ctx);
      return;
    case SQLITE_INTEGER: {
      sqlite3_int64 v = sqlite3_value_int64(argv[0]);
      std::string s = (v < 0 ? "" : " ") + std::to_string(v);
      sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      return;
    }
    default: {
      double v = sqlite3_value_double(argv[0]);
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", v);
      std::string s = (v < 0 ? "" : " ") + std::string(buf);
      sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------- Field

int64_t Field::AsInteger() const {
  if (auto* i = std::get_if<int64_t>(cell_)) return *i;
  if (auto* d = std::get_if<double>(cell_)) return RoundHalfEven(*d);
  if (auto* s = std::get_if<std::string>(cell_)) {
    if (kind_ == ColumnKind::kYesNo) return AsBoolean() ? -1 : 0;
    if (auto v = ParseNumberText(*s)) return RoundHalfEven(*v);
  }
  return 0;
}

double Field::AsFloat() const {
  if (auto* i = std::get_if<int64_t>(cell_)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(cell_)) return *d;
  if (auto* s = std::get_if<std::string>(cell_)) return ParseNumberText(*s).value_or(0.0);
  return 0.0;
}

std::string Field::AsString() const {
  if (IsNull()) return "";
  if (kind_ == ColumnKind::kYesNo) return AsBoolean() ? "True" : "False";
  if (auto* s = std::get_if<std::string>(cell_)) {
    if (kind_ == ColumnKind::kDate) {
      if (auto d = ParseIsoDate(std::string_view(*s).substr(0, std::min<size_t>(s->size(), 10)))) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02u.%02u.%04d", static_cast<unsigned>(d->day()),
                      static_cast<unsigned>(d->month()), static_cast<int>(d->year()));
        return buf;
      }
    }
    return *s;
  }
  if (auto* i = std::get_if<int64_t>(cell_)) return std::to_string(*i);
  return FloatText(std::get<double>(*cell_));
}

bool Field::AsBoolean() const {
  if (auto* i = std::get_if<int64_t>(cell_)) return *i != 0;
  if (auto* d = std::get_if<double>(cell_)) return *d != 0.0;
  if (auto* s = std::get_if<std::string>(cell_)) {
    if (EqualsNoCase(*s, "true") || EqualsNoCase(*s, "yes")) return true;
    if (auto v = ParseNumberText(*s)) return *v != 0.0;
  }
  return false;
}

std::optional<Date> Field::AsDate() const {
  if (auto* s = std::get_if<std::string>(cell_)) {
    if (auto d = ParseIsoDate(std::string_view(*s).substr(0, std::min<size_t>(s->size(), 10))))
      return d;
    return ParseShortDate(*s);
  }
  return std::nullopt;
}

// ------------------------------------------------------------------------ statement cache

struct Connection::StatementCache {
  static constexpr size_t kCapacity = 512;
  struct Entry {
    sqlite3_stmt* stmt;
    std::list<std::string>::iterator lru;
  };
  std::unordered_map<std::string, Entry> map;
  std::list<std::string> order;  // most recent first

  ~StatementCache() { Clear(); }

  void Clear() {
    for (auto& [sql, e] : map) sqlite3_finalize(e.stmt);
    map.clear();
    order.clear();
  }

  // Returns a reset statement for the text, compiling it on a miss.
  sqlite3_stmt* Get(sqlite3* db, const std::string& sql, ConnectionStats& stats) {
    if (auto it = map.find(sql); it != map.end()) {
      order.splice(order.begin(), order, it->second.lru);
      sqlite3_reset(it->second.stmt);
      sqlite3_clear_bindings(it->second.stmt);
      return it->second.stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt);
      Check(db, rc, "");
    }
    if (!stmt) throw DatabaseError("Empty statement");
    ++stats.prepared;
    if (map.size() >= kCapacity) {
      auto victim = map.find(order.back());
      sqlite3_finalize(victim->second.stmt);
      map.erase(victim);
      order.pop_back();
    }
    order.push_front(sql);
    map.emplace(sql, Entry{stmt, order.begin()});
    return stmt;
  }
};

namespace {

// Resets a cached statement when the scope ends, so an error mid-walk leaves no open read.
struct StatementReset {
  sqlite3_stmt* stmt;
  ~StatementReset() { sqlite3_reset(stmt); }
};

void Bind(sqlite3* db, sqlite3_stmt* stmt, const std::vector<SqlParam>& params) {
  if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(stmt))
    throw DatabaseError("Parameter count mismatch");
  for (size_t k = 0; k < params.size(); ++k) {
    int idx = static_cast<int>(k) + 1;
    int rc;
    if (auto* i = std::get_if<int64_t>(&params[k])) {
      rc = sqlite3_bind_int64(stmt, idx, *i);
    } else if (auto* d = std::get_if<double>(&params[k])) {
      rc = sqlite3_bind_double(stmt, idx, *d);
    } else {
      const std::string& s = std::get<std::string>(params[k]);
      rc = sqlite3_bind_text(stmt, idx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    Check(db, rc, "bind");
  }
}

}  // namespace

// ----------------------------------------------------------------------------- Connection

Connection::Connection() : cache_(std::make_unique<StatementCache>()) {}

Connection::~Connection() {
  Close();
}

std::string ConnectionStringDataSource(std::string_view cs) {
  // Keys are separated by ";"; the key compares without regard to case.
  size_t pos = 0;
  while (pos <= cs.size()) {
    size_t end = cs.find(';', pos);
    if (end == std::string_view::npos) end = cs.size();
    std::string_view part = cs.substr(pos, end - pos);
    size_t eq = part.find('=');
    if (eq != std::string_view::npos) {
      std::string_view key = part.substr(0, eq);
      while (!key.empty() && key.front() == ' ') key.remove_prefix(1);
      while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
      if (EqualsNoCase(key, "Data Source")) return std::string(part.substr(eq + 1));
    }
    pos = end + 1;
  }
  return "";
}

std::string MakeConnectionString(const std::string& folder, const std::string& password) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "Morvela.mdb;" +
         "Mode=Share Deny None;" + "Jet OLEDB:Database Password=" + password + ";" +
         "Persist Security Info=False";
}

std::string Connection::DataSource() const {
  return ConnectionStringDataSource(connection_string_);
}

void Connection::Open() {
  std::string path = DataSource();
  if (path.empty()) throw DatabaseError("The connection string names no data source");
  if (!std::filesystem::exists(path)) throw DatabaseError("Could not find file '" + path + "'.");
  OpenPath(path, false, /*check_schema=*/true);
}

void Connection::OpenFile(const std::string& path, bool create) {
  OpenPath(path, create, /*check_schema=*/false);
}

std::vector<std::string> Connection::MissingProgramTables() {
  // Read with SQLite's own statement rather than through the dialect: sqlite_master is not a
  // table of the program's SQL.
  sqlite3_stmt* stmt = nullptr;
  Check(db_,
        sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type IN ('table','view')", -1,
                           &stmt, nullptr),
        "");
  std::vector<std::string> present;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(stmt, 0);
    if (name) present.emplace_back(reinterpret_cast<const char*>(name));
  }
  const int errcode = rc == SQLITE_DONE ? SQLITE_OK : rc;
  sqlite3_finalize(stmt);
  Check(db_, errcode, "");
  std::vector<std::string> missing;
  for (const char* table : kProgramTables) {
    const bool found = std::any_of(present.begin(), present.end(), [&](const std::string& name) {
      return EqualsNoCase(name, table);
    });
    if (!found) missing.emplace_back(table);
  }
  return missing;
}

void Connection::OpenPath(const std::string& path, bool create, bool check_schema) {
  Close();
  int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw DatabaseError("Cannot open '" + path + "': " + msg);
  }
  db_ = db;
  path_ = path;
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 5000);
  // A file that is not this program's database is refused at once, before the journal mode
  // below writes to it, rather than at the first query somewhere deep in an operation.
  if (check_schema) {
    std::string problem;
    try {
      const std::vector<std::string> missing = MissingProgramTables();
      if (missing.size() == std::size(kProgramTables)) {
        problem = "it holds none of the program's tables";
      } else if (!missing.empty()) {
        problem = "it lacks the table" + std::string(missing.size() > 1 ? "s " : " ");
        for (size_t i = 0; i < missing.size(); ++i) problem += (i ? ", " : "") + missing[i];
      }
    } catch (const DatabaseError& e) {
      problem = e.what();
    }
    if (!problem.empty()) {
      Close();
      throw DatabaseError("'" + path + "' is not a valid database: " + problem);
    }
  }
  try {
    // WAL with synchronous=NORMAL: the many single-statement writes stay fast, and a crash
    // loses at most the last transactions, never the file.
    ExecuteNative("PRAGMA journal_mode=WAL");
    ExecuteNative("PRAGMA synchronous=NORMAL");
    ExecuteNative("PRAGMA foreign_keys=OFF");
    ExecuteNative("PRAGMA cache_size=-65536");
    RegisterFunctions();
  } catch (const DatabaseError& e) {
    Close();
    throw DatabaseError("Cannot open '" + path + "': " + e.what());
  }
}

void Connection::RegisterFunctions() {
  Check(db_,
        sqlite3_create_function_v2(db_, "STR", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   StrFunction, nullptr, nullptr, nullptr),
        "STR");
  // Access's UCASE/LCASE are SQLite's UPPER/LOWER.
  auto alias = [this](const char* name, const char* target) {
    Check(db_,
          sqlite3_create_function_v2(
              db_, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, const_cast<char*>(target),
              [](sqlite3_context* ctx, int, sqlite3_value** argv) {
                const bool upper =
                    std::string_view(static_cast<const char*>(sqlite3_user_data(ctx))) == "UPPER";
                if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
                  sqlite3_result_null(ctx);
                  return;
                }
                std::string s(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
                for (char& c : s)
                  c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                              : std::tolower(static_cast<unsigned char>(c)));
                sqlite3_result_text(ctx, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
              },
              nullptr, nullptr, nullptr),
          name);
  };
  alias("UCASE", "UPPER");
  alias("LCASE", "LOWER");
}

void Connection::Close() {
  if (!db_) return;
  cache_->Clear();
  sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
}

void Connection::ExecuteNative(const std::string& sql) {
  if (!db_) throw DatabaseError("The database is not open");
  char* err = nullptr;
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    std::string msg = err ? err : sqlite3_errstr(rc);
    sqlite3_free(err);
    throw DatabaseError(msg);
  }
}

sqlite3_stmt* Connection::PrepareBound(std::string_view sql) {
  if (!db_) throw DatabaseError("The database is not open");
  TranslatedSql t = TranslateSql(sql);
  sqlite3_stmt* stmt = cache_->Get(db_, t.sql, stats_);
  Bind(db_, stmt, t.params);  // a failure leaves the statement to be reset by its next use
  ++stats_.statements;
  return stmt;
}

int Connection::Execute(std::string_view sql) {
  sqlite3_stmt* stmt = PrepareBound(sql);
  StatementReset guard{stmt};
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  Check(db_, rc, "");
  return sqlite3_changes(db_);
}

ResultData Connection::Select(std::string_view sql) {
  sqlite3_stmt* stmt = PrepareBound(sql);
  StatementReset guard{stmt};

  // The first step comes before the column list is read: a statement compiled before a
  // schema change is compiled anew by that step, and "SELECT *" may then have more columns.
  int rc = sqlite3_step(stmt);
  Check(db_, rc, "");
  ResultData r;
  const int ncol = sqlite3_column_count(stmt);
  r.names.reserve(ncol);
  r.kinds.reserve(ncol);
  for (int c = 0; c < ncol; ++c) {
    r.names.emplace_back(sqlite3_column_name(stmt, c));
    r.kinds.push_back(KindOfDeclType(sqlite3_column_decltype(stmt, c)));
  }
  // Two columns of a join with one name are told apart as TABLE.COLUMN.
  for (int c = 0; c < ncol; ++c) {
    for (int k = 0; k < ncol; ++k) {
      if (k != c && EqualsNoCase(r.names[c], sqlite3_column_name(stmt, k))) {
        if (const char* table = sqlite3_column_table_name(stmt, c))
          r.names[c] = std::string(table) + "." + sqlite3_column_name(stmt, c);
        break;
      }
    }
  }
  for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
    std::vector<Cell> row;
    row.reserve(ncol);
    for (int c = 0; c < ncol; ++c) {
      switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
          row.emplace_back(static_cast<int64_t>(sqlite3_column_int64(stmt, c)));
          break;
        case SQLITE_FLOAT:
          row.emplace_back(sqlite3_column_double(stmt, c));
          break;
        case SQLITE_NULL:
          row.emplace_back(std::monostate{});
          break;
        default: {
          const unsigned char* txt = sqlite3_column_text(stmt, c);
          row.emplace_back(std::string(reinterpret_cast<const char*>(txt),
                                       static_cast<size_t>(sqlite3_column_bytes(stmt, c))));
        }
      }
    }
    r.rows.push_back(std::move(row));
  }
  Check(db_, rc, "");
  stats_.rows_read += r.rows.size();
  return r;
}

int64_t Connection::LastInsertId() const {
  return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

void Connection::Begin() {
  ExecuteNative("BEGIN IMMEDIATE");
}
void Connection::Commit() {
  ExecuteNative("COMMIT");
}
void Connection::Rollback() {
  if (InTransaction()) ExecuteNative("ROLLBACK");
}
bool Connection::InTransaction() const {
  return db_ && !sqlite3_get_autocommit(db_);
}

// ---------------------------------------------------------------------------------- Query

void Query::Open(std::string_view sql) {
  Close();
  sql_ = std::string(sql);
  data_ = conn_->Select(sql);
  open_ = true;
  pos_ = 0;
}

void Query::Close() {
  open_ = false;
  data_ = ResultData{};
  pos_ = 0;
  rules_.clear();
}

std::optional<int> Query::FindField(std::string_view name) const {
  for (size_t c = 0; c < data_.names.size(); ++c)
    if (EqualsNoCase(data_.names[c], name)) return static_cast<int>(c);
  if (name.find('.') == std::string_view::npos) {
    for (size_t c = 0; c < data_.names.size(); ++c) {
      const std::string& n = data_.names[c];
      size_t dot = n.rfind('.');
      if (dot != std::string::npos && EqualsNoCase(std::string_view(n).substr(dot + 1), name))
        return static_cast<int>(c);
    }
  } else {
    // "VYSLEDKY.ID" also finds a plain "ID" when the name was not ambiguous.
    std::string_view bare = name.substr(name.rfind('.') + 1);
    for (size_t c = 0; c < data_.names.size(); ++c)
      if (EqualsNoCase(data_.names[c], bare)) return static_cast<int>(c);
  }
  return std::nullopt;
}

Field Query::FieldByName(std::string_view name) const {
  auto idx = FindField(name);
  if (!idx) throw DatabaseError("Item cannot be found in the collection: " + std::string(name));
  if (Eof())
    throw DatabaseError("Either BOF or EOF is True, or the current record has been deleted.");
  return Field(data_.rows[pos_][*idx], data_.kinds[*idx]);
}

std::string Query::DisplayText(std::string_view name) const {
  for (const auto& [column, rule] : rules_)
    if (EqualsNoCase(column, name)) return rule(*this);
  return FieldByName(name).AsString();
}

void Query::SetDisplayRule(std::string column, DisplayRule rule) {
  for (auto& entry : rules_) {
    if (EqualsNoCase(entry.first, column)) {
      entry.second = std::move(rule);
      return;
    }
  }
  rules_.emplace_back(std::move(column), std::move(rule));
}

}  // namespace morvela
