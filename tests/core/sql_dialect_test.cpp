// The dialect layer, statement by statement, with the program's own statement texts run on a
// small database, plus the translator's handling of each construct and bounded random runs.
#include "core/sql_dialect.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <optional>
#include <random>

#include "core/database.h"
#include "fixture_db.h"
#include "tips/tips_list.h"

namespace morvela {
namespace {

using test::FixtureDb;
using test::MatchSpec;

TEST(SqlDialectTranslate, RewritesEachConstruct) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"SELECT TOP 4 ID FROM VYSLEDKY ORDER BY DATUM DESC",
       "SELECT ID FROM VYSLEDKY ORDER BY DATUM DESC LIMIT ?"},
      {"DELETE * FROM TIPY", "DELETE FROM TIPY"},
      {"SELECT @@IDENTITY AS NewID", "SELECT last_insert_rowid() AS NewID"},
      {"SELECT X FROM T WHERE A/B>1", "SELECT X FROM T WHERE A * 1.0 / B>?"},
      {"SELECT X FROM T ORDER BY ID_LIGA=1 ASC, ID_LIGA=2",
       "SELECT X FROM T ORDER BY -(ID_LIGA = ?) ASC, -(ID_LIGA = ?)"},
      {"SELECT X FROM T ORDER BY (ID_LIGA=1) ASC, (A+1) DESC, (A)=(B)",
       "SELECT X FROM T ORDER BY -((ID_LIGA = ?)) ASC, (A + ?) DESC, -((A) = (B))"},
      {"SELECT TRIM(STR(A))+\" : \"+TRIM(STR(B)) FROM T",
       "SELECT TRIM(STR(A)) || ? || TRIM(STR(B)) FROM T"},
      {"SELECT DATUM,+\"  \"+(SELECT N FROM L) AS LIGA FROM T",
       "SELECT DATUM, ? ||(SELECT N FROM L) AS LIGA FROM T"},
      {"SELECT A+B FROM T", "SELECT A + B FROM T"},
      {"SELECT TOP 2 +\"  \"+N FROM T", "SELECT ? || N FROM T LIMIT ?"},
      {"ALTER TABLE VYSLEDKY ADD COLUMN NERATAT BIT DEFAULT 0",
       "ALTER TABLE VYSLEDKY ADD COLUMN NERATAT BIT NOT NULL DEFAULT 0"},
      {"ALTER TABLE LIGA ADD COLUMN NAZOV_IT TEXT(50)",
       "ALTER TABLE LIGA ADD COLUMN NAZOV_IT TEXT(50) COLLATE NOCASE"},
      {"ALTER TABLE N ADD COLUMN WEB_EN TEXT(50) DEFAULT \"http://x.y/a'b\"",
       "ALTER TABLE N ADD COLUMN WEB_EN TEXT(50) COLLATE NOCASE DEFAULT 'http://x.y/a''b'"},
  };
  for (const Case& c : cases) {
    TranslatedSql t = TranslateSql(c.in);
    // Compare ignoring blanks: the translator is free to space its output.
    auto squeeze = [](std::string s) {
      std::erase(s, ' ');
      return s;
    };
    EXPECT_EQ(squeeze(t.sql), squeeze(c.out)) << c.in << "\n -> " << t.sql;
  }
}

TEST(SqlDialectTranslate, LiftsLiteralsIntoParameters) {
  TranslatedSql a = TranslateSql(
      "SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=-12 AND ELO_ROZDIEL<=8 AND "
      "VYSLEDOK<>\"\" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=4)");
  TranslatedSql b = TranslateSql(
      "SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=240 AND ELO_ROZDIEL<=260 "
      "AND "
      "VYSLEDOK<>\"\" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=17)");
  EXPECT_EQ(a.sql, b.sql) << "statements that differ only in numbers share one text";
  ASSERT_EQ(a.params.size(), 5u);
  EXPECT_EQ(std::get<int64_t>(a.params[0]), -12);
  EXPECT_EQ(std::get<std::string>(a.params[2]), "");
  // Dates, texts with doubled quotes, and short dates given to DATUM.
  TranslatedSql c =
      TranslateSql("INSERT INTO TIPY (ID,DATUM,TIP) Values (7,\"07.03.2011\",\"say \"\"hi\"\"\")");
  ASSERT_EQ(c.params.size(), 3u);
  EXPECT_EQ(std::get<std::string>(c.params[1]), "2011-03-07");
  EXPECT_EQ(std::get<std::string>(c.params[2]), "say \"hi\"");
  TranslatedSql d =
      TranslateSql("SELECT * FROM VYSLEDKY WHERE DATUM<#2011-03-07# AND X=\"07.03.2011\"");
  EXPECT_EQ(std::get<std::string>(d.params[0]), "2011-03-07");
  EXPECT_EQ(std::get<std::string>(d.params[1]), "07.03.2011") << "only DATUM gets date conversion";
}

TEST(SqlDialectTranslate, RefusesMalformedText) {
  for (const char* bad : {"SELECT \"abc", "SELECT #2011-13-45#", "SELECT (1", "SELECT 1)",
                          "SELECT 1; DROP TABLE X", "SELECT #abc#", "SELECT 5x FROM T"}) {
    EXPECT_THROW(TranslateSql(bad), DatabaseError) << bad;
  }
}

