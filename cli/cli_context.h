// What every command of the command line shares: the global options, the terminal's
// UserInterface and wait indicator, and opening the program the way the desktop program starts.
#pragma once

#include <CLI/CLI.hpp>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/program.h"
#include "program/startup.h"
#include "rating/competition_teams.h"
#include "tips/value_tips.h"

namespace morvela {

// Exit statuses of morvela-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;    // a failure: engine error, bad input, missing file
inline constexpr int kExitUsage = 2;    // the command line itself is wrong
inline constexpr int kExitNothing = 3;  // nothing to do (no fixtures to tip)

// Messages go to stderr with their kind; confirmations take the --yes answer; the save dialog
// accepts the proposed (or preset) file; the browser address is printed.
class TerminalUi : public UserInterface {
 public:
  void ShowMessage(MessageKind kind, const std::string& text) override;
  // The message's line, then the detail on a line of its own.
  void ShowDetailedMessage(MessageKind kind, const std::string& text,
                           const std::string& detail) override;
  bool AskYesNo(const std::string& text) override;
  int ChooseLanguage() override { return 0; }
  std::optional<std::string> AskSaveFile(const std::string& folder, const std::string& filter,
                                         const std::string& proposed_name) override;
  void OpenUrl(const std::string& url) override;

  bool assume_yes = false;
  // Without --yes, a question on a terminal waits for the user's y or n; elsewhere it is No.
  bool ask_on_terminal = false;
  std::optional<std::string> save_path;  // a file named on the command line
};

// A one-line busy message on stderr while an operation runs, when stderr is a terminal.
class TerminalWait : public WaitIndicator {
 public:
  void ShowWait(int delay_ms, const std::string& message) override;
  void HideWait() override;
  void StopWait() override {}

 private:
  int depth_ = 0;
  bool shown_ = false;
};

struct CliContext {
  std::string exe_path;
  std::optional<std::string> home;
  std::string today_text;   // --today YYYY-MM-DD
  std::string lang;         // --lang en|de|sk|it
  std::string mode = "ft";  // --mode ft|1h|2h|uo
  bool json = false;

  TerminalUi ui;
  TerminalWait wait;
  std::unique_ptr<Program> program;

  std::string Folder() const;          // the program folder (ChooseProgramFolder)
  ProgramFolder ChosenFolder() const;  // the same with the rule that chose it
  std::optional<Date> Today() const;   // throws CLI::ValidationError on a bad date
  ResultMode Mode() const;
  std::optional<int> Language() const;
  // Storage for an option's text that lives as long as the context.
  std::string& Text() { return texts_.emplace_back(); }
  bool& Flag() { return flags_.emplace_back(false); }
  std::vector<std::string>& List() { return lists_.emplace_back(); }

  // Runs the start-up sequence; on failure prints why and returns the exit status.
  std::optional<int> OpenProgram();

 private:
  std::deque<std::string> texts_;
  std::deque<bool> flags_;
  std::deque<std::vector<std::string>> lists_;
};

// Loads the league's active season, or the season labelled `label` the way the season chooser
// loads it (from the trimmed labels of the league's seasons). False, with the reason on stderr,
// when there is no such season.
bool LoadSeason(Program& p, int league, const std::string& label);

// The value filter of `tips value` and `backtest`: --min-profit N and --odds MIN-MAX.
struct ValueFilterArguments {
  std::optional<int> min_profit;
  std::string odds;
};
// Adds the two options to `command`; `min_profit_names` may add an older name ("--min-profit,
// --value-min").
void AddValueFilterOptions(CLI::App* command, ValueFilterArguments& args,
                           const std::string& min_profit_names, const std::string& default_text);
// The filter the options ask for; PROFIT defaults to `default_min_profit` (none: every profit).
// Throws CLI::ValidationError for an odds range that does not read.
ValueFilter MakeValueFilter(const ValueFilterArguments& args,
                            std::optional<int> default_min_profit);

// What a command about one pairing names: LEAGUE HOME AWAY and --season.
struct PairingArguments {
  std::string league;
  std::string home;
  std::string away;
  std::string season;
};
// Adds those arguments to `command`, bound to `args`.
void AddPairingArguments(CLI::App* command, PairingArguments& args);
// Opens the program with the pairing's league and season loaded and finds both teams. Returns
// kExitOk, or the exit status after the reason went to stderr (a league that does not parse
// throws OptionError). One team given twice is refused with the program's message for it
// (kExitUsage) unless `one_team` says the command names a single team on both sides.
int OpenPairing(CliContext& ctx, const PairingArguments& args, std::optional<TeamItem>& home,
                std::optional<TeamItem>& away, bool one_team = false);

// The team arguments of a command, each a team id or a team name in the program's language
// (rating/competition_teams.h), looked up among the teams of the loaded competition. Returns
// kExitOk with both teams, or kExitUsage after naming the argument, the problem and the
// competition's teams on stderr.
int ResolveTeamArguments(Program& p, const std::string& home_text, const std::string& away_text,
                         std::optional<TeamItem>& home, std::optional<TeamItem>& away);

// Each command group adds its subcommands; the callback sets *exit_code.
void RegisterBasicCommands(CLI::App& app, CliContext& ctx, int& exit_code);
void RegisterEngineCommands(CLI::App& app, CliContext& ctx, int& exit_code);    // replay, search
void RegisterBuilderCommands(CLI::App& app, CliContext& ctx, int& exit_code);   // import, demo
void RegisterDemoCommands(CLI::App& app, CliContext& ctx, int& exit_code);      // demo
void RegisterTipsCommands(CLI::App& app, CliContext& ctx, int& exit_code);      // tips
void RegisterBacktestCommands(CLI::App& app, CliContext& ctx, int& exit_code);  // backtest
void RegisterTableCommands(CLI::App& app, CliContext& ctx, int& exit_code);     // table
void RegisterMatchCommands(CLI::App& app, CliContext& ctx, int& exit_code);     // match
void RegisterLiveCommands(CLI::App& app, CliContext& ctx, int& exit_code);      // live
void RegisterResultsCommands(CLI::App& app, CliContext& ctx, int& exit_code);   // results
void RegisterSettingsCommands(CLI::App& app, CliContext& ctx, int& exit_code);  // settings, package
void RegisterUpdateCommands(CLI::App& app, CliContext& ctx, int& exit_code);    // update
void RegisterFetchCommands(CLI::App& app, CliContext& ctx, int& exit_code);
// The way of the commands that bring real results (import, fetch) into the folder's database,
// under the folder's lock the caller holds: a half-made file of a killed run removed, an empty
// database created when there is none, `dm` connected, and the demo database of invented clubs
// refused unless `force` ("`verb` into another folder ..."). kExitOk or the exit status.
int OpenForRealResults(const std::string& folder, const std::string& verb, bool force,
                       Tdm& dm);  // fetch

}  // namespace morvela
