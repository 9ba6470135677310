#include "core/sql_dialect.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <optional>

#include "core/database.h"
#include "core/date.h"
#include "core/text.h"

namespace morvela {

namespace {

enum class Tok : uint8_t {
  kIdent,
  kQuotedIdent,
  kNumber,
  kString,
  kDate,
  kOp,
  kLParen,
  kRParen,
  kComma
};

struct Token {
  Tok type;
  std::string text;      // identifier/operator/number text; literal value for strings and dates
  bool to_date = false;  // a short-date text that a DATUM column receives
};

// ASCII classes, not the locale's: statements are translated by the hundred thousand, and a
// name's letters beyond ASCII are name characters whatever the locale says.
constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsIdentStart(char c) {
  return (UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsAsciiDigit(c) || c == '$';
}

[[noreturn]] void Fail(const std::string& what) {
  throw DatabaseError("Syntax error in statement: " + what);
}

// Access accepts #yyyy-mm-dd# and #m/d/yyyy#; a time of day after a blank is dropped.
std::string ParseDateLiteral(std::string_view body) {
  std::string s(body);
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  if (auto sp = s.find(' '); sp != std::string::npos) s.resize(sp);
  auto number = [](std::string_view t) { return ParseDigits(t, 1, 4); };
  char sep = s.find('-') != std::string::npos ? '-' : '/';
  size_t p1 = s.find(sep);
  size_t p2 = p1 == std::string::npos ? p1 : s.find(sep, p1 + 1);
  if (p1 == std::string::npos || p2 == std::string::npos) Fail("bad date literal #" + s + "#");
  auto a = number(std::string_view(s).substr(0, p1));
  auto b = number(std::string_view(s).substr(p1 + 1, p2 - p1 - 1));
  auto c = number(std::string_view(s).substr(p2 + 1));
  if (!a || !b || !c) Fail("bad date literal #" + s + "#");
  std::optional<Date> d = sep == '-' ? MakeDate(*a, *b, *c) : MakeDate(*c, *a, *b);
  if (!d) Fail("bad date literal #" + s + "#");
  return FormatIsoDate(*d);
}

// Splits statement text into tokens, one scanner per kind of token; each scanner starts on the
// token's first character and leaves the position after its last.
class Scanner {
 public:
  explicit Scanner(std::string_view in) : in_(in) {}

  std::vector<Token> Tokens() {
    std::vector<Token> out;
    out.reserve(in_.size() / 4 + 4);
    while (SkipBlanks()) out.push_back(Next(out.empty() ? nullptr : &out.back()));
    EndAtSemicolon(out);
    return out;
  }

 private:
  bool SkipBlanks() {
    while (i_ < in_.size() && IsBlank(in_[i_])) ++i_;
    return i_ < in_.size();
  }
  char At(size_t k) const { return k < in_.size() ? in_[k] : '\0'; }
  static bool IsDigit(char c) { return IsAsciiDigit(c); }

  Token Next(const Token* previous) {
    const char c = in_[i_];
    if (c == '"' || c == '\'') return Text(c);
    if (c == '#') return Delimited('#', Tok::kDate, "unterminated date literal");
    if (c == '[') return Delimited(']', Tok::kQuotedIdent, "unterminated [name]");
    // ".5" is a number, but "T.5" is not (a name's dot, then a name).
    if (IsDigit(c) ||
        (c == '.' && IsDigit(At(i_ + 1)) && (previous == nullptr || previous->type != Tok::kIdent)))
      return Number();
    if (c == '@' && At(i_ + 1) == '@') return SystemName();
    if (IsIdentStart(c)) return Name();
    return Punctuation(c);
  }

  // "text" or 'text'; the quote doubled inside stands for itself.
  Token Text(char quote) {
    std::string value;
    size_t j = i_ + 1;
    for (;;) {
      if (j >= in_.size()) Fail("unterminated text literal");
      if (in_[j] == quote) {
        if (At(j + 1) != quote) break;
        value += quote;
        j += 2;
        continue;
      }
      value += in_[j++];
    }
    i_ = j + 1;
    return {Tok::kString, std::move(value)};
  }

  // #date# and [name]: everything up to the closing character.
  Token Delimited(char close, Tok type, const char* unterminated) {
    const size_t j = in_.find(close, i_ + 1);
    if (j == std::string_view::npos) Fail(unterminated);
    const std::string_view body = in_.substr(i_ + 1, j - i_ - 1);
    i_ = j + 1;
    if (type == Tok::kDate) return {type, ParseDateLiteral(body)};
    return {type, std::string(body)};
  }

  // Digits, an optional fraction and an optional exponent; a letter straight after is refused.
  Token Number() {
    size_t j = i_;
    auto digits = [&] {
      while (IsDigit(At(j))) ++j;
    };
    digits();
    if (At(j) == '.') {
      ++j;
      digits();
    }
    if (At(j) == 'e' || At(j) == 'E') {
      size_t k = j + 1;
      if (At(k) == '+' || At(k) == '-') ++k;
      if (IsDigit(At(k))) {
        j = k;
        digits();
      }
    }
    if (j < in_.size() && IsIdentStart(in_[j]))
      Fail("bad number near " + std::string(in_.substr(i_, j - i_ + 1)));
    return Take(Tok::kNumber, j - i_);
  }

  // @@IDENTITY and its kind, in upper case.
  Token SystemName() {
    size_t j = i_ + 2;
    while (IsIdentChar(At(j))) ++j;
    Token t{Tok::kIdent, AsciiUpper(in_.substr(i_, j - i_))};
    i_ = j;
    return t;
  }

  Token Name() {
    size_t j = i_;
    while (IsIdentChar(At(j))) ++j;
    return Take(Tok::kIdent, j - i_);
  }

  Token Punctuation(char c) {
    if (c == '(') return Take(Tok::kLParen, 1);
    if (c == ')') return Take(Tok::kRParen, 1);
    if (c == ',') return Take(Tok::kComma, 1);
    if (c == '<' || c == '>' || c == '!') {
      const char d = At(i_ + 1);
      if (d == '=' || (c == '<' && d == '>')) return Take(Tok::kOp, 2);
      if (c == '!') Fail("unexpected '!'");
      return Take(Tok::kOp, 1);
    }
    if (std::string_view("=+-*/&.;%").find(c) != std::string_view::npos) return Take(Tok::kOp, 1);
    Fail(std::string("unexpected character '") + c + "'");
  }

  Token Take(Tok type, size_t length) {
    Token t{type, std::string(in_.substr(i_, length))};
    i_ += length;
    return t;
  }

  // A trailing semicolon ends the statement; anything after it is refused so that one call
  // never runs two statements.
  static void EndAtSemicolon(std::vector<Token>& out) {
    for (size_t k = 0; k < out.size(); ++k) {
      if (out[k].type == Tok::kOp && out[k].text == ";") {
        if (k + 1 != out.size()) Fail("more than one statement");
        out.pop_back();
        return;
      }
    }
  }

  std::string_view in_;
  size_t i_ = 0;
};

std::vector<Token> Tokenize(std::string_view in) {
  return Scanner(in).Tokens();
}

bool IsKeyword(const Token& t, std::string_view kw) {
  if (t.type != Tok::kIdent || t.text.size() != kw.size()) return false;
  for (size_t i = 0; i < kw.size(); ++i)
    if (UpperAscii(t.text[i]) != kw[i]) return false;
  return true;
}

bool IsComparison(const Token& t) {
  return t.type == Tok::kOp && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" ||
                                t.text == "<=" || t.text == ">=" || t.text == "!=");
}

// Keywords after which a + or - is a sign, not an operator.
bool IsOperandStartKeyword(const Token& t) {
  static const char* const kWords[] = {"SELECT", "WHERE",   "AND",      "OR",   "NOT",    "ON",
                                       "BY",     "WHEN",    "THEN",     "ELSE", "VALUES", "SET",
                                       "IN",     "BETWEEN", "LIKE",     "IS",   "HAVING", "TOP",
                                       "CASE",   "RETURN",  "DISTINCT", "LIMIT"};
  for (const char* w : kWords)
    if (IsKeyword(t, w)) return true;
  return false;
}

bool IsStringFunction(const Token& t) {
  static const char* const kFns[] = {"TRIM",  "LTRIM", "RTRIM",  "STR",    "UCASE", "LCASE", "LEFT",
                                     "RIGHT", "MID",   "FORMAT", "SUBSTR", "UPPER", "LOWER"};
  for (const char* f : kFns)
    if (IsKeyword(t, f)) return true;
  return false;
}

// Keywords that end an expression chain (reset the "this + concatenates" memory).
bool EndsExpression(const Token& t) {
  return t.type == Tok::kComma || IsComparison(t) ||
         (t.type == Tok::kIdent &&
          (IsKeyword(t, "AND") || IsKeyword(t, "OR") || IsKeyword(t, "AS") ||
           IsKeyword(t, "FROM") || IsKeyword(t, "WHERE") || IsKeyword(t, "THEN") ||
           IsKeyword(t, "ELSE") || IsKeyword(t, "WHEN") || IsKeyword(t, "ORDER") ||
           IsKeyword(t, "GROUP") || IsKeyword(t, "SET") || IsKeyword(t, "NOT") ||
           IsKeyword(t, "IS")));
}

bool IsDatumColumn(const std::vector<Token>& t, size_t ident_index) {
  const Token& id = t[ident_index];
  return (id.type == Tok::kIdent || id.type == Tok::kQuotedIdent) &&
         IsKeyword(Token{Tok::kIdent, id.text}, "DATUM");
}

std::vector<size_t> MatchParens(const std::vector<Token>& t) {
  std::vector<size_t> match(t.size(), std::string::npos);
  std::vector<size_t> stack;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i].type == Tok::kLParen) {
      stack.push_back(i);
    } else if (t[i].type == Tok::kRParen) {
      if (stack.empty()) Fail("unbalanced ')'");
      match[i] = stack.back();
      match[stack.back()] = i;
      stack.pop_back();
    }
  }
  if (!stack.empty()) Fail("unbalanced '('");
  return match;
}

