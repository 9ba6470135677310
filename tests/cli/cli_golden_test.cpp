// The main outputs of morvela-cli on the demo database, compared byte for byte with the golden
// files: the demo itself, the week's tips as a table, as JSON and as a CSV export, and a short
// backtest.
#include <gtest/gtest.h>

#include <regex>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

// The parts of a backtest's output that are times.
std::string WithoutTimes(const std::string& text) {
  static const std::regex json_seconds(R"("seconds":[0-9.]+)");
  static const std::regex text_seconds(R"( in [0-9.]+ s\n)");
  return std::regex_replace(std::regex_replace(text, json_seconds, R"("seconds":"<time>")"),
                            text_seconds, " in <time> s\n");
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p; (p = text.find(end, start)) != std::string::npos; start = p + end.size())
    lines.push_back(text.substr(start, p - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

TEST(CliGolden, DemoDatabaseIsTheSameForTheSameSeedAndToday) {
  DemoHome home;  // creates the shared demo database
  ExpectGolden("demo.txt", DemoCreationTranscript());
}

TEST(CliGolden, TipsWeekAsTableAndAsJson) {
  DemoHome home;
  const std::vector<std::string> text_args{"tips", "week"};
  const CliResult text = home.Run(text_args);
  EXPECT_EQ(text.exit_code, 0) << text.err;
  EXPECT_GT(Lines(text.out, "\n").size(), 10u) << "the demo's week has fixtures to tip";
  ExpectGolden("tips_week.txt", DemoHome::Transcript(text_args, text));

  const std::vector<std::string> json_args{"tips", "week", "--json"};
  const CliResult json = home.Run(json_args);
  EXPECT_EQ(json.exit_code, 0) << json.err;
  std::string why;
  EXPECT_TRUE(IsValidJson(json.out, &why)) << why;
  ExpectGolden("tips_week_json.txt", DemoHome::Transcript(json_args, json));
}

TEST(CliGolden, TipsWeekCsvExportIsSemicolonSeparatedWithCrLf) {
  DemoHome home;
  const std::vector<std::string> args{"tips", "week", "--csv"};
  const CliResult r = home.Run(args);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  ExpectGolden("tips_week_csv.txt", DemoHome::Transcript(args, r));

  // The default file lies in Export/ under the list's export name; stderr names it.
  const std::smatch m = [&r] {
    std::smatch found;
    static const std::regex wrote(R"(Wrote <HOME>/(Export/[^\n]+\.csv)\n)");
    std::regex_search(r.err, found, wrote);
    return found;
  }();
  ASSERT_FALSE(m.empty()) << "no 'Wrote' line on stderr:\n" << r.err;
  const std::string bytes = ReadBytes(home.Folder() + m[1].str());
  ExpectGolden("tips_week_export.csv", bytes);

  // Checked beside the golden file, so that a regeneration cannot quietly accept another format.
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  const std::vector<std::string> lines = Lines(bytes, "\r\n");
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0], "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%");
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('\n'), std::string::npos) << "a bare line feed in: " << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 10) << line;
  }

  // A file named on the command line gets the same bytes.
  const std::string chosen = home.Folder() + "chosen.csv";
  const CliResult named = home.Run({"tips", "week", "--csv", chosen});
  EXPECT_EQ(named.exit_code, 0) << named.err;
  EXPECT_EQ(named.err, "Wrote <HOME>/chosen.csv\n");
  EXPECT_EQ(ReadBytes(chosen), bytes);
}

TEST(CliGolden, BacktestOverAFewDaysAsJsonAndText) {
  DemoHome home;
  const std::vector<std::string> json_args{"backtest", "--from",     "2025-10-11",
                                           "--to",     "2025-10-13", "--json"};
  const CliResult json = home.Run(json_args);
  EXPECT_EQ(json.exit_code, 0) << json.err;
  std::string why;
  EXPECT_TRUE(IsValidJson(json.out, &why)) << why;
  EXPECT_NE(json.out.find(R"("from":"2025-10-11","to":"2025-10-13")"), std::string::npos);
  ExpectGolden("backtest_json.txt",
               DemoHome::Transcript(json_args, {json.exit_code, WithoutTimes(json.out), json.err}));

  const std::vector<std::string> text_args{"backtest", "--from", "2025-10-11", "--to",
                                           "2025-10-13"};
  const CliResult text = home.Run(text_args);
  EXPECT_EQ(text.exit_code, 0) << text.err;
  ExpectGolden("backtest.txt",
               DemoHome::Transcript(text_args, {text.exit_code, WithoutTimes(text.out), text.err}));
}

}  // namespace
}  // namespace morvela::test
