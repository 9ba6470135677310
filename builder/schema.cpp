#include "builder/schema.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include "core/atomic_file.h"
#include "core/cipher.h"
#include "core/helpers.h"
#include "i18n/leagues.h"

namespace morvela {

namespace {

// Declared types tell the data layer how a column reads: DATE reads as dd.mm.yyyy, BIT as a
// yes/no value (never NULL, -1 for true), DECIMAL with a decimal comma. Texts compare without
// regard to case, as the program's dialect does.
const char* const kTables[] = {
    R"(CREATE TABLE LIGA (
  ID INTEGER PRIMARY KEY,
  NAZOV TEXT(50) COLLATE NOCASE,
  NAZOV_EN TEXT(50) COLLATE NOCASE,
  NAZOV_DE TEXT(50) COLLATE NOCASE,
  NAZOV_IT TEXT(50) COLLATE NOCASE))",
    R"(CREATE TABLE SUTAZ (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ID_LIGA INTEGER NOT NULL,
  ROCNIK TEXT(50) COLLATE NOCASE,
  ID_POR INTEGER,
  POCET INTEGER,
  LM SMALLINT, EL SMALLINT, BARAZ SMALLINT, VYP SMALLINT))",
    R"(CREATE TABLE MUZSTVA (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ID_LIGA INTEGER,
  NAZOV TEXT(50) COLLATE NOCASE,
  NAZOV_EN TEXT(50) COLLATE NOCASE,
  NAZOV_DE TEXT(50) COLLATE NOCASE,
  NAZOV_IT TEXT(50) COLLATE NOCASE))",
    R"(CREATE TABLE SUTAZ_MUZSTVA (
  ID_SUTAZ INTEGER NOT NULL,
  ID_MUZSTVO INTEGER NOT NULL,
  ELO INTEGER, ELO_HOME INTEGER, ELO_AWAY INTEGER,
  HT_ELO INTEGER, HT_ELO_HOME INTEGER, HT_ELO_AWAY INTEGER,
  SHT_ELO INTEGER, SHT_ELO_HOME INTEGER, SHT_ELO_AWAY INTEGER,
  PR DECIMAL(6,2), PR_HOME DECIMAL(6,2), PR_AWAY DECIMAL(6,2),
  PRIMARY KEY (ID_SUTAZ, ID_MUZSTVO)))",
    R"(CREATE TABLE VYSLEDKY (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ID_SUTAZ INTEGER NOT NULL,
  DATUM DATE,
  HOME INTEGER, AWAY INTEGER,
  HOME_GOAL INTEGER, AWAY_GOAL INTEGER, VYSLEDOK TEXT(1) COLLATE NOCASE,
  HT_HOME_GOAL INTEGER, HT_AWAY_GOAL INTEGER, HT_VYSLEDOK TEXT(1) COLLATE NOCASE,
  SHT_HOME_GOAL INTEGER, SHT_AWAY_GOAL INTEGER, SHT_VYSLEDOK TEXT(1) COLLATE NOCASE,
  KONTUMACIA BIT NOT NULL DEFAULT 0,
  NERATAT BIT NOT NULL DEFAULT 0,
  ELO_ROZDIEL INTEGER, HT_ELO_ROZDIEL INTEGER, SHT_ELO_ROZDIEL INTEGER,
  UNDER SMALLINT))",
    R"(CREATE TABLE KURZY (
  ID INTEGER PRIMARY KEY,
  KURZ1 DECIMAL(6,2), KURZX DECIMAL(6,2), KURZ2 DECIMAL(6,2),
  KURZ1X DECIMAL(6,2), KURZX2 DECIMAL(6,2), KURZ12 DECIMAL(6,2),
  HT_KURZ1 DECIMAL(6,2), HT_KURZX DECIMAL(6,2), HT_KURZ2 DECIMAL(6,2),
  HT_KURZ1X DECIMAL(6,2), HT_KURZX2 DECIMAL(6,2), HT_KURZ12 DECIMAL(6,2),
  SHT_KURZ1 DECIMAL(6,2), SHT_KURZX DECIMAL(6,2), SHT_KURZ2 DECIMAL(6,2),
  SHT_KURZ1X DECIMAL(6,2), SHT_KURZX2 DECIMAL(6,2), SHT_KURZ12 DECIMAL(6,2),
  OVER DECIMAL(6,2), UNDER DECIMAL(6,2),
  BWIN_ID TEXT(50) COLLATE NOCASE))",
    R"(CREATE TABLE TIPY (
  ID INTEGER,
  ID_LIGA INTEGER,
  DATUM DATE,
  HOME INTEGER, AWAY INTEGER,
  TIP1 SMALLINT, TIPX SMALLINT, TIP2 SMALLINT,
  TIP TEXT(3) COLLATE NOCASE,
  PERC SMALLINT,
  KURZ DECIMAL(6,2),
  PROFIT INTEGER))",
    R"(CREATE TABLE NASTAVENIE (
  VERZIA TEXT(64) COLLATE NOCASE,
  DAT_DB TEXT(64) COLLATE NOCASE,
  WEB TEXT(50) COLLATE NOCASE,
  WEB_EN TEXT(50) COLLATE NOCASE,
  WEB_DE TEXT(50) COLLATE NOCASE))",
};

