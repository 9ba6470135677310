#include "cli/cli_context.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "builder/prepare_seasons.h"
#include "i18n/message_ids.h"
#include "program/front_end_options.h"
#include "program/selection.h"
#include "program/startup.h"

namespace morvela {

namespace {

const char* KindTitle(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return "Error";
    case MessageKind::kWarning:
      return "Warning";
    case MessageKind::kInformation:
      return "Information";
    case MessageKind::kConfirmation:
      return "Confirm";
  }
  return "";
}

std::string OneLine(std::string s) {
  for (size_t p; (p = s.find("\r\n")) != std::string::npos;) s.replace(p, 2, " ");
  return s;
}

}  // namespace

void TerminalUi::ShowMessage(MessageKind kind, const std::string& text) {
  std::cerr << KindTitle(kind) << ": " << OneLine(text) << "\n";
}

void TerminalUi::ShowDetailedMessage(MessageKind kind, const std::string& text,
                                     const std::string& detail) {
  ShowMessage(kind, text);
  if (!detail.empty()) std::cerr << "Reason: " << OneLine(detail) << "\n";
}

bool TerminalUi::AskYesNo(const std::string& text) {
  if (!assume_yes && ask_on_terminal && isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {
    std::cerr << OneLine(text) << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
  }
  std::cerr << OneLine(text) << (assume_yes ? " yes\n" : " no (use --yes)\n");
  return assume_yes;
}

std::optional<std::string> TerminalUi::AskSaveFile(const std::string& folder, const std::string&,
                                                   const std::string& proposed_name) {
  if (save_path && !save_path->empty()) return save_path;
  return folder + proposed_name;
}

void TerminalUi::OpenUrl(const std::string& url) {
  std::cout << url << "\n";
}

void TerminalWait::ShowWait(int, const std::string& message) {
  if (depth_++ == 0 && isatty(STDERR_FILENO)) {
    std::fprintf(stderr, "%s", message.c_str());
    std::fflush(stderr);
    shown_ = true;
  }
}

void TerminalWait::HideWait() {
  if (depth_ == 0) return;
  if (--depth_ == 0 && shown_) {
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
  }
}

std::string CliContext::Folder() const {
  return ChosenFolder().path;
}

ProgramFolder CliContext::ChosenFolder() const {
  return ChooseProgramFolder(home, exe_path);
}

std::optional<Date> CliContext::Today() const {
  if (today_text.empty()) return TodayFromEnvironment();
  return DateOption("--today", today_text);
}

ResultMode CliContext::Mode() const {
  return ModeOption(mode);
}

std::optional<int> CliContext::Language() const {
  if (lang.empty()) return std::nullopt;
  return LanguageOption(lang);
}

std::optional<int> CliContext::OpenProgram() {
  program = std::make_unique<Program>(ui, wait);
  StartupOptions o;
  o.folder = Folder();
  o.today = Today();
  o.language = Language();
  StartupResult r = RunStartup(*program, o);
  if (r != StartupResult::kReady) {
    if (std::filesystem::exists(program->DatabasePath())) {
      std::cerr << "Database: " << program->DatabasePath() << "\n";
    } else {
      std::cerr
          << "There is no database at " << program->DatabasePath()
          << ": create one with 'morvela-cli demo', 'morvela-cli init' or 'morvela-cli import'\n";
    }
    return kExitError;
  }
  program->selection.result_mode = Mode();
  // An import killed during its replay left seasons marked; they are finished before any
  // command reads rating differences.
  ReplayPendingAtStartup(*program);
  return std::nullopt;
}

namespace {

std::string TrimmedLabel(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

void AddValueFilterOptions(CLI::App* command, ValueFilterArguments& args,
                           const std::string& min_profit_names, const std::string& default_text) {
  command->add_option(min_profit_names, args.min_profit,
                      "Stake only bets whose PROFIT is at least N" + default_text);
  command->add_option(
      "--odds", args.odds,
      "Stake only bets whose odds lie in MIN-MAX, MAX excluded (1.5-3, 2- or -2.5)");
}

ValueFilter MakeValueFilter(const ValueFilterArguments& args,
                            std::optional<int> default_min_profit) {
  ValueFilter f;
  if (const std::optional<int> m = args.min_profit ? args.min_profit : default_min_profit)
    f.min_profit = *m;
  if (!args.odds.empty()) {
    const auto range = ParseOddsRange(args.odds);
    if (!range)
      throw CLI::ValidationError("--odds", "'" + args.odds + "' is not a range like 1.5-3");
    f.odds_min = range->first;
    f.odds_max = range->second;
  }
  return f;
}

// Loads the league's active season, or the season labelled `label` the way the season chooser
// loads it (from the trimmed labels of the league's seasons). False, with the reason on stderr,
// when there is no such season.
bool LoadSeason(Program& p, int league, const std::string& label) {
  p.selection.league = std::to_string(league);
  std::string wanted = label.empty() ? "Active" : label;
  if (!label.empty()) {
    Query seasons(p.dm.ADOConnection1);
    seasons.Open("SELECT ROCNIK FROM SUTAZ WHERE ID_LIGA=" + p.selection.league +
                 " ORDER BY ID_POR");
    std::string listed;
    bool found = false;
    for (; !seasons.Eof(); seasons.Next()) {
      const std::string s = TrimmedLabel(seasons.FieldByName("ROCNIK").AsString());
      found = found || s == TrimmedLabel(label);
      listed += (listed.empty() ? "" : ", ") + s;
    }
    if (!found) {
      std::cerr << "Error: league " << league << " has no season '" << label
                << "' (seasons: " << listed << ")\n";
      return false;
    }
    wanted = TrimmedLabel(label);
  }
  NacitajIDsutaz(p.dm, p.selection, wanted);
  if (p.selection.competition.empty()) {
    std::cerr << "Error: league " << league << " has no season '" << wanted << "' in "
              << p.DatabasePath() << "\n";
    return false;
  }
  return true;
}

void AddPairingArguments(CLI::App* command, PairingArguments& args) {
  command->add_option("league", args.league, "League id 1-20 or English country name")->required();
  command->add_option("home", args.home, "Home team: id or name in the chosen language")
      ->required();
  command->add_option("away", args.away, "Away team: id or name in the chosen language")
      ->required();
  command->add_option("--season", args.season,
                      "Season label (as the season chooser lists it); default: the active season");
}

int OpenPairing(CliContext& ctx, const PairingArguments& args, std::optional<TeamItem>& home,
                std::optional<TeamItem>& away, bool one_team) {
  const int league = LeagueOption("LEAGUE", args.league);
  if (auto rc = ctx.OpenProgram()) return *rc;
  if (!LoadSeason(*ctx.program, league, args.season)) return kExitError;
  const int status = ResolveTeamArguments(*ctx.program, args.home, args.away, home, away);
  if (status == kExitOk && !one_team && home->id == away->id) {
    std::cerr << "Error: " << ctx.program->messages.Msg(msg::kSameTwoTeams) << "\n";
    return kExitUsage;
  }
  return status;
}

}  // namespace morvela
