// The table command: one view of the league tables window for a league's season, printed as
// the window's grid, as JSON (every counted field of every row) or as the grid's texts in CSV.
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/cli_context.h"
#include "cli/json.h"
#include "cli/table_printer.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "program/front_end_options.h"
#include "program/selection.h"
#include "program/startup.h"
#include "tables/league_tables.h"

namespace morvela {

namespace {

struct TableOptions {
  std::string league;
  std::string season;
  std::string view;
  std::string side;
  int window = 0;  // 0: not given
  std::string highlight;
  bool csv = false;
};

bool IsRatingView(const std::string& v) {
  return v == "elo" || v == "elo-home" || v == "elo-away";
}

// Checks the options against each other and the result mode; throws CLI::ValidationError
// (exit status 2) with the reason.
void CheckOptions(TableOptions& o, ResultMode mode) {
  if (o.view.empty()) o.view = mode == ResultMode::kUnderOver ? "goals" : "standings";
  const bool goal_view = o.view == "goals" || o.view == "goalform";
  if (mode == ResultMode::kUnderOver && !goal_view)
    throw CLI::ValidationError("--view", "the " + o.view +
                                             " table has no under/over form: with --mode uo use "
                                             "--view goals or goalform");
  if (mode != ResultMode::kUnderOver && goal_view)
    throw CLI::ValidationError("--view", "the " + o.view + " table exists only with --mode uo");
  if (IsRatingView(o.view) && !o.side.empty())
    throw CLI::ValidationError("--side", "the rating tables have no side; leave --side out");
  if (o.window != 0 && o.view != "form" && o.view != "goalform")
    throw CLI::ValidationError("--window", "only the form and goalform views have a window");
  if (o.side.empty()) o.side = "together";
}

const char* ZoneName(Zone z) {
  switch (z) {
    case Zone::kTop:
      return "top";
    case Zone::kSecond:
      return "second";
    case Zone::kPlayOff:
      return "playoff";
    case Zone::kRelegation:
      return "relegation";
    case Zone::kNone:
      break;
  }
  return nullptr;
}

const char* ViewName(TableView v) {
  static constexpr const char* kNames[] = {"standings", "form",     "goals",   "goalform",
                                           "elo",       "elo-home", "elo-away"};
  return kNames[static_cast<int>(v)];
}

const char* SideName(TableSide s) {
  return s == TableSide::kHome ? "home" : (s == TableSide::kAway ? "away" : "together");
}

void PrintPlain(const TForm2& t) {
  std::cout << std::string(TrimSpaces(t.Caption())) << "\n"
            << std::string(TrimSpaces(t.HeaderLine())) << "\n";
  TextTable table;
  for (int c = 0; c < t.ColumnCount(); ++c)
    table.AddColumn(c == 0 ? "#" : t.Cell(c, 0),
                    c == 1 ? TextTable::Align::kLeft : TextTable::Align::kRight);
  for (int r = 1; r < t.RowCount(); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < t.ColumnCount(); ++c) cells.push_back(t.Cell(c, r));
    // The match colour of the window's team column becomes a star before the place.
    if (t.RowHighlighted(r)) cells[0] = "*" + cells[0];
    table.AddRow(std::move(cells));
  }
  table.Print(std::cout);
}

void PrintCsv(const TForm2& t) {
  for (int r = 0; r < t.RowCount(); ++r) {
    for (int c = 0; c < t.ColumnCount(); ++c)
      std::cout << (c ? ";" : "") << CsvField(t.Cell(c, r), ';');
    std::cout << "\n";
  }
}

void PrintJson(const TForm2& t, const Program& p) {
  const bool goal_view = t.View() == TableView::kGoals || t.View() == TableView::kGoalForm;
  Json j = {{"caption", std::string(TrimSpaces(t.Caption()))},
            {"header", std::string(TrimSpaces(t.HeaderLine()))},
            {"view", ViewName(t.View())}};
  if (t.View() < TableView::kElo) j["side"] = SideName(t.Side());
  if (t.View() == TableView::kForm || t.View() == TableView::kGoalForm)
    j["window"] = t.FormWindow();
  j["result_mode"] = ModeIndex(t.Mode());
  j["table_kind"] = KindNumber(t.Kind());
  j["competition"] = JsonInteger(p.selection.competition);
  j["season"] = p.selection.season;
  Json columns = Json::array();
  for (int c = 0; c < t.ColumnCount(); ++c) columns.push_back(t.Cell(c, 0));
  j["columns"] = std::move(columns);
  Json rows = Json::array();
  for (int r = 1; r < t.RowCount(); ++r) {
    Json row = {{"place", r}, {"team_id", t.RowTeam(r)}};
    if (goal_view) {
      const tables::TGoly& g = t.GoalRows()[static_cast<size_t>(r - 1)];
      const bool played = g.played > 0;
      row["name"] = g.name;
      row["played"] = g.played;
      row["under_percent"] = played ? Json(g.under_percent) : Json(nullptr);
      row["over_percent"] = played ? Json(g.over_percent) : Json(nullptr);
      row["goals"] = g.goals;
      if (t.View() == TableView::kGoals)
        row["buckets"] = g.buckets;
      else
        row["average"] =
            played ? JsonFixed(static_cast<double>(g.goals) / g.played, 2) : Json(nullptr);
    } else {
      const tables::Tmuzstva& m = t.Teams()[static_cast<size_t>(r - 1)];
      row["name"] = m.name;
      if (t.View() == TableView::kStandings) {
        row["played"] = m.played;
        row["wins"] = m.wins;
        row["draws"] = m.draws;
        row["losses"] = m.losses;
        row["goals_for"] = m.goals_for;
        row["goals_against"] = m.goals_against;
        row["points"] = m.value;
      } else if (t.View() == TableView::kForm) {
        row["matches"] = m.history_count;
        row["value"] = m.value;
      } else {
        row["value"] = m.value;
      }
    }
    const char* zone = ZoneName(t.RowZone(r));
    row["zone"] = zone ? Json(zone) : Json(nullptr);
    row["highlight"] = t.RowHighlighted(r);
    Json cells = Json::array();
    for (int c = 0; c < t.ColumnCount(); ++c) cells.push_back(t.Cell(c, r));
    row["cells"] = std::move(cells);
    rows.push_back(std::move(row));
  }
  j["rows"] = std::move(rows);
  j["notices"] = t.Notices();
  std::cout << JsonText(j, JsonLayout::kRowsOnLines) << "\n";
}

int RunTable(CliContext& ctx, TableOptions o) {
  const ResultMode mode = ctx.Mode();
  CheckOptions(o, mode);
  const std::optional<int> league = LeagueOption("LEAGUE", o.league);
  std::vector<std::string> pair;
  if (!o.highlight.empty()) {
    std::stringstream ss(o.highlight);
    for (std::string part; std::getline(ss, part, ',');) pair.push_back(part);
    if (pair.size() != 2 || TrimSpaces(pair[0]).empty() || TrimSpaces(pair[1]).empty())
      throw CLI::ValidationError("--highlight", "expects HOME,AWAY (team ids or names)");
  }
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  if (!LoadSeason(p, *league, o.season)) return kExitUsage;

  // The window as its openers set it: the main window without a match (standings or goals
  // together, form, goal form), a match window with its two teams on the home side.
  TableContext context;
  if (!pair.empty()) {
    std::optional<TeamItem> home, away;
    if (int rc = ResolveTeamArguments(p, pair[0], pair[1], home, away); rc != kExitOk) return rc;
    context.match = TableMatch{home->id, away->id};
  }
  const bool match = context.match.has_value();
  if (o.view == "form") {
    context.kind = TableKind::kForm;
  } else if (o.view == "goalform") {
    context.kind = TableKind::kGoalForm;
  } else if (o.view == "goals") {
    context.kind = match ? TableKind::kGoalsHome : TableKind::kGoals;
  } else {
    context.kind = match ? TableKind::kStandingsHome : TableKind::kStandings;
  }
  if (match && (o.view == "form" || o.view == "goalform"))
    std::cerr << "Note: the form tables highlight no teams; --highlight has no effect here\n";

  TForm2 t(p, context);
  t.FormShow();
  if (o.window != 0) t.SelectFormWindow(o.window - 2);
  if (o.view == "elo") {
    t.Button4Click();
  } else if (o.view == "elo-home") {
    t.Button5Click();
  } else if (o.view == "elo-away") {
    t.Button6Click();
  } else if (o.side == "home") {
    t.Button1Click();
  } else if (o.side == "away") {
    t.Button2Click();
  } else {
    t.Button3Click();
  }

  if (ctx.json) {
    PrintJson(t, p);
  } else if (o.csv) {
    PrintCsv(t);
  } else {
    PrintPlain(t);
  }
  t.Close();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

void RegisterTableCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto o = std::make_shared<TableOptions>();
  auto* sub = app.add_subcommand(
      "table", "Show a league table: standings, form, goals, goal form or a rating table");
  sub->add_option("league", o->league, "League id 1-20 or English country name")->required();
  sub->add_option("--season", o->season,
                  "Season label (as the season chooser lists it); default: the active season");
  sub->add_option("--view", o->view,
                  "standings, form, elo, elo-home, elo-away (modes ft/1h/2h); goals, goalform "
                  "(mode uo). Default: standings, or goals with --mode uo")
      ->check(
          CLI::IsMember({"standings", "form", "goals", "goalform", "elo", "elo-home", "elo-away"}));
  sub->add_option("--side", o->side, "home, away or together (default)")
      ->check(CLI::IsMember({"home", "away", "together"}));
  sub->add_option("--window", o->window, "Form window: the last 2, 3, 4 (default) or 5 matches")
      ->check(CLI::Range(2, 5));
  sub->add_option("--highlight", o->highlight,
                  "HOME,AWAY: the teams of a match (ids or names), opened as a match window "
                  "opens the tables");
  auto* json = sub->add_flag("--json", ctx.json, "Print the rows with every counted field as JSON");
  sub->add_flag("--csv", o->csv, "Print the grid's texts separated by ';'")->excludes(json);
  sub->callback([&ctx, &exit_code, o] { exit_code = RunTable(ctx, *o); });
}

}  // namespace morvela