// Marks short-date texts that a DATUM column receives: "DATUM = text" (also <, >, ...) and the
// values of INSERT INTO t (..., DATUM, ...) VALUES (..., text, ...).
void MarkDateTargets(std::vector<Token>& t, const std::vector<size_t>& match) {
  for (size_t i = 2; i < t.size(); ++i) {
    if (t[i].type == Tok::kString && IsComparison(t[i - 1]) && IsDatumColumn(t, i - 2))
      t[i].to_date = true;
  }
  if (t.empty() || !IsKeyword(t[0], "INSERT")) return;
  size_t cols_open = std::string::npos;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i].type == Tok::kLParen) {
      cols_open = i;
      break;
    }
  }
  if (cols_open == std::string::npos) return;
  size_t cols_close = match[cols_open];
  std::vector<bool> is_date_col;
  for (size_t i = cols_open + 1; i < cols_close; ++i) {
    if (t[i].type == Tok::kComma) continue;
    is_date_col.push_back(IsDatumColumn(t, i));
  }
  size_t values_open = std::string::npos;
  for (size_t i = cols_close + 1; i + 1 < t.size(); ++i) {
    if (IsKeyword(t[i], "VALUES") && t[i + 1].type == Tok::kLParen) {
      values_open = i + 1;
      break;
    }
  }
  if (values_open == std::string::npos) return;
  size_t column = 0;
  size_t values_close = match[values_open];
  size_t item_start = values_open + 1;
  for (size_t i = values_open + 1; i <= values_close; ++i) {
    if (t[i].type == Tok::kLParen) {
      i = match[i];
      continue;
    }
    if (t[i].type == Tok::kComma || i == values_close) {
      if (i == item_start + 1 && t[item_start].type == Tok::kString &&
          column < is_date_col.size() && is_date_col[column])
        t[item_start].to_date = true;
      ++column;
      item_start = i + 1;
    }
  }
}

