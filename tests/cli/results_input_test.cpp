// What `results add/edit/delete` take from the command line: a match id is a whole number an id
// can be (no overflow, and "007" is match 7), a match date lies within 1900-9998.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

TEST(CliResultsInput, RefusesIdsAndDatesOutOfRangeAsBadInput) {
  DemoHome home;
  const std::string database = ReadBytes(home.Folder() + "Morvela.mdb");
  const struct {
    std::vector<std::string> args;
    std::string why;
  } cases[] = {
      {{"results", "edit", "4294967296", "--score", "1:0"}, "expects a match id, not '4294967296'"},
      {{"results", "delete", "99999999999999999999", "--yes"}, "expects a match id"},
      {{"results", "edit", "2147483648"}, "expects a match id"},
      {{"results", "add", "England", "--date", "0001-01-01", "--home", "1", "--away", "2",
        "--score", "1:0"},
       "from 1900-01-01 to 9998-12-31, not '0001-01-01'"},
      {{"results", "edit", "7", "--date", "9999-01-01"}, "from 1900-01-01 to 9998-12-31"},
      {{"results", "edit", "7", "--date", "31.12.1899"}, "from 1900-01-01 to 9998-12-31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const CliResult r = home.Run(c.args);
    EXPECT_EQ(r.exit_code, 2) << r.err;
    EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(home.Folder() + "Morvela.mdb"), database);
  }
  // Leading zeros name the same match: the row edited is match 7, not the list's first.
  const CliResult edited = home.Run({"results", "edit", "007", "--score", "3:2"});
  ASSERT_EQ(edited.exit_code, 0) << edited.err;
  EXPECT_NE(edited.out.find("\n7;"), std::string::npos) << edited.out;
  EXPECT_NE(edited.out.find("3 : 2"), std::string::npos) << edited.out;
}

}  // namespace
}  // namespace morvela::test
