// The history command on the demo database: a pairing's meetings as a table and a team's latest
// matches in the under/over mode as JSON, compared with golden files; the counts agree with the
// rows listed.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

int CountOf(const std::string& json, const std::string& key) {
  std::smatch m;
  const std::regex re("\"" + key + "\":([0-9]+)");
  return std::regex_search(json, m, re) ? std::stoi(m[1]) : -1;
}

TEST(CliGolden, HistoryListsWithTheirCounts) {
  DemoHome home;
  const std::vector<std::string> h2h{"history", "h2h", "1", "SK Rosenheim", "FC Birkental"};
  const CliResult table = home.Run(h2h);
  EXPECT_EQ(table.exit_code, 0) << table.err;
  ExpectGolden("history_h2h.txt", DemoHome::Transcript(h2h, table));

  const std::vector<std::string> latest{"history", "latest", "1",     "SK Rosenheim",
                                        "--mode",  "uo",     "--json"};
  const CliResult json = home.Run(latest);
  EXPECT_EQ(json.exit_code, 0) << json.err;
  std::string why;
  EXPECT_TRUE(IsValidJson(json.out, &why)) << why;
  ExpectGolden("history_latest_uo_json.txt", DemoHome::Transcript(latest, json));
  // Every row counts once, as an under or an over.
  size_t rows = 0;
  for (size_t p = 0; (p = json.out.find("\"id\":", p)) != std::string::npos; ++p) ++rows;
  EXPECT_GT(rows, 0u);
  EXPECT_EQ(CountOf(json.out, "under") + CountOf(json.out, "over"), static_cast<int>(rows));

  const std::vector<std::string> one_team{"history", "h2h", "1", "SK Rosenheim"};
  EXPECT_EQ(home.Run(one_team).exit_code, 2);
}

}  // namespace
}  // namespace morvela::test
