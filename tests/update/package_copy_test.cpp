// A results package is taken in by its rows alone: whatever else it brings (triggers, views,
// tables of its own) stays behind, and a package without the program's tables and columns is
// refused by name.
#include "update/package_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/database.h"
#include "test_support.h"
#include "update_test_support.h"

namespace morvela {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

int64_t Count(Connection& c, const std::string& sql) {
  Query q(c);
  q.Open(sql);
  return q.FieldByName("N").AsInteger();
}

TEST(PackageCopyTest, OnlyTheProgramsRowsAreTakenIn) {
  struct Case {
    const char* name;
    std::string change;   // SQL run on the package
    const char* refused;  // what the refusal says; empty when the package is taken
  } cases[] = {
      {"a plain package", "", ""},
      {"a trigger that empties VYSLEDKY on the next edit",
       "CREATE TRIGGER wipe AFTER UPDATE ON VYSLEDKY BEGIN DELETE FROM VYSLEDKY; END", ""},
      {"a table and a view of its own",
       "CREATE TABLE EXTRA (X); CREATE VIEW V AS SELECT * FROM MUZSTVA", ""},
      {"extra columns", "ALTER TABLE VYSLEDKY ADD COLUMN NOTE TEXT", ""},
      {"KURZY a view", "DROP TABLE KURZY; CREATE VIEW KURZY AS SELECT ID, 1 AS KURZ1 FROM VYSLEDKY",
       "the package's KURZY is a view, not a table"},
      {"a table missing", "DROP TABLE SUTAZ_MUZSTVA", "the package lacks the table SUTAZ_MUZSTVA"},
      {"a column missing", "ALTER TABLE VYSLEDKY DROP COLUMN NERATAT",
       "the package's table VYSLEDKY lacks the column NERATAT"},
      {"a column of another type",
       "ALTER TABLE MUZSTVA RENAME TO M0; CREATE TABLE MUZSTVA (ID INTEGER PRIMARY KEY, ID_LIGA "
       "INTEGER, NAZOV BLOB, NAZOV_EN TEXT, NAZOV_DE TEXT, NAZOV_IT TEXT)",
       "the package's column MUZSTVA.NAZOV is BLOB, not TEXT"},
      {"two settings rows", "INSERT INTO NASTAVENIE (VERZIA) VALUES ('x')",
       "the package has 2 settings rows, not one"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const fs::path package = dir.Path() / "package.mdb";
    const fs::path staging = dir.Path() / "staging.mdb";
    test::MakeDatabase(package, "02.06.2010", 4, "New");
    {
      Connection pkg;
      pkg.OpenFile(package.string(), false);
      pkg.ExecuteNative(
          "INSERT INTO VYSLEDKY (ID, ID_SUTAZ, DATUM, HOME, AWAY, VYSLEDOK) VALUES "
          "(1, 1, '2010-05-01', 1, 2, '1'), (2, 1, '2010-05-02', 2, 1, '0')");
      if (!c.change.empty()) pkg.ExecuteNative(c.change);
      pkg.ExecuteNative("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    std::string refusal;
    try {
      BuildFromPackage(package, staging, 4096, "mark");
    } catch (const PackageError& e) {
      refusal = e.what();
    }
    if (*c.refused) {
      EXPECT_THAT(refusal, HasSubstr(c.refused));
      continue;
    }
    ASSERT_EQ(refusal, "");
    Connection built;
    built.OpenFile(staging.string(), false);
    EXPECT_EQ(Count(built, "SELECT COUNT(*) AS N FROM MUZSTVA"), 4);
    EXPECT_EQ(Count(built, "SELECT COUNT(*) AS N FROM VYSLEDKY"), 2);
    EXPECT_EQ(Count(built, "SELECT COUNT(*) AS N FROM LIGA"), 20);
    EXPECT_EQ(PageSize(built), 4096);
    // Nothing but the program's own schema: no trigger, no view, no table of the package's.
    EXPECT_EQ(Count(built,
                    "SELECT COUNT(*) AS N FROM sqlite_master WHERE type IN (\"trigger\", \"view\") "
                    "OR name IN (\"EXTRA\", \"M0\")"),
              0);
    built.Execute("UPDATE VYSLEDKY SET HOME_GOAL=2 WHERE ID=1");
    EXPECT_EQ(Count(built, "SELECT COUNT(*) AS N FROM VYSLEDKY"), 2);
    Query mark(built);
    mark.Open("SELECT VERZIA FROM NASTAVENIE");
    EXPECT_EQ(mark.FieldByName("VERZIA").AsString(), "mark");
  }
}

}  // namespace
}  // namespace morvela
