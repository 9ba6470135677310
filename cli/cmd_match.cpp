// match: the match tip window's analysis of one pairing, printed as the window shows it (or as
// JSON with the figures by name).
#include <iostream>
#include <memory>
#include <sstream>

#include "analysis/match_window.h"
#include "cli/cli_context.h"
#include "cli/json.h"
#include "cli/table_printer.h"
#include "core/helpers.h"
#include "i18n/leagues.h"
#include "program/front_end_options.h"
#include "program/startup.h"
#include "rating/competition_teams.h"

namespace morvela {

namespace {

struct MatchOptions {
  PairingArguments pairing;
  std::string date;  // YYYY-MM-DD
};

std::string Number(double v) {
  return FormatSqlNumber(v);
}

std::string Colour(ScreenColour c) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s = "#";
  for (uint8_t v : {c.r, c.g, c.b}) {
    s += kHex[v >> 4];
    s += kHex[v & 15];
  }
  return s;
}

// The window's figure labels in the order of its blocks: home (6, 8, 10, 13), away (7, 9, 11,
// 14).
constexpr int kHomeBlock[4] = {kHomeRating, kHomeVenueRating, kHomeForm, kHomeVenueForm};
constexpr int kAwayBlock[4] = {kAwayRating, kAwayVenueRating, kAwayForm, kAwayVenueForm};

void PrintChart(const TForm5& w, std::ostream& out) {
  const bool uo = w.Mode() == ResultMode::kUnderOver;
  TextTable table;
  table.AddColumn("Match", TextTable::Align::kRight);
  std::vector<int> shown = {kHomeLine, kAwayLine};
  if (uo) shown.push_back(kGoalLine);
  size_t rows = 0;
  for (int s : shown) {
    table.AddColumn(s == kGoalLine ? "Line" : w.Series(s).title, TextTable::Align::kRight);
    rows = std::max(rows, w.Series(s).points.size());
  }
  for (size_t k = 0; k < rows; ++k) {
    std::vector<std::string> cells{std::to_string(k)};
    for (int s : shown) {
      const auto& points = w.Series(s).points;
      cells.push_back(k < points.size() ? (uo ? FormatOdds(points[k].y) : Number(points[k].y))
                                        : "");
    }
    table.AddRow(std::move(cells));
  }
  table.Print(out);
}

void PrintPlain(const TForm5& w, std::ostream& out) {
  out << w.Caption() << "\n";
  out << w.Captions().home_head << ": " << w.home.Text() << "\n";
  for (int n : kHomeBlock) out << "  " << w.Label(n).text << "\n";
  out << w.Captions().guest_head << ": " << w.away.Text() << "\n";
  for (int n : kAwayBlock) out << "  " << w.Label(n).text << "\n";
  for (int n : {kHeadToHead, kTipLine, kOddsLine, kDifferenceLine}) out << w.Label(n).text << "\n";
  if (w.BetVisible()) out << w.BetCaption() << ": " << w.BetLink() << "\n";
  out << "\n";
  PrintChart(w, out);
  // The second opinion comes last, so that the lines before it stand where scripts found them.
  out << "\n";
  for (const std::string& line : w.SecondOpinionLines()) out << line << "\n";
}

template <size_t N>
Json Array(const std::array<uint16_t, N>& values, int count) {
  Json a = Json::array();
  for (int k = 0; k <= count; ++k) a.push_back(values[k]);
  return a;
}

template <size_t N>
Json GoalArray(const std::array<uint8_t, N>& values, int count) {
  Json a = Json::array();
  for (int k = 1; k <= count; ++k) a.push_back(values[k]);
  return a;
}

// The goal model's and the market's figures by name; null where a figure is missing.
Json JsonProbabilities(const std::optional<std::vector<double>>& p) {
  if (!p) return nullptr;
  Json a = Json::array();
  for (double v : *p) a.push_back(JsonFixed(v, 4));
  return a;
}

Json JsonSecondOpinion(const SecondOpinion& s) {
  Json model = nullptr;
  if (s.model) {
    const ModelForecast& f = *s.model;
    Json scores = Json::array();
    for (const ScoreMatrix::Score& sc : f.likely_scores)
      scores.push_back(
          {{"home", sc.home}, {"away", sc.away}, {"probability", JsonFixed(sc.probability, 4)}});
    model = {{"expected_goals_home", JsonFixed(f.home_rate, 3)},
             {"expected_goals_away", JsonFixed(f.away_rate, 3)},
             {"home_draw_away",
              JsonProbabilities(std::vector<double>(f.full_time.begin(), f.full_time.end()))},
             {"under_over",
              JsonProbabilities(std::vector<double>(f.under_over.begin(), f.under_over.end()))},
             {"likely_scores", std::move(scores)}};
  }
  return {{"model", std::move(model)},
          {"market",
           {{"margin_method", std::string(MarginMethodName(kDefaultMarginMethod))},
            {"home_draw_away", JsonProbabilities(s.market_outcomes)},
            {"under_over", JsonProbabilities(s.market_under_over)}}}};
}

void PrintJson(const TForm5& w, const Program& p, std::ostream& out) {
  const PredictionState& s = p.prediction;
  const bool uo = w.Mode() == ResultMode::kUnderOver;
  Json j = {{"Mode", std::string(ResultModeCode(w.Mode()))},
            {"Caption", w.Caption()},
            {"ReferenceDate", FormatIsoDate(w.Reference())}};
  auto team = [&](const char* key, const TeamItem* item, int slot, bool is_home) {
    Json t = {{"id", item->id}, {"name", item->name}, {"slot", slot}};
    if (!uo) {
      const analysis::Tmuzstva& m = w.Teams()[slot];
      t["rating"] = m.rating;
      t["rating_home"] = m.rating_home;
      t["rating_away"] = m.rating_away;
      t["history"] = Array(m.history, m.history_count);
      t["history_home"] = Array(m.history_home, m.history_home_count);
      t["history_away"] = Array(m.history_away, m.history_away_count);
    } else {
      const analysis::TGoly& g = w.GoalSlots()[slot];
      t["average"] = JsonDecimal(g.average);
      t["average_home"] = JsonDecimal(g.average_home);
      t["average_away"] = JsonDecimal(g.average_away);
      t["goals"] = GoalArray(g.goals, g.goals_count);
      if (is_home)
        t["goals_home"] = GoalArray(g.goals_home, g.goals_home_count);
      else
        t["goals_away"] = GoalArray(g.goals_away, g.goals_away_count);
    }
    j[key] = std::move(t);
  };
  if (!uo) {
    const PairingFigures& f = w.Pairing();
    team("Home", w.home.Selected(), f.h, true);
    team("Away", w.away.Selected(), f.a, false);
    j["Forms"] = {{"home", f.form_h},
                  {"away", f.form_a},
                  {"home_at_home", f.home_form_h},
                  {"away_away", f.away_form_a}};
    j["DifferenceBeforeMeetings"] = f.difference;
    j["AdjustedDifference"] = f.adjusted;
    j["Meetings"] = f.meetings;
    j["HeadToHead"] = {{"wins", f.wins}, {"draws", f.draws}, {"losses", f.losses}};
  } else {
    const GoalFigures& g = w.Goals();
    team("Home", w.home.Selected(), g.h, true);
    team("Away", w.away.Selected(), g.a, false);
    j["Goals"] = {{"average_home_team", JsonDecimal(g.average_h)},
                  {"average_away_team", JsonDecimal(g.average_a)},
                  {"home_average_home_team", JsonDecimal(g.average_home_h)},
                  {"away_average_away_team", JsonDecimal(g.average_away_a)},
                  {"form_home_team", JsonDecimal(g.form_h)},
                  {"form_away_team", JsonDecimal(g.form_a)},
                  {"home_form_home_team", JsonDecimal(g.home_form_h)},
                  {"away_form_away_team", JsonDecimal(g.away_form_a)},
                  {"E_h", JsonDecimal(g.expected_h)},
                  {"E_a", JsonDecimal(g.expected_a)},
                  {"X", JsonDecimal(g.meetings_goals)},
                  {"meetings_any_venue", g.meetings_any},
                  {"meetings_this_venue", g.meetings_same}};
    j["ExpectedGoals"] = JsonDecimal(g.lambda);
    j["UnderPercent"] = g.under;
    j["HeadToHead"] = {{"under", g.under_count}, {"over", g.over_count}};
  }
  j["HomePercent"] = s.HomePercent;
  if (!uo) j["DrawPercent"] = s.DrawPercent;
  j["AwayPercent"] = s.AwayPercent;
  j["Tip"] = s.Tip;
  if (!uo) j["LikelyScore"] = s.LikelyScore;
  j["TipLine"] = w.Label(kTipLine).text;
  j["OddsLine"] = w.OddsLine();
  j["DifferenceLine"] = w.DifferenceLine();
  j["BetEventId"] = w.BetEventId();
  j["BetAddress"] = w.BetLink();
  Json labels = Json::object();
  for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
    labels["Label" + std::to_string(n)] = w.Label(n).text;
  j["Labels"] = std::move(labels);
  Json chart = Json::array();
  for (int n : {kHomeLine, kAwayLine, kGoalLine}) {
    const ChartSeries& c = w.Series(n);
    if (!c.active) continue;
    Json points = Json::array();
    for (const ChartPoint& point : c.points)
      points.push_back(Json::array({JsonDecimal(point.x), JsonDecimal(point.y)}));
    chart.push_back({{"title", c.title},
                     {"color", Colour(c.color)},
                     {"width", c.width},
                     {"legend", c.in_legend},
                     {"points", std::move(points)}});
  }
  j["Chart"] = std::move(chart);
  j["SecondOpinion"] = JsonSecondOpinion(w.SecondOpinionFigures());
  out << JsonText(j) << "\n";
}

int RunMatch(CliContext& ctx, const MatchOptions& o) {
  std::optional<Date> date;
  if (!o.date.empty()) {
    date = ParseIsoDate(o.date);
    if (!date) throw CLI::ValidationError("--date", "expects YYYY-MM-DD, got '" + o.date + "'");
  }
  std::optional<TeamItem> home, away;
  if (int status = OpenPairing(ctx, o.pairing, home, away); status != kExitOk) return status;
  Program& p = *ctx.program;

  TForm5 window(p);
  window.PresetTeams(*home, *away);
  window.SetReferenceDate(date);
  // A terminal has no window to move.
  p.WindowRaised = true;
  window.FormShow();
  if (!window.ZobrazOkno()) return kExitError;  // the reason is on stderr
  if (ctx.json) {
    PrintJson(window, p, std::cout);
  } else {
    PrintPlain(window, std::cout);
  }
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

int ResolveTeamArguments(Program& p, const std::string& home_text, const std::string& away_text,
                         std::optional<TeamItem>& home, std::optional<TeamItem>& away) {
  const std::vector<TeamItem> teams =
      CompetitionTeams(p.dm.ADOConnection1, p.selection.competition, p.messages.Language());
  for (auto [name, text, out] :
       {std::tuple{"HOME", &home_text, &home}, std::tuple{"AWAY", &away_text, &away}}) {
    TeamLookup found = ResolveTeam(teams, *text);
    if (!found.team) {
      std::cerr << "Error: " << name << ": " << found.error << "\n";
      return kExitUsage;
    }
    *out = found.team;
  }
  return kExitOk;
}

void RegisterMatchCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto o = std::make_shared<MatchOptions>();
  auto* match = app.add_subcommand(
      "match", "Analyse one pairing as the match tip window does (honours --mode and --lang)");
  AddPairingArguments(match, o->pairing);
  match->add_option("--date", o->date,
                    "Reference date YYYY-MM-DD (head-to-head cut-off), as a tip of that day "
                    "would open the window; default: today");
  match->add_flag("--json", ctx.json, "Print one JSON object with the figures by name");
  match->callback([&ctx, &exit_code, o] { exit_code = RunMatch(ctx, *o); });
}

}  // namespace morvela