// Prepares a translation on the database and binds its parameters; the engine's message when
// either fails, nullopt when the statement is ready to run.
std::optional<std::string> PrepareProblem(sqlite3* db, const TranslatedSql& t,
                                          sqlite3_stmt** stmt) {
  *stmt = nullptr;
  if (sqlite3_prepare_v2(db, t.sql.c_str(), static_cast<int>(t.sql.size()), stmt, nullptr) !=
      SQLITE_OK)
    return std::string(sqlite3_errmsg(db));
  if (sqlite3_bind_parameter_count(*stmt) != static_cast<int>(t.params.size()))
    return "the text has " + std::to_string(sqlite3_bind_parameter_count(*stmt)) +
           " placeholders for " + std::to_string(t.params.size()) + " parameters";
  for (size_t k = 0; k < t.params.size(); ++k) {
    const int slot = static_cast<int>(k + 1);
    if (const auto* i = std::get_if<int64_t>(&t.params[k])) {
      sqlite3_bind_int64(*stmt, slot, *i);
    } else if (const auto* d = std::get_if<double>(&t.params[k])) {
      sqlite3_bind_double(*stmt, slot, *d);
    } else {
      const std::string& text = std::get<std::string>(t.params[k]);
      sqlite3_bind_text(*stmt, slot, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
  }
  return std::nullopt;
}

TEST(SqlDialectTranslate, RandomInputIsRefusedByTheTranslatorOrPreparesWithItsParameters) {
  // Bounded random input built from the dialect's own alphabet, so that the translator's
  // branches are reached, not just its first error. Most of it is no statement at all; what
  // matters is that a refusal is the translator's own error and that whatever the engine
  // accepts carries exactly one placeholder per lifted literal.
  FixtureDb db;
  sqlite3* handle = db.conn().Handle();
  const std::string alphabet =
      "SELECT TOP 12 ()#\"',+-*/=<>.;[]@ DATUM ORDER BY ASC 0123456789-# FROM TIPY WHERE ";
  std::mt19937 rng(12345);
  int refused = 0, prepared = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string s;
    int len = static_cast<int>(rng() % 60);
    for (int k = 0; k < len; ++k) s += alphabet[rng() % alphabet.size()];
    TranslatedSql t;
    try {
      t = TranslateSql(s);
    } catch (const DatabaseError&) {
      ++refused;
      continue;
    } catch (const std::exception& e) {
      ADD_FAILURE() << "not the translator's error: " << e.what() << "\n  input: " << s;
      continue;
    }
    sqlite3_stmt* stmt = nullptr;
    const std::optional<std::string> problem = PrepareProblem(handle, t, &stmt);
    sqlite3_finalize(stmt);
    if (!problem) {
      ++prepared;
    } else if (problem->find("placeholders") != std::string::npos) {
      ADD_FAILURE() << *problem << "\n  input: " << s << "\n  sql:   " << t.sql;
    }
  }
  // Both outcomes are reached, so the checks above ran on real cases.
  EXPECT_GT(refused, 1000);
  EXPECT_GT(prepared, 100);
}

// Random statements of the dialect as the program writes them: the program's tables and
// columns, "text" and 'text' literals with doubled quotes, #dates#, short dates given to DATUM,
// TOP n in selects and sub-selects, + and & concatenation, / division, TRUE and FALSE,
// comparisons as sort keys, [bracketed] names, DELETE *, @@IDENTITY. Each must translate,
// prepare with one placeholder per parameter, and run on the program's schema.
class DialectStatements {
 public:
  explicit DialectStatements(uint32_t seed) : rng_(seed) {}

  std::string Statement() {
    const Table& t = AnyTable();
    std::string s;
    switch (Pick(6)) {
      case 0:
      case 1:
      case 2:
        s = Select(t, 0, false);
        break;
      case 3: {
        s = "UPDATE " + std::string(t.name) + " SET " + Target(t) + "=";
        s += Value();
        if (Pick(2)) {
          s += "," + Target(t) + "=";
          s += Expr(t, 1);
        }
        s += Where(t, 0);
        break;
      }
      case 4:
        s = std::string("DELETE ") + (Pick(2) ? "* " : "") + "FROM " + t.name;
        s += Where(t, 0);
        break;
      default:
        s = Pick(4) ? Insert(t) : "SELECT @@IDENTITY AS NewID";
    }
    return s + (Pick(5) == 0 ? ";" : "");
  }

 private:
  struct Table {
    const char* name;
    std::vector<const char*> columns;  // the first ones may not be NULL
    size_t not_null = 0;               // how many of the first columns
    bool has_datum = false;
  };
  const std::vector<Table> tables_ = {
      {"VYSLEDKY",
       {"ID_SUTAZ", "KONTUMACIA", "DATUM", "HOME", "AWAY", "HOME_GOAL", "AWAY_GOAL", "VYSLEDOK",
        "ELO_ROZDIEL", "UNDER"},
       2,
       true},
      {"TIPY",
       {"ID", "ID_LIGA", "DATUM", "HOME", "TIP1", "TIP", "PERC", "KURZ", "PROFIT"},
       0,
       true},
      {"MUZSTVA", {"ID_LIGA", "NAZOV", "NAZOV_EN"}, 0, false},
      {"KURZY", {"KURZ1", "KURZX", "KURZ2", "OVER", "BWIN_ID"}, 0, false},
  };

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
  const Table& AnyTable() { return tables_[static_cast<size_t>(Pick(4))]; }
  std::string Plain(const Table& t, size_t from = 0) {
    return t.columns[from + static_cast<size_t>(Pick(static_cast<int>(t.columns.size() - from)))];
  }
  // A column assigned by UPDATE: plain or bracketed, never one that must not be NULL.
  std::string Target(const Table& t) {
    const std::string c = Plain(t, t.not_null);
    return Pick(3) == 0 ? "[" + c + "]" : c;
  }
  std::string Column(const Table& t) {
    const std::string c = Plain(t);
    switch (Pick(4)) {
      case 0:
        return "[" + c + "]";
      case 1:
        return std::string(t.name) + "." + c;
      default:
        return c;
    }
  }
  std::string Number() {
    switch (Pick(5)) {
      case 0:
        return "-" + std::to_string(Pick(300));
      case 1:
        return std::to_string(Pick(100)) + "." + std::to_string(Pick(100));
      case 2:
        return std::to_string(Pick(10)) + ".";
      default:
        return std::to_string(Pick(5000));
    }
  }
  std::string Text() {
    static const char* const kTexts[] = {
        "",   "Arsenal", "say \"\"hi\"\"", "it's", "a-b", "1", "Žilina", "x;y", "#1#", "[z]",
        "--", "/*"};
    const std::string body = kTexts[Pick(12)];
    if (Pick(3) == 0 && body.find_first_of("'\"") == std::string::npos) return "'" + body + "'";
    return "\"" + body + "\"";
  }
  std::string Value() {
    switch (Pick(6)) {
      case 0:
        return Text();
      case 1:
        return "#2011-0" + std::to_string(1 + Pick(9)) + "-1" + std::to_string(Pick(10)) + "#";
      case 2:
        return Pick(2) ? "TRUE" : "FALSE";
      default:
        return Number();
    }
  }
  std::string Expr(const Table& t, int depth) {
    if (depth > 2) return Pick(2) ? Column(t) : Value();
    std::string e;
    switch (Pick(9)) {
      case 0:
        e = Expr(t, depth + 1) + " + ";
        return e + Expr(t, depth + 1);
      case 1:
        e = Expr(t, depth + 1) + (Pick(2) ? "-" : " * ");
        return e + Expr(t, depth + 1);
      case 2:
        e = Column(t) + "/";
        return e + (Pick(2) ? Column(t) : std::to_string(1 + Pick(9)));
      case 3:
        e = Text() + "+" + Column(t);
        return e + (Pick(2) ? "+" + Text() : "");
      case 4:
        e = "TRIM(STR(" + Column(t) + "))" + (Pick(2) ? "&" : "+");
        return e + Text();
      case 5:
        return "(" + Expr(t, depth + 1) + ")";
      case 6:
        e = "IIF(" + Condition(t, depth + 1) + ",";
        e += Expr(t, depth + 1) + ",";
        return e + Expr(t, depth + 1) + ")";
      case 7:
        return Value();
      default:
        return Column(t);
    }
  }
  std::string Condition(const Table& t, int depth) {
    static const char* const kComparisons[] = {"=", "<>", "<", ">", "<=", ">="};
    const std::string cmp = kComparisons[Pick(6)];
    if (depth > 2) return Column(t) + cmp + Value();
    std::string c;
    switch (Pick(9)) {
      case 0:
        c = Condition(t, depth + 1) + (Pick(2) ? " AND " : " OR ");
        return c + Condition(t, depth + 1);
      case 1:
        return "NOT (" + Condition(t, depth + 1) + ")";
      case 2:
        c = Column(t) + " IS ";
        return c + (Pick(2) ? "NULL" : "NOT NULL");
      case 3:
        if (!t.has_datum) return Column(t) + cmp + Value();
        return "DATUM" + cmp + "\"0" + std::to_string(1 + Pick(9)) + ".03.2011\"";
      case 4:
        if (!t.has_datum) return Column(t) + " BETWEEN 1 AND 9";
        return "DATUM BETWEEN #2011-01-01# AND #2011-12-31#";
      case 5:
        c = Column(t) + " IN (";
        return c + Select(AnyTable(), depth + 1, true) + ")";
      case 6:
        c = Column(t) + " LIKE ";
        return c + (Pick(2) ? "\"A%\"" : "'%a'");
      default:
        c = Expr(t, depth + 1) + cmp;
        return c + Expr(t, depth + 1);
    }
  }
  std::string Where(const Table& t, int depth) {
    return Pick(3) ? " WHERE " + Condition(t, depth) : "";
  }
  std::string SortKey(const Table& t) {
    std::string k;
    switch (Pick(6)) {
      case 0:
        k = Column(t) + "=";
        return k + Number();
      case 1:
        k = "(" + Column(t) + "=";
        return k + Value() + ")";
      case 2:
        return "1";  // a column position
      case 3:
        k = Column(t) + "*";
        return k + Number();  // numbers in sort keys stay in the text
      default:
        return Column(t);
    }
  }
  // A select from `t`; `one_column` for a sub-select used with IN.
  std::string Select(const Table& t, int depth, bool one_column) {
    std::string s = "SELECT ";
    if (Pick(4) == 0) s += "DISTINCT ";
    const bool top = Pick(3) == 0;
    if (top) s += "TOP " + std::to_string(1 + Pick(20)) + " ";
    if (Pick(4) == 0) s += "+\"  \"+";  // a unary plus, then text joined to the column
    s += Column(t);
    if (!one_column && Pick(2)) {
      s += ", " + Expr(t, depth + 1);
      s += " AS X" + std::to_string(Pick(9));
    }
    if (!one_column && depth < 2 && Pick(4) == 0) {
      // A scalar sub-select, as the tips list reads league and team names.
      const Table& inner = AnyTable();
      s += Pick(2) ? ", (SELECT TOP 1 " : ",+\"  \"+(SELECT TOP 1 ";
      s += Column(inner) + " FROM " + inner.name;
      s += Where(inner, depth + 1);
      s += " ORDER BY " + SortKey(inner) + ") AS S";
    }
    s += " FROM " + std::string(t.name);
    s += Where(t, depth + 1);
    if (top || Pick(2)) {
      s += " ORDER BY " + SortKey(t);
      s += Pick(2) ? " DESC" : Pick(2) ? " ASC" : "";
      if (Pick(2)) s += ", " + SortKey(t);
    }
    return s;
  }
  std::string Insert(const Table& t) {
    std::string columns, values;
    for (size_t i = 0; i < t.columns.size(); ++i) {
      const std::string c = t.columns[i];
      if (i >= t.not_null && c != "DATUM" && Pick(2) == 0) continue;
      columns += (columns.empty() ? "" : ",") + c;
      const std::string v =
          c == "DATUM" && Pick(2) ? "\"1" + std::to_string(Pick(3)) + ".10.2011\"" : Value();
      values += (values.empty() ? "" : ",") + v;
    }
    if (columns.empty()) {
      columns = t.columns[0];
      values = Number();
    }
    return "INSERT INTO " + std::string(t.name) + " (" + columns + ") VALUES (" + values + ")";
  }

  std::mt19937 rng_;
};

TEST(SqlDialectTranslate, RandomDialectStatementsTranslatePrepareAndRun) {
  FixtureDb db;
  const int comp = db.AddCompetition(4, "Active", 2, 10);
  const int home = db.AddTeam(4, "Arsenal");
  const int away = db.AddTeam(4, "Chelsea");
  db.AddTeamToCompetition(comp, home);
  db.AddTeamToCompetition(comp, away);
  db.AddMatch(MatchSpec{.competition = comp,
                        .date = "2011-03-07",
                        .home = home,
                        .away = away,
                        .home_goals = 2,
                        .away_goals = 1});
  sqlite3* handle = db.conn().Handle();
  DialectStatements gen(20240611);
  int failures = 0;
  for (int i = 0; i < 3000 && failures < 10; ++i) {
    const std::string s = gen.Statement();
    TranslatedSql t;
    try {
      t = TranslateSql(s);
    } catch (const DatabaseError& e) {
      ++failures;
      ADD_FAILURE() << "refused: " << e.what() << "\n  input: " << s;
      continue;
    }
    sqlite3_stmt* stmt = nullptr;
    std::optional<std::string> problem = PrepareProblem(handle, t, &stmt);
    if (!problem) {
      int rc;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      }
      if (rc != SQLITE_DONE) problem = std::string("running: ") + sqlite3_errmsg(handle);
    }
    sqlite3_finalize(stmt);
    if (problem) {
      ++failures;
      ADD_FAILURE() << *problem << "\n  input: " << s << "\n  sql:   " << t.sql;
    }
  }
}

