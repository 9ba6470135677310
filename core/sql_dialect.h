// Translation of the program's Access-like SQL dialect into SQLite SQL.
//
// The translator works on tokens (string literals, #...# dates, identifiers, numbers,
// operators, parentheses), never on regular expressions over the raw text. It also lifts the
// literals of data statements into bound parameters, so that the tens of thousands of
// statements of a tip run that differ only in their numbers share one prepared statement: the
// translated text is the cache key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace morvela {

using SqlParam = std::variant<int64_t, double, std::string>;

struct TranslatedSql {
  std::string sql;               // SQLite text; lifted literals appear as "?"
  std::vector<SqlParam> params;  // values of the "?" placeholders, in order
};

// Translates one statement. Throws DatabaseError for text that cannot be tokenised (an
// unterminated literal, a malformed date literal); never crashes on any input.
//
// What changes:
//  - "text" becomes a text value ("" inside is one quote); 'text' is accepted too;
//  - #2011-03-07# becomes the date value "2011-03-07" (dates are stored that way);
//  - a short-date text "07.03.2011" given to a DATUM column (assigned, inserted, compared)
//    becomes that date;
//  - SELECT TOP n ... becomes ... LIMIT n at the end of the same SELECT, sub-selects included;
//  - DELETE * FROM becomes DELETE FROM; @@IDENTITY becomes the last inserted row id;
//  - + with a text operand, and &, become concatenation; a unary + disappears;
//  - / divides as floating point; TRUE and FALSE become -1 and 0;
//  - a comparison used as a sort key sorts true before false under ASC;
//  - in ALTER TABLE ... ADD COLUMN, BIT becomes a never-NULL yes/no column (default false)
//    and TEXT(n) compares without regard to case;
//  - [bracketed] names become quoted identifiers.
// Literals are lifted into parameters only in SELECT, INSERT, UPDATE and DELETE statements,
// and not inside ORDER BY or GROUP BY lists (where a number means a column position).
TranslatedSql TranslateSql(std::string_view access_sql);

}  // namespace morvela
