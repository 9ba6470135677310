// The report, the stored calibration and the value filter on the command line, over the demo
// database: a stored calibration adds the past hit rate to --json and, only when asked, to the
// CSV export, whose default bytes stay the list's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

TEST(CliInsight, StoredCalibrationAddsThePastOnlyWhereAsked) {
  DemoHome home;
  const CliResult plain = home.Run({"tips", "week", "--csv", home.Folder() + "plain.csv"});
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  const CliResult plain_json = home.Run({"tips", "week", "--json"});
  EXPECT_EQ(plain_json.out.find("PAST"), std::string::npos) << "nothing stored, nothing added";

  // The last whole season: the calibration and blend weights the week's tips may use.
  const CliResult stored = home.Run({"backtest", "--from", "2024-07-01", "--to", "2025-06-30",
                                     "--store", "--html", home.Folder() + "report.html"});
  ASSERT_EQ(stored.exit_code, 0) << stored.err;
  EXPECT_NE(stored.err.find("Stored the calibration of "), std::string::npos) << stored.err;
  const std::string page = ReadBytes(home.Folder() + "report.html");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);

  // The default export is byte for byte what it was before the calibration was stored.
  ASSERT_EQ(home.Run({"tips", "week", "--csv", home.Folder() + "again.csv"}).exit_code, 0);
  EXPECT_EQ(ReadBytes(home.Folder() + "again.csv"), ReadBytes(home.Folder() + "plain.csv"));

  ASSERT_EQ(
      home.Run({"tips", "week", "--csv", home.Folder() + "past.csv", "--with-past"}).exit_code, 0);
  const std::string past = ReadBytes(home.Folder() + "past.csv");
  EXPECT_EQ(past.rfind("DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%;PAST %;PAST N\r\n", 0), 0u);
  // Rows without a past end in two empty fields; some tips of the week have one.
  size_t lines = 0, without = 0;
  for (size_t at = past.find("\r\n"); at != std::string::npos; at = past.find("\r\n", at + 2)) {
    ++lines;
    if (past.compare(at - 2, 2, ";;") == 0) ++without;
  }
  EXPECT_GT(lines, 10u);
  EXPECT_LT(without, lines - 1);
  const CliResult json = home.Run({"tips", "week", "--json"});
  std::string why;
  EXPECT_TRUE(IsValidJson(json.out, &why)) << why;
  EXPECT_NE(json.out.find("\"PAST %\":"), std::string::npos);

  // The second opinion's columns only when asked, after the list's own.
  ASSERT_EQ(home.Run({"tips", "week", "--csv", home.Folder() + "second.csv", "--second-opinion"})
                .exit_code,
            0);
  EXPECT_EQ(ReadBytes(home.Folder() + "second.csv")
                .rfind("DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%;Model %;Market %\r\n", 0),
            0u);
  // The same store kept the blend's weights, which the value run pools with.
  EXPECT_NE(stored.err.find("Stored the blend's weights of "), std::string::npos) << stored.err;
  const CliResult blend = home.Run({"tips", "value", "--against", "blend", "--json"});
  ASSERT_EQ(blend.exit_code, 0) << blend.err;
  EXPECT_TRUE(IsValidJson(blend.out, &why)) << why;
  EXPECT_NE(blend.out, home.Run({"tips", "value", "--against", "market", "--json"}).out)
      << "stored weights move the pool off the market alone";
}

TEST(CliInsight, ValueFilterOptions) {
  DemoHome home;
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string err;
  };
  const Case cases[] = {
      {{"tips", "value", "--odds", "3-1"}, 2, "--odds: '3-1' is not a range like 1.5-3"},
      {{"backtest", "--from", "2025-10-11", "--to", "2025-10-13", "--odds", "x"},
       2,
       "--odds: 'x' is not a range like 1.5-3"},
      {{"tips", "value", "--min-profit", "1000"}, 0, ""},
  };
  for (const Case& c : cases) {
    const CliResult r = home.Run(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args[1] << " " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  // A margin nobody reaches leaves the list empty; the filter narrows what is stored.
  const CliResult all = home.Run({"tips", "value", "--json"});
  const CliResult none = home.Run({"tips", "value", "--min-profit", "1000", "--json"});
  const CliResult some =
      home.Run({"tips", "value", "--min-profit", "5", "--odds", "1.5-3", "--json"});
  EXPECT_EQ(none.out, "[]\n");
  EXPECT_GT(all.out.size(), some.out.size());
  EXPECT_GT(some.out.size(), none.out.size());
}

}  // namespace
}  // namespace morvela::test