// ------------------------------------------------------------ statements of the program

class SqlDialectDb : public ::testing::Test {
 protected:
  void SetUp() override {
    comp_ = db_.AddCompetition(4, "Active", 2, 10);
    old_ = db_.AddCompetition(4, "2009/2010", 2, 9);
    home_ = db_.AddTeam(4, "Arsenal");
    away_ = db_.AddTeam(4, "Chelsea");
    db_.AddTeamToCompetition(comp_, home_);
    db_.AddTeamToCompetition(comp_, away_);
    played_ = db_.AddMatch(MatchSpec{.competition = comp_,
                                     .date = "2011-03-07",
                                     .home = home_,
                                     .away = away_,
                                     .home_goals = 2,
                                     .away_goals = 1,
                                     .ht_home_goals = 1,
                                     .ht_away_goals = 0,
                                     .elo_diff = 250});
    forfeit_ = db_.AddMatch(MatchSpec{.competition = comp_,
                                      .date = "2011-03-14",
                                      .home = away_,
                                      .away = home_,
                                      .home_goals = 3,
                                      .away_goals = 0,
                                      .forfeit = true,
                                      .elo_diff = 251});
    fixture_ = db_.AddMatch(MatchSpec{.competition = comp_,
                                      .date = "2011-03-21",
                                      .home = home_,
                                      .away = away_,
                                      .elo_diff = 252,
                                      .under = 62});
  }
  Query Q() { return Query(db_.conn()); }