// Rewrites the sort keys of every ORDER BY list: a key holding a comparison becomes -(key), so
// that true (-1) sorts before false (0) under ASC as the dialect expects.
void WrapComparisonSortKeys(std::vector<Token>& t) {
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    if (!(IsKeyword(t[i], "ORDER") && IsKeyword(t[i + 1], "BY"))) continue;
    size_t pos = i + 2;
    for (;;) {
      // One sort key: up to a comma or the end of the list, at the list's own depth.
      size_t start = pos;
      int depth = 0;
      bool has_comparison = false;
      size_t end = pos;
      for (; end < t.size(); ++end) {
        const Token& k = t[end];
        if (k.type == Tok::kLParen) ++depth;
        if (k.type == Tok::kRParen) {
          if (depth == 0) break;
          --depth;
        }
        if (depth == 0 && (k.type == Tok::kComma || IsKeyword(k, "LIMIT") || IsKeyword(k, "UNION")))
          break;
        if (depth == 0 && IsComparison(k)) has_comparison = true;
      }
      size_t key_end = end;  // exclusive; leave ASC/DESC outside the wrapped key
      if (key_end > start &&
          (IsKeyword(t[key_end - 1], "ASC") || IsKeyword(t[key_end - 1], "DESC")))
        --key_end;
      // A key that is one bracketed comparison, "(ID_LIGA=1)", is a comparison too.
      if (!has_comparison && key_end > start + 2 && t[start].type == Tok::kLParen &&
          t[key_end - 1].type == Tok::kRParen) {
        int inner = 0;
        bool whole = true;
        for (size_t k = start; k < key_end; ++k) {
          if (t[k].type == Tok::kLParen) ++inner;
          if (t[k].type == Tok::kRParen && --inner == 0 && k + 1 != key_end) whole = false;
          if (inner == 1 && IsComparison(t[k])) has_comparison = whole;
        }
        has_comparison = has_comparison && whole;
      }
      if (has_comparison && key_end > start) {
        t.insert(t.begin() + static_cast<long>(key_end), Token{Tok::kRParen, ")"});
        t.insert(t.begin() + static_cast<long>(start), Token{Tok::kLParen, "("});
        t.insert(t.begin() + static_cast<long>(start), Token{Tok::kOp, "-"});
        end += 3;
      }
      if (end < t.size() && t[end].type == Tok::kComma) {
        pos = end + 1;
        continue;
      }
      i = end;
      break;
    }
  }
}

