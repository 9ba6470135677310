// replay and search: the rating replay of one season and one outcome frequency search.
#include <chrono>
#include <iostream>
#include <sstream>

#include "cli/cli_context.h"
#include "cli/json.h"
#include "core/folder_lock.h"
#include "i18n/leagues.h"
#include "predict/outcome_search.h"
#include "predict/tip_selection.h"
#include "program/front_end_options.h"
#include "program/selection.h"
#include "program/startup.h"
#include "rating/season_replay.h"

namespace morvela {

namespace {

int LeagueArgument(const std::string& text) {
  return LeagueOption("LEAGUE", text);
}

int RunReplay(CliContext& ctx, const std::string& league_text, int competition) {
  const int league = LeagueArgument(league_text);
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  p.selection.league = std::to_string(league);
  if (competition > 0) {
    // A replay writes into every row of the competition it is given: refuse one that is not a
    // season of the named league rather than report an empty replay as done.
    Query q(p.dm.ADOConnection1);
    q.Open("SELECT COUNT(*) AS POCET FROM SUTAZ WHERE ID=" + std::to_string(competition) +
           " AND ID_LIGA=" + std::to_string(league));
    if (q.FieldByName("POCET").AsInteger() == 0) {
      std::cerr << "Error: competition " << competition << " is not a season of league " << league
                << " in " << p.DatabasePath() << "\n";
      return kExitError;
    }
    p.selection.competition = std::to_string(competition);
  } else {
    NacitajIDsutaz(p.dm, p.selection, "Active");
    if (p.selection.competition.empty()) {
      std::cerr << "Error: league " << league << " has no active season in " << p.DatabasePath()
                << "\n";
      return kExitError;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  ReplayReport r = ReplaySeason(p.dm, p.wait, p.messages, p.selection.competition);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const std::string& problem : r.problems) std::cerr << "Warning: " << problem << "\n";
  if (r.over_limits) {
    std::cerr << "Error: competition " << p.selection.competition
              << " is beyond the replay's limits; nothing was changed\n";
    return kExitError;
  }
  std::cout << "Competition " << p.selection.competition << ": " << r.rows_rated
            << " matches and fixtures got rating differences, " << r.fixtures_with_under
            << " fixtures an under/over percentage";
  if (r.skipped_no_slot)
    std::cout << ", " << r.skipped_no_slot << " rows skipped (team not in the season)";
  std::cout << "\nTime: " << static_cast<int>(seconds * 1000 + 0.5) << " ms\n";
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

std::string Widths(const std::vector<int>& w) {
  std::ostringstream s;
  s << "[";
  for (size_t i = 0; i < w.size(); ++i) s << (i ? "," : "") << w[i];
  s << "]";
  return s.str();
}

int RunSearch(CliContext& ctx, const std::string& league_text, int diff,
              const std::string& mode_text, const std::string& ht) {
  const int league = LeagueArgument(league_text);
  SearchMode mode = SearchMode::kList;
  if (mode_text == "match") mode = SearchMode::kMatch;
  if (mode_text == "live") mode = SearchMode::kLive;
  SearchContext sc;
  if (mode == SearchMode::kLive) {
    int h = 0, a = 0;
    char colon = 0;
    std::istringstream in(ht);
    if (!(in >> h >> colon >> a) || colon != ':' || h < 0 || a < 0 || !in.eof())
      throw CLI::ValidationError(
          "--ht", "a live search needs the half-time score as H:A, got '" + ht + "'");
    sc.ht_home = h;
    sc.ht_away = a;
  }
  if (ctx.Mode() == ResultMode::kUnderOver && mode != SearchMode::kLive)
    throw CLI::ValidationError(
        "--mode",
        "the outcome search has no under/over mode (under/over tips come from the stored UNDER)");
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  p.selection.league = std::to_string(league);
  sc.result_mode = p.selection.result_mode;
  sc.league = p.selection.league;
  SearchTrace trace;
  FindOutcomeFrequencies(p.dm.ADOConnection1, p.prediction, sc, mode, diff, &trace);
  SelectTip(p.prediction);
  const PredictionState& s = p.prediction;
  if (ctx.json) {
    const Json out = {{"HomePercent", s.HomePercent},
                      {"DrawPercent", s.DrawPercent},
                      {"AwayPercent", s.AwayPercent},
                      {"LeagueHomePercent", s.LeagueHomePercent},
                      {"LeagueDrawPercent", s.LeagueDrawPercent},
                      {"LeagueAwayPercent", s.LeagueAwayPercent},
                      {"Tip", s.Tip},
                      {"TipPercent", s.TipPercent},
                      {"LikelyScore", s.LikelyScore},
                      {"LeagueWidths", trace.league_widths},
                      {"AllWidths", trace.all_widths}};
    std::cout << JsonText(out) << "\n";
  } else {
    auto row = [](const char* name, int h, int d, int a) {
      std::cout << name << h << " / " << d << " / " << a << "\n";
    };
    std::cout << "Difference " << diff << ", league " << league << ", " << mode_text << " search\n";
    row("League pass       (1/0/2 %): ", s.LeagueHomePercent, s.LeagueDrawPercent,
        s.LeagueAwayPercent);
    row("All-leagues pass  (1/0/2 %): ", trace.all_home, trace.all_draw, trace.all_away);
    row("Final             (1/0/2 %): ", s.HomePercent, s.DrawPercent, s.AwayPercent);
    std::cout << "Tip:               \"" << s.Tip << "\" (" << TrimTip(s.Tip) << ") with "
              << static_cast<int>(s.TipPercent) << " %\n";
    if (!s.LikelyScore.empty()) std::cout << "Likely score:      " << s.LikelyScore << "\n";
    std::cout << "League widths:     " << Widths(trace.league_widths) << "\n"
              << "All-leagues widths:"
              << " " << Widths(trace.all_widths) << "\n";
  }
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

// The pending replays of an import (cmd_builder.cpp).
int RunReplayPending(CliContext& ctx);

void RegisterEngineCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* replay = app.add_subcommand(
      "replay", "Replay a season: rewrite its rating differences and under/over percentages");
  std::string& league = ctx.Text();
  replay->add_option("league", league, "League id 1-20 or English country name");
  std::string& comp_text = ctx.Text();
  replay->add_option("--competition", comp_text,
                     "Replay this competition (SUTAZ.ID) instead of the active season");
  bool& pending = ctx.Flag();
  replay->add_flag("--pending", pending,
                   "Replay every season an import left unfinished (all leagues)");
  replay->callback([&ctx, &exit_code, &league, &comp_text, &pending] {
    if (pending) {
      exit_code = RunReplayPending(ctx);
      return;
    }
    if (league.empty()) throw CLI::ValidationError("league", "name a league, or use --pending");
    int comp = 0;
    if (!comp_text.empty()) {
      try {
        comp = std::stoi(comp_text);
      } catch (const std::exception&) {
        throw CLI::ValidationError("--competition",
                                   "expects a competition id, got '" + comp_text + "'");
      }
    }
    FolderLock lock(ctx.Folder(), false, "replay");
    if (!lock.Held()) {
      std::cerr << "Error: " << FolderLock::BusyMessage(ctx.Folder()) << "\n";
      exit_code = kExitError;
      return;
    }
    exit_code = RunReplay(ctx, league, comp);
  });

  auto* search = app.add_subcommand("search", "Run one outcome frequency search and tip selection");
  std::string& s_league = ctx.Text();
  std::string& s_diff = ctx.Text();
  std::string& s_mode = ctx.Text();
  s_mode = "list";
  std::string& s_ht = ctx.Text();
  search->add_option("league", s_league, "League id 1-20 or English country name")->required();
  search->add_option("diff", s_diff, "Rating difference (home minus away)")->required();
  search->add_option("--search-mode", s_mode, "list, match or live")
      ->check(CLI::IsMember({"list", "match", "live"}));
  search->add_option("--ht", s_ht, "Half-time score H:A (live search)");
  search->add_flag("--json", ctx.json, "Print one JSON object");
  search->callback([&ctx, &exit_code, &s_league, &s_diff, &s_mode, &s_ht] {
    int d = 0;
    try {
      size_t used = 0;
      d = std::stoi(s_diff, &used);
      if (used != s_diff.size()) throw std::invalid_argument("trailing text");
    } catch (const std::exception&) {
      throw CLI::ValidationError("diff", "expects a whole number, got '" + s_diff + "'");
    }
    exit_code = RunSearch(ctx, s_league, d, s_mode, s_ht);
  });
}

}  // namespace morvela