  FixtureDb db_;
  int comp_ = 0, old_ = 0, home_ = 0, away_ = 0, played_ = 0, forfeit_ = 0, fixture_ = 0;
};

TEST_F(SqlDialectDb, ReplayStatementsReadPlayedMatchesInDateOrder) {
  Query q = Q();
  q.Open("SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + std::to_string(comp_) +
         " AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC");
  ASSERT_EQ(q.RecordCount(), 2);
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), played_);
  EXPECT_EQ(q.FieldByName("DATUM").AsString(), "07.03.2011");
  q.Next();
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), fixture_);
  EXPECT_TRUE(q.FieldByName("HOME_GOAL").IsNull());
  EXPECT_EQ(q.FieldByName("HOME_GOAL").AsString(), "") << "a fixture's goals read as empty";
  EXPECT_EQ(q.FieldByName("VYSLEDOK").AsInteger(), 0);
  // Head-to-head: strictly earlier dates, played only, newest first.
  q.Open("SELECT TOP 4 ID,DATUM,VYSLEDOK FROM VYSLEDKY WHERE (HOME=" + std::to_string(home_) +
         " AND AWAY=" + std::to_string(away_) +
         " AND DATUM<#2011-03-21# AND KONTUMACIA=0 AND VYSLEDOK<>\"\") ORDER BY DATUM DESC");
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("VYSLEDOK").AsString(), "1");
  db_.dm().Command1.Execute("UPDATE VYSLEDKY SET ELO_ROZDIEL=-77 WHERE ID=" +
                            std::to_string(played_));
  q.Open("SELECT ELO_ROZDIEL FROM VYSLEDKY WHERE ID=" + std::to_string(played_));
  EXPECT_EQ(q.FieldByName("ELO_ROZDIEL").AsInteger(), -77);
}