// One index per lookup the program makes. The difference indexes carry the columns the outcome
// search filters and reads, so a search never touches the table itself: the league pass seeks
// per competition of the league (competition first, then the difference range), the
// all-leagues pass reads one difference range.
// The builder's own bookkeeping. REPLAY_PENDING lists the competitions whose matches changed
// since their last replay: the importer adds them in the transaction that writes the rows, the
// replay of a competition removes it in the transaction that writes its differences, so a
// killed import leaves a list of exactly what still has to be replayed. DB_ORIGIN says who made
// the database ("demo" for the invented demo data). TIP_CALIBRATION keeps the backtested hit
// rates by league, season, tip kind and five-point bucket (tips/calibration_store.h); days are
// ISO texts, so that they compare in order. All are created with IF NOT EXISTS, so
// EnsureBuilderTables adds them to databases made before they existed.
const char* const kBuilderTables[] = {
    "CREATE TABLE IF NOT EXISTS REPLAY_PENDING (ID_SUTAZ INTEGER PRIMARY KEY)",
    "CREATE TABLE IF NOT EXISTS DB_ORIGIN (ORIGIN TEXT(20) COLLATE NOCASE)",
    "CREATE TABLE IF NOT EXISTS TIP_CALIBRATION (RESULT_MODE SMALLINT NOT NULL, ID_LIGA INTEGER "
    "NOT NULL, ID_SUTAZ INTEGER NOT NULL, KIND SMALLINT NOT NULL, BUCKET SMALLINT NOT NULL, TIPS "
    "INTEGER NOT NULL, WON INTEGER NOT NULL, FIRST_DAY TEXT(10), LAST_DAY TEXT(10), PRIMARY KEY "
    "(RESULT_MODE, ID_SUTAZ, KIND, BUCKET))",
    "CREATE INDEX IF NOT EXISTS IX_TIP_CALIBRATION_LOOKUP ON TIP_CALIBRATION (RESULT_MODE, "
    "ID_LIGA, KIND, BUCKET, LAST_DAY)",
};

// The indexes over the rating differences (the outcome searches' lookups). Every difference a
// replay writes moves an entry in two of them.
struct NamedIndex {
  const char* name;
  const char* definition;
};
const NamedIndex kDifferenceIndexes[] = {
    {"IX_VYSLEDKY_SUTAZ_ELO",
     "VYSLEDKY (ID_SUTAZ, ELO_ROZDIEL, KONTUMACIA, VYSLEDOK, HOME_GOAL, AWAY_GOAL, DATUM)"},
    {"IX_VYSLEDKY_SUTAZ_HT_ELO",
     "VYSLEDKY (ID_SUTAZ, HT_ELO_ROZDIEL, KONTUMACIA, HT_VYSLEDOK, DATUM)"},
    {"IX_VYSLEDKY_SUTAZ_SHT_ELO",
     "VYSLEDKY (ID_SUTAZ, SHT_ELO_ROZDIEL, KONTUMACIA, SHT_VYSLEDOK, DATUM)"},
    {"IX_VYSLEDKY_ELO",
     "VYSLEDKY (ELO_ROZDIEL, ID_SUTAZ, KONTUMACIA, VYSLEDOK, HOME_GOAL, AWAY_GOAL, DATUM)"},
    {"IX_VYSLEDKY_HT_ELO", "VYSLEDKY (HT_ELO_ROZDIEL, ID_SUTAZ, KONTUMACIA, HT_VYSLEDOK, DATUM)"},
    {"IX_VYSLEDKY_SHT_ELO",
     "VYSLEDKY (SHT_ELO_ROZDIEL, ID_SUTAZ, KONTUMACIA, SHT_VYSLEDOK, DATUM)"},
};