std::string InlineText(const std::string& value) {
  std::string r = "'";
  for (char c : value) {
    if (c == '\'') r += '\'';
    r += c;
  }
  r += '\'';
  return r;
}

SqlParam NumberParam(const std::string& text, bool negative) {
  bool integral = text.find_first_of(".eE") == std::string::npos;
  if (integral) {
    int64_t v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc() && res.ptr == text.data() + text.size()) return negative ? -v : v;
  }
  double d = std::strtod(text.c_str(), nullptr);
  return negative ? -d : d;
}

class Translator {
 public:
  explicit Translator(std::string_view sql) : t_(Tokenize(sql)) {
    out_.sql.reserve(sql.size() + 32);
    if (!t_.empty()) {
      std::string first = AsciiUpper(t_[0].text);
      lift_ = t_[0].type == Tok::kIdent &&
              (first == "SELECT" || first == "INSERT" || first == "UPDATE" || first == "DELETE");
      alter_ = first == "ALTER";
    }
    match_ = MatchParens(t_);
    MarkDateTargets(t_, match_);
    WrapComparisonSortKeys(t_);
    match_ = MatchParens(t_);
  }

  TranslatedSql Run() {
    levels_.push_back(Level{});
    for (i_ = 0; i_ < t_.size(); ++i_) Step();
    CloseLevel();
    return std::move(out_);
  }

 private:
  struct Level {
    std::optional<Token> limit;  // TOP n of the SELECT that owns this level
    bool in_sort_list = false;   // inside ORDER BY / GROUP BY
    bool concat_chain = false;   // a + of the current expression concatenated
  };