TEST_F(SqlDialectDb, SearchStatementsCountByDifferenceWindow) {
  Query q = Q();
  // League pass, full time: the played match (250) counts; the forfeit and the fixture do not.
  q.Open(
      "SELECT VYSLEDOK,ID,ELO_ROZDIEL FROM VYSLEDKY WHERE ELO_ROZDIEL>=248 AND ELO_ROZDIEL<=252 "
      "AND VYSLEDOK<>\"\" AND KONTUMACIA=0 AND ID_SUTAZ IN (SELECT ID FROM SUTAZ WHERE ID_LIGA=4)");
  EXPECT_EQ(q.RecordCount(), 1);
  // All leagues, with the double blank of the original text.
  q.Open(
      "SELECT VYSLEDOK,HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ELO_ROZDIEL>=249 AND "
      "ELO_ROZDIEL<=251 AND VYSLEDOK<>\"\"  AND KONTUMACIA=0 ");
  EXPECT_EQ(q.RecordCount(), 1);
  // Live: a half-time score.
  q.Open(
      "SELECT VYSLEDOK FROM VYSLEDKY WHERE ELO_ROZDIEL>=0 AND ELO_ROZDIEL<=300 AND "
      "VYSLEDOK<>\"\" AND HT_VYSLEDOK<>\"\" AND HT_HOME_GOAL=1 AND HT_AWAY_GOAL=0 AND "
      "KONTUMACIA=0 ");
  EXPECT_EQ(q.RecordCount(), 1);
}