const char* const kIndexes[] = {
    "CREATE INDEX IX_VYSLEDKY_SUTAZ_DATUM ON VYSLEDKY (ID_SUTAZ, DATUM)",
    "CREATE INDEX IX_VYSLEDKY_PAIR ON VYSLEDKY (HOME, AWAY, DATUM)",
    "CREATE INDEX IX_VYSLEDKY_AWAY ON VYSLEDKY (AWAY, DATUM)",
    "CREATE INDEX IX_VYSLEDKY_DATUM ON VYSLEDKY (DATUM)",
    "CREATE INDEX IX_SUTAZ_LIGA ON SUTAZ (ID_LIGA, ROCNIK)",
    "CREATE INDEX IX_MUZSTVA_LIGA ON MUZSTVA (ID_LIGA)",
    "CREATE INDEX IX_TIPY_ID ON TIPY (ID)",
};

}  // namespace

void DropDifferenceIndexes(Connection& conn) {
  for (const NamedIndex& i : kDifferenceIndexes)
    conn.ExecuteNative(std::string("DROP INDEX IF EXISTS ") + i.name);
}

void CreateDifferenceIndexes(Connection& conn) {
  for (const NamedIndex& i : kDifferenceIndexes)
    conn.ExecuteNative(std::string("CREATE INDEX IF NOT EXISTS ") + i.name + " ON " + i.definition);
}

bool DifferenceIndexesComplete(Connection& conn) {
  std::string names;
  for (const NamedIndex& i : kDifferenceIndexes)
    names += std::string(names.empty() ? "" : ",") + "\"" + i.name + "\"";
  Query q(conn);
  q.Open("SELECT COUNT(*) AS N FROM sqlite_master WHERE type=\"index\" AND name IN (" + names +
         ")");
  return q.FieldByName("N").AsInteger() == static_cast<int64_t>(std::size(kDifferenceIndexes));
}

void CreateSchema(Connection& conn) {
  for (const char* sql : kTables) conn.ExecuteNative(sql);
  CreateDifferenceIndexes(conn);
  for (const char* sql : kIndexes) conn.ExecuteNative(sql);
  EnsureBuilderTables(conn);
  for (int id = 1; id <= 20; ++id) {
    conn.Execute("INSERT INTO LIGA (ID,NAZOV,NAZOV_EN,NAZOV_DE,NAZOV_IT) VALUES (" +
                 std::to_string(id) + "," + QuoteSqlText(LeagueName(id, 3)) + "," +
                 QuoteSqlText(LeagueName(id, 1)) + "," + QuoteSqlText(LeagueName(id, 2)) + "," +
                 QuoteSqlText(LeagueName(id, 4)) + ")");
  }
  conn.Execute("INSERT INTO NASTAVENIE (VERZIA,DAT_DB,WEB,WEB_EN,WEB_DE) VALUES (" +
               QuoteSqlText(EncipherText(kProgramVersion)) + "," +
               QuoteSqlText(EncipherText(FormatDateText(SystemToday()))) + "," +
               QuoteSqlText(kDefaultWebAddress) + "," + QuoteSqlText(kDefaultWebAddressEn) + "," +
               QuoteSqlText(kDefaultWebAddressDe) + ")");
}

void EnsureBuilderTables(Connection& conn) {
  for (const char* sql : kBuilderTables) conn.ExecuteNative(sql);
}

std::string DatabaseOrigin(Connection& conn) {
  EnsureBuilderTables(conn);
  Query q(conn);
  q.Open("SELECT ORIGIN FROM DB_ORIGIN");
  return q.Eof() ? std::string() : q.FieldByName("ORIGIN").AsString();
}

void SetDatabaseOrigin(Connection& conn, const std::string& origin) {
  EnsureBuilderTables(conn);
  conn.ExecuteNative("DELETE FROM DB_ORIGIN");
  conn.Execute("INSERT INTO DB_ORIGIN (ORIGIN) VALUES (" + QuoteSqlText(origin) + ")");
}

void CreateEmptyDatabase(const std::string& path, bool overwrite) {
  namespace fs = std::filesystem;
  if (fs::exists(path) && !overwrite)
    throw DatabaseError("The database '" + path + "' exists already (use --force to replace it)");
  ReplaceFileAtomically(path, [](const std::string& temp) {
    Connection conn;
    conn.OpenFile(temp, true);
    InTransaction(conn, [&] { CreateSchema(conn); });
    conn.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
    conn.Close();
  });
}

}  // namespace morvela