  const Token* Prev() const { return i_ > 0 ? &t_[i_ - 1] : nullptr; }
  const Token* Next() const { return i_ + 1 < t_.size() ? &t_[i_ + 1] : nullptr; }

  bool SignPosition() const {
    const Token* p = Prev();
    if (!p) return true;
    if (p->type == Tok::kOp || p->type == Tok::kLParen || p->type == Tok::kComma) return true;
    // The count of SELECT TOP n is no operand: the first select item starts after it.
    if (p->type == Tok::kNumber && i_ >= 2 && IsKeyword(t_[i_ - 2], "TOP")) return true;
    return p->type == Tok::kIdent && IsOperandStartKeyword(*p);
  }

  void Emit(std::string_view piece) {
    // Only the dot of a qualified name joins what follows: "1." before DESC stays apart.
    bool glue = out_.sql.empty() || piece == "." || piece == "," || piece == ")" || after_dot_ ||
                out_.sql.back() == '(';
    if (!glue) out_.sql += ' ';
    out_.sql += piece;
    after_dot_ = piece == ".";
  }

  void EmitParam(SqlParam p) {
    Emit("?");
    out_.params.push_back(std::move(p));
  }

  void EmitNumber(const std::string& text, bool negative) {
    if (lift_ && !levels_.back().in_sort_list) {
      EmitParam(NumberParam(text, negative));
    } else {
      Emit(negative ? "-" + text : text);
    }
  }

  void CloseLevel() {
    Level& lv = levels_.back();
    if (lv.limit) {
      Emit("LIMIT");
      if (lift_) {
        EmitParam(NumberParam(lv.limit->text, false));
      } else {
        Emit(lv.limit->text);
      }
    }
    levels_.pop_back();
  }

  bool LeftIsText() const {
    const Token* p = Prev();
    if (!p) return false;
    if (p->type == Tok::kString) return true;
    if (p->type == Tok::kRParen) {
      size_t open = match_[i_ - 1];
      return open > 0 && IsStringFunction(t_[open - 1]);
    }
    return false;
  }

  bool RightIsText() const {
    const Token* n = Next();
    if (!n) return false;
    if (n->type == Tok::kString) return true;
    return IsStringFunction(*n) && i_ + 2 < t_.size() && t_[i_ + 2].type == Tok::kLParen;
  }

  void Step() {
    const Token& tok = t_[i_];
    Level& lv = levels_.back();
    if (EndsExpression(tok)) lv.concat_chain = false;
    switch (tok.type) {
      case Tok::kLParen:
        Emit("(");
        levels_.push_back(Level{});
        return;
      case Tok::kRParen:
        if (levels_.size() <= 1) Fail("unbalanced ')'");
        CloseLevel();
        Emit(")");
        return;
      case Tok::kComma:
        Emit(",");
        return;
      case Tok::kString: {
        std::string value = tok.text;
        if (tok.to_date) {
          if (auto d = ParseShortDate(value)) value = FormatIsoDate(*d);
        }
        if (lift_) {
          EmitParam(std::move(value));
        } else {
          Emit(InlineText(value));
        }
        return;
      }
      case Tok::kDate:
        if (lift_) {
          EmitParam(tok.text);
        } else {
          Emit(InlineText(tok.text));
        }
        return;
      case Tok::kNumber:
        EmitNumber(tok.text, false);
        return;
      case Tok::kQuotedIdent: {
        std::string q = "\"";
        for (char c : tok.text) {
          if (c == '"') q += '"';
          q += c;
        }
        Emit(q + "\"");
        return;
      }
      case Tok::kOp:
        StepOperator(tok);
        return;
      case Tok::kIdent:
        StepIdent(tok);
        return;
    }
  }