TEST_F(SqlDialectDb, TipRunStatementsWriteAndReadTips) {
  Tdm& dm = db_.dm();
  dm.Work2.Open(
      "SELECT VYSLEDKY.*,SUTAZ.ID_LIGA FROM VYSLEDKY, SUTAZ WHERE "
      "VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND DATUM>=#2011-03-21# AND DATUM<=#2011-03-21# AND "
      "VYSLEDOK IS NULL");
  ASSERT_EQ(dm.Work2.RecordCount(), 1);
  EXPECT_EQ(dm.Work2.FieldByName("ID_LIGA").AsString(), "4");
  EXPECT_EQ(dm.Work2.FieldByName("UNDER").AsInteger(), 62);
  dm.Command1.Execute("DELETE * FROM TIPY");
  const std::string date = dm.Work2.FieldByName("DATUM").AsString();
  dm.Command1.Execute(
      "INSERT INTO TIPY (ID,ID_LIGA,DATUM,HOME,AWAY,TIP1,TIPX,TIP2,TIP,PERC,KURZ,PROFIT) Values (" +
      std::to_string(fixture_) + ",4,\"" + date + "\"," + std::to_string(home_) + "," +
      std::to_string(away_) + ",60,27,13,\"  1\",60,1.85,6)");
  dm.Command1.Execute(
      "INSERT INTO TIPY (ID,ID_LIGA,DATUM,HOME,AWAY,TIP1,TIPX,TIP2,TIP,PERC,KURZ,PROFIT) Values (" +
      std::to_string(fixture_) + ",4,\"" + date + "\"," + std::to_string(home_) + "," +
      std::to_string(away_) + ",60,28,12,\" 10\",88,0,0)");
  // The tips list's query, with the league name's two leading blanks and the sort terms.
  dm.Work3.Open(
      "SELECT DATUM,+\"  \"+(SELECT NAZOV_EN AS NAZOV_EN FROM LIGA WHERE LIGA.ID=TIPY.ID_LIGA) AS "
      "LIGA,"
      "(SELECT NAZOV_EN FROM MUZSTVA WHERE MUZSTVA.ID=TIPY.HOME) AS DOMACI, (SELECT NAZOV_EN FROM "
      "MUZSTVA WHERE MUZSTVA.ID=TIPY.AWAY) AS HOSTIA,"
      "TIP1,TIPX,TIP2,TIP,PERC,KURZ,PROFIT,ID,ID_LIGA,HOME,AWAY FROM TIPY ORDER BY  TIP ASC, PERC "
      "DESC ");
  ASSERT_EQ(dm.Work3.RecordCount(), 2);
  EXPECT_EQ(dm.Work3.FieldByName("LIGA").AsString(), "  England");
  EXPECT_EQ(dm.Work3.FieldByName("DOMACI").AsString(), "Arsenal");
  EXPECT_EQ(dm.Work3.FieldByName("DATUM").AsString(), "21.03.2011")
      << "a short date was stored as that date";
  EXPECT_EQ(dm.Work3.FieldByName("TIP").AsString(), "  1");
  EXPECT_EQ(dm.Work3.FieldByName("KURZ").AsString(), "1,85");
  EXPECT_DOUBLE_EQ(dm.Work3.FieldByName("KURZ").AsFloat(), 1.85);
  Work3Uprav(dm, ResultMode::kFullTime);
  EXPECT_EQ(dm.Work3.DisplayText("KURZ"), "1,85");
  dm.Work3.Next();
  EXPECT_EQ(dm.Work3.DisplayText("KURZ"), " ") << "odds 0 show as one blank";
  EXPECT_EQ(dm.Work3.FieldByName("KURZ").AsString(), "0") << "but export as 0";
  // League order as sort terms: the comparison sorts true first.
  dm.Work3.Open("SELECT ID_LIGA FROM TIPY ORDER BY ID_LIGA=5 ASC,ID_LIGA=4 ASC");
  EXPECT_EQ(dm.Work3.FieldByName("ID_LIGA").AsInteger(), 4);
}

TEST_F(SqlDialectDb, ValueTipJoinNamesSharedColumnsByTable) {
  db_.AddOdds(fixture_, 1.8, 3.4, 4.5, 1.2, 1.9, 1.3, 1.7, 2.1);
  Query q = Q();
  q.Open(
      "SELECT VYSLEDKY.*,VYSLEDKY.UNDER AS VYSUNDER,SUTAZ.ID_LIGA,KURZY.*,KURZY.UNDER AS "
      "KURZUNDER,KURZY.OVER AS KURZOVER FROM (VYSLEDKY LEFT JOIN SUTAZ ON "
      "VYSLEDKY.ID_SUTAZ=SUTAZ.ID) INNER JOIN KURZY ON VYSLEDKY.ID=KURZY.ID WHERE "
      "(DATUM>=#2011-03-01# AND VYSLEDOK IS NULL)");
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("VYSLEDKY.ID").AsInteger(), fixture_);
  EXPECT_EQ(q.FieldByName("VYSUNDER").AsInteger(), 62);
  EXPECT_EQ(q.FieldByName("KURZUNDER").AsString(), "1,7");
  EXPECT_EQ(q.FieldByName("KURZX2").AsFloat(), 1.9);
  EXPECT_TRUE(q.HasField("KURZY.UNDER"));
}

