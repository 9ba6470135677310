// morvela-cli's exit status and its messages: 0 success, 1 a failure (no database, an engine or
// dialect error), 2 a wrong command line, 3 nothing to tip.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace morvela::test {
namespace {

struct ExitCase {
  const char* golden;             // tests/cli/golden/exit_<golden>.txt
  std::vector<std::string> args;  // after --home and --today; "<HOME>/" is the folder
  int exit_code;
  std::string today = kDemoToday;
  bool with_database = true;
  std::vector<std::string> prepare;  // statements run through `sql` first (each must succeed)
};

TEST(CliExitStatus, EachOutcomeHasItsStatusAndMessage) {
  const std::vector<ExitCase> cases = {
      {"ok_sql_query", {"sql", "SELECT TOP 3 ID, NAZOV_EN FROM MUZSTVA ORDER BY ID"}, 0},
      {"ok_sql_update", {"sql", "UPDATE MUZSTVA SET NAZOV_EN=\"Renamed\" WHERE ID<=2"}, 0},
      {"error_no_database", {"tips", "week"}, 1, kDemoToday, false},
      // A database that lost a table is refused at start-up with the reason, not at the first
      // query that needs the table.
      {"error_partial_database", {"tips", "week"}, 1, kDemoToday, true, {"DROP TABLE TIPY"}},
      {"error_engine", {"sql", "SELECT * FROM NO_SUCH_TABLE"}, 1},
      {"error_dialect", {"sql", "SELECT \"unterminated"}, 1},
      {"error_csv_unwritable", {"tips", "week", "--csv", "<HOME>/no-such-folder/tips.csv"}, 1},
      {"error_backtest_csv_unwritable",
       {"backtest", "--from", "2025-10-11", "--to", "2025-10-11", "--csv",
        "<HOME>/no-such-folder/backtest.csv"},
       1},
      // A replay of a season that is not the league's (or does not exist) changes nothing.
      {"error_replay_foreign_competition", {"replay", "England", "--competition", "1"}, 1},
      {"error_replay_no_such_competition", {"replay", "England", "--competition", "999999"}, 1},
      {"usage_unknown_option", {"tips", "week", "--bogus"}, 2},
      {"usage_bad_mode", {"--mode", "xx", "tips", "week"}, 2},
      {"usage_bad_today", {"tips", "week"}, 2, "2025-13-45"},
      {"usage_unknown_league", {"tips", "league", "Narnia"}, 2},
      {"usage_unknown_sort_column", {"tips", "week", "--sort", "NOPE"}, 2},
      {"usage_no_command", {}, 2},
      {"usage_form_window_below_two", {"table", "England", "form", "--window", "1"}, 2},
      {"usage_backtest_range_reversed",
       {"backtest", "--from", "2025-10-05", "--to", "2025-10-01"},
       2},
      {"nothing_today", {"tips", "today"}, 3, "2030-06-01"},
      {"nothing_this_week", {"tips", "week"}, 3, "2030-06-01"},
      {"nothing_in_league",
       {"tips", "league", "13"},
       3,
       kDemoToday,
       true,
       {"DELETE * FROM VYSLEDKY WHERE VYSLEDOK IS NULL AND ID_SUTAZ IN "
        "(SELECT ID FROM SUTAZ WHERE ID_LIGA=13)"}},
      {"nothing_to_backtest", {"backtest", "--from", "2030-01-01", "--to", "2030-01-05"}, 3},
  };
  for (const ExitCase& c : cases) {
    SCOPED_TRACE(c.golden);
    DemoHome home(c.with_database);
    std::string transcript;
    for (const std::string& statement : c.prepare) {
      const CliResult prepared = home.Run({"sql", statement});
      ASSERT_EQ(prepared.exit_code, 0) << prepared.err;
      transcript += DemoHome::Transcript({"sql", statement}, prepared);
    }
    // "<HOME>/" in an argument stands for the test's program folder.
    std::vector<std::string> args = c.args;
    for (std::string& a : args)
      if (a.rfind("<HOME>/", 0) == 0) a = home.Folder() + a.substr(7);
    const CliResult r = home.Run(args, c.today);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.out << r.err;
    if (c.exit_code != 0) {
      EXPECT_FALSE(r.err.empty()) << "a failure says why on stderr";
    }
    transcript += DemoHome::Transcript(c.args, r, c.today);
    ExpectGolden(std::string("exit_") + c.golden + ".txt", transcript);
  }
}

}  // namespace
}  // namespace morvela::test