  void StepOperator(const Token& tok) {
    Level& lv = levels_.back();
    const std::string& op = tok.text;
    if (op == "+" || op == "-") {
      if (SignPosition()) {
        const Token* n = Next();
        if (n && n->type == Tok::kNumber) {
          ++i_;
          EmitNumber(n->text, op == "-");
          return;
        }
        if (op == "-") Emit("-");
        return;  // a unary plus changes nothing
      }
      if (op == "+" && (lv.concat_chain || LeftIsText() || RightIsText())) {
        lv.concat_chain = true;
        Emit("||");
        return;
      }
      Emit(op);
      return;
    }
    if (op == "&") {
      lv.concat_chain = true;
      Emit("||");
      return;
    }
    if (op == "/") {
      Emit("*");
      Emit("1.0");
      Emit("/");
      return;
    }
    if (op == "!=") {
      Emit("<>");
      return;
    }
    Emit(op);
  }

  void StepIdent(const Token& tok) {
    Level& lv = levels_.back();
    std::string up = AsciiUpper(tok.text);
    if (up == "SELECT") {
      Emit(tok.text);
      size_t j = i_ + 1;
      if (j < t_.size() && (IsKeyword(t_[j], "DISTINCT") || IsKeyword(t_[j], "ALL"))) {
        Emit(t_[j].text);
        ++j;
      }
      if (j + 1 < t_.size() && IsKeyword(t_[j], "TOP") && t_[j + 1].type == Tok::kNumber) {
        if (t_[j + 1].text.find_first_of(".eE") != std::string::npos)
          Fail("TOP needs a whole number");
        lv.limit = t_[j + 1];
        j += 2;
        if (j < t_.size() && IsKeyword(t_[j], "PERCENT")) Fail("TOP n PERCENT is not supported");
      }
      i_ = j - 1;
      return;
    }
    if (up == "DELETE") {
      Emit(tok.text);
      if (const Token* n = Next(); n && n->type == Tok::kOp && n->text == "*") ++i_;
      return;
    }
    if (up == "ORDER" || up == "GROUP") {
      lv.in_sort_list = true;
      Emit(tok.text);
      return;
    }
    if (up == "LIMIT" || up == "UNION" || up == "HAVING") {
      lv.in_sort_list = false;
      if (up == "UNION" && lv.limit) Fail("TOP before UNION is not supported");
      Emit(tok.text);
      return;
    }
    if (up == "@@IDENTITY") {
      Emit("last_insert_rowid()");
      return;
    }
    if ((up == "TRUE" || up == "FALSE") &&
        !(Prev() && Prev()->type == Tok::kOp && Prev()->text == ".")) {
      if (lift_ && !lv.in_sort_list) {
        EmitParam(int64_t{up == "TRUE" ? -1 : 0});
      } else {
        Emit(up == "TRUE" ? "-1" : "0");
      }
      return;
    }
    if (alter_ && (up == "BIT" || up == "YESNO") && Prev() && Prev()->type == Tok::kIdent) {
      Emit("BIT NOT NULL");
      const Token* n = Next();
      if (!(n && IsKeyword(*n, "DEFAULT"))) Emit("DEFAULT 0");
      return;
    }
    if (alter_ && (up == "TEXT" || up == "VARCHAR" || up == "CHAR" || up == "MEMO") && Prev() &&
        Prev()->type == Tok::kIdent && !IsKeyword(*Prev(), "COLUMN")) {
      Emit(tok.text);
      if (const Token* n = Next(); n && n->type == Tok::kLParen) {
        size_t close = match_[i_ + 1];
        for (size_t k = i_ + 1; k <= close; ++k) Emit(t_[k].text);
        i_ = close;
      }
      Emit("COLLATE NOCASE");
      return;
    }
    Emit(tok.text);
  }

  std::vector<Token> t_;
  std::vector<size_t> match_;
  std::vector<Level> levels_;
  TranslatedSql out_;
  size_t i_ = 0;
  bool lift_ = false;
  bool alter_ = false;
  bool after_dot_ = false;  // the last piece emitted was the dot of a qualified name
};

}  // namespace

TranslatedSql TranslateSql(std::string_view access_sql) {
  return Translator(access_sql).Run();
}

}  // namespace morvela