TEST_F(SqlDialectDb, AnalysisAndTableStatementsWork) {
  Query q = Q();
  // Match history list head with the score expression (a fixture's score is empty).
  q.Open(
      "SELECT DATUM,(SELECT NAZOV_EN FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.HOME) AS DOMACI, "
      "(SELECT NAZOV_EN FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.AWAY) AS HOSTIA,"
      "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL)) AS SKORE"
      ",ID,HOME,AWAY,KONTUMACIA,VYSLEDOK,NERATAT FROM VYSLEDKY WHERE (VYSLEDKY.HOME=" +
      std::to_string(home_) + " AND VYSLEDKY.AWAY=" + std::to_string(away_) +
      " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL) ORDER BY DATUM DESC");
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("SKORE").AsString(), "2 : 1");
  EXPECT_FALSE(q.FieldByName("KONTUMACIA").AsBoolean());
  // Pairing analysis: team list with a correlated name sub-select.
  q.Open(
      "SELECT SUTAZ_MUZSTVA.*,(SELECT NAZOV_EN FROM MUZSTVA WHERE "
      "MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO) "
      "AS NAZOVMUZSTVA FROM SUTAZ_MUZSTVA WHERE (ID_SUTAZ=" +
      std::to_string(comp_) + ") ORDER BY ID_MUZSTVO ASC");
  ASSERT_EQ(q.RecordCount(), 2);
  EXPECT_EQ(q.FieldByName("NAZOVMUZSTVA").AsString(), "Arsenal");
  EXPECT_EQ(q.FieldByName("PR").AsString(), "2,5");
  // Standings: NERATAT and the forfeit count in full time.
  q.Open("SELECT HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK FROM VYSLEDKY WHERE (ID_SUTAZ=" +
         std::to_string(comp_) +
         " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND NERATAT=0) ORDER BY DATUM ASC, "
         "ID ASC");
  EXPECT_EQ(q.RecordCount(), 2);
  // Form table with TOP built at run time.
  q.Open(
      "SELECT TOP 3 HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE ((HOME=" + std::to_string(home_) +
      " OR AWAY=" + std::to_string(home_) + ") AND ID_SUTAZ=" + std::to_string(comp_) +
      " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0) ORDER BY DATUM DESC");
  EXPECT_EQ(q.RecordCount(), 1);
  // Next fixture's odds through equality with a TOP 1 sub-select.
  db_.AddOdds(fixture_, 1.8, 3.4, 4.5);
  q.Open(
      "SELECT KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12,BWIN_ID FROM KURZY WHERE ID= (SELECT TOP 1 ID "
      "FROM VYSLEDKY WHERE (ID_SUTAZ=" +
      std::to_string(comp_) + " AND VYSLEDKY.HOME=" + std::to_string(home_) +
      " AND VYSLEDKY.AWAY=" + std::to_string(away_) + " AND VYSLEDOK IS NULL) ORDER BY DATUM)");
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("KURZ1").AsString(), "1,8");
  EXPECT_EQ(q.FieldByName("KURZ1X").AsString(), "");
}

TEST_F(SqlDialectDb, ResultsBrowserAndEditorStatements) {
  Tdm& dm = db_.dm();
  dm.Work1.Open(
      "SELECT DATUM,(SELECT NAZOV_EN FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.HOME) AS DOMACI, "
      "(SELECT "
      "NAZOV_EN FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.AWAY) AS HOSTIA,"
      "IIF(VYSLEDKY.HT_AWAY_GOAL IS NOT NULL AND VYSLEDKY.HT_HOME_GOAL IS NOT NULL AND "
      "KONTUMACIA=0,"
      "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))+\"   "
      "(\"+TRIM(STR(VYSLEDKY.HT_HOME_GOAL))"
      "+\" : \"+TRIM(STR(VYSLEDKY.HT_AWAY_GOAL))+\")\","
      "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))) AS SKORE"
      ",HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,KONTUMACIA,NERATAT,ID FROM "
      "VYSLEDKY "
      "WHERE (VYSLEDKY.ID_SUTAZ=" +
      std::to_string(comp_) + ") ORDER BY  DATUM ASC, ID ASC ");
  dm.Work1Uprav();
  ASSERT_EQ(dm.Work1.RecordCount(), 3);
  EXPECT_EQ(dm.Work1.DisplayText("SKORE"), "2 : 1   (1 : 0)");
  dm.Work1.Next();
  EXPECT_EQ(dm.Work1.DisplayText("SKORE"), "3 : 0 K") << "a forfeit shows K behind its score";
  EXPECT_TRUE(dm.Work1.FieldByName("KONTUMACIA").AsBoolean());
  dm.Work1.Next();
  EXPECT_EQ(dm.Work1.DisplayText("SKORE"), "") << "a fixture shows an empty score";
  // The editor's insert with the yes/no given as text and the date in short format.
  dm.Command1.Execute(
      "INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK,HT_HOME_GOAL,"
      "HT_AWAY_GOAL,HT_VYSLEDOK,SHT_HOME_GOAL,SHT_AWAY_GOAL,SHT_VYSLEDOK,KONTUMACIA) Values (" +
      std::to_string(comp_) + ",\"01.04.2011\"," + std::to_string(home_) + "," +
      std::to_string(away_) + ",3,0,\"1\",0,0,\"\",0,0,\"\",\"-1\")");
  Query q = Q();
  q.Open("SELECT @@IDENTITY AS NewID");
  const int64_t id = q.FieldByName("NewID").AsInteger();
  EXPECT_GT(id, fixture_);
  q.Open("SELECT DATUM,KONTUMACIA FROM VYSLEDKY WHERE ID=" + std::to_string(id));
  EXPECT_EQ(q.FieldByName("DATUM").AsString(), "01.04.2011");
  EXPECT_TRUE(q.FieldByName("KONTUMACIA").AsBoolean());
  q.Open("SELECT COUNT(*) AS N FROM VYSLEDKY WHERE KONTUMACIA=-1");
  EXPECT_EQ(q.FieldByName("N").AsInteger(), 2) << "true is stored as -1";
  dm.Command1.Execute("UPDATE VYSLEDKY SET DATUM=\"02.04.2011\",KONTUMACIA=\"0\" WHERE ID=" +
                      std::to_string(id) + " ");
  q.Open("SELECT DATUM,KONTUMACIA FROM VYSLEDKY WHERE ID=" + std::to_string(id));
  EXPECT_EQ(q.FieldByName("DATUM").AsDate(), MakeDate(2011, 4, 2));
  EXPECT_FALSE(q.FieldByName("KONTUMACIA").AsBoolean());
  EXPECT_EQ(dm.Command1.Execute("DELETE FROM VYSLEDKY WHERE ID=" + std::to_string(id)), 1);
}

TEST_F(SqlDialectDb, OddsMergeAndSeasonStatements) {
  Query q = Q();
  q.Open("SELECT COUNT(*) AS POCET FROM KURZY WHERE ID=" + std::to_string(fixture_));
  EXPECT_EQ(q.FieldByName("POCET").AsInteger(), 0);
  db_.conn().Execute(
      "INSERT INTO KURZY (ID,KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12,HT_KURZ1,HT_KURZX,HT_KURZ2,"
      "HT_KURZ1X,HT_KURZX2,HT_KURZ12,SHT_KURZ1,SHT_KURZX,SHT_KURZ2,SHT_KURZ1X,SHT_KURZX2,SHT_"
      "KURZ12,"
      "OVER,UNDER) VALUES (" +
      std::to_string(fixture_) +
      ",1.5,3.2,5,1.1,2,1.2,2.1,2.2,4,1.3,1.6,1.4,2.2,2.3,4.1,1.4,1.7,1.5,1.9,1.9)");
  db_.conn().Execute("UPDATE KURZY SET KURZ1=1.45,OVER=2.05 WHERE ID=" + std::to_string(fixture_));
  q.Open("SELECT KURZ1,OVER FROM KURZY WHERE (ID=" + std::to_string(fixture_) + ")");
  EXPECT_EQ(q.FieldByName("KURZ1").AsString(), "1,45");
  EXPECT_EQ(q.FieldByName("OVER").AsString(), "2,05");
  // The season chooser and loading a season.
  q.Open("SELECT ROCNIK FROM SUTAZ WHERE ID_LIGA=4 ORDER BY ID_POR");
  ASSERT_EQ(q.RecordCount(), 2);
  EXPECT_EQ(q.FieldByName("ROCNIK").AsString(), "2009/2010");
  q.Open("SELECT ID,POCET,LM,EL,BARAZ,VYP FROM SUTAZ WHERE ID_LIGA=4 AND ROCNIK=\"active\"");
  EXPECT_EQ(q.FieldByName("ID").AsInteger(), comp_) << "text compares without regard to case";
}

TEST_F(SqlDialectDb, ColumnUpgradeStatementsAndProbes) {
  Query q = Q();
  q.Open("SELECT TOP 1 * FROM TIPY");
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_TRUE(q.HasField("TIP")) << "column names are known without rows";
  db_.conn().Execute("ALTER TABLE NASTAVENIE ADD COLUMN EXTRA TEXT(3)");
  db_.conn().Execute("ALTER TABLE KURZY ADD COLUMN EXTRA2 DECIMAL(6,2)");
  db_.conn().Execute("ALTER TABLE SUTAZ ADD COLUMN EXTRA3 SMALLINT");
  db_.conn().Execute("ALTER TABLE VYSLEDKY ADD COLUMN EXTRA4 BIT DEFAULT 0");
  q.Open("SELECT EXTRA4 FROM VYSLEDKY WHERE EXTRA4=0");
  EXPECT_EQ(q.RecordCount(), 3) << "a new yes/no column reads false, never NULL";
  EXPECT_THROW(db_.conn().Execute("ALTER TABLE VYSLEDKY ADD COLUMN EXTRA4 BIT DEFAULT 0"),
               DatabaseError);
}

TEST_F(SqlDialectDb, EngineErrorsCarryTheEngineText) {
  try {
    db_.conn().Execute("UPDATE NOSUCHTABLE SET A=1");
    FAIL() << "expected an error";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("no such table"), std::string::npos) << e.what();
  }
  Query q = Q();
  q.Open("SELECT ID FROM VYSLEDKY WHERE ID=-5");
  EXPECT_THROW(q.FieldByName("ID"), DatabaseError) << "no current row";
  EXPECT_THROW(q.Open("SELECT NOPE FROM VYSLEDKY"), DatabaseError);
}

TEST(SqlConnection, RefusesMissingAndForeignFiles) {
  test::TempDir dir;
  Connection c;
  c.SetConnectionString(MakeConnectionString(dir.Folder(), "secret"));
  EXPECT_EQ(c.DataSource(), dir.Folder() + "Morvela.mdb");
  EXPECT_THROW(c.Open(), DatabaseError);
  {
    std::FILE* f = std::fopen((dir.Folder() + "Morvela.mdb").c_str(), "wb");
    std::fputs("this is not a database, just some text that is long enough to have a header", f);
    std::fclose(f);
  }
  EXPECT_THROW(c.Open(), DatabaseError);
  EXPECT_FALSE(c.IsOpen());
}

}  // namespace
}  // namespace morvela
