// live: the live tip window's analysis of one pairing at a half-time score, printed as the
// window shows it (or as JSON with the figures by name).
#include <iostream>
#include <memory>
#include <sstream>

#include "analysis/live_window.h"
#include "cli/cli_context.h"
#include "cli/json.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "program/front_end_options.h"
#include "program/startup.h"
#include "rating/competition_teams.h"

namespace morvela {

namespace {

struct LiveOptions {
  PairingArguments pairing;
  std::string ht;    // "H:A"
  std::string odds;  // "O1,O0,O2,O10,O02,O12"
};

constexpr const char* kOutcomeNames[kLiveOddsCount] = {"1", "0", "2", "10", "02", "12"};

// "H:A" with one digit 0-9 on each side.
bool ParseHalfTime(const std::string& text, int& home, int& away) {
  const std::string t(TrimSpaces(text));
  if (t.size() != 3 || t[1] != ':' || t[0] < '0' || t[0] > '9' || t[2] < '0' || t[2] > '9')
    return false;
  home = t[0] - '0';
  away = t[2] - '0';
  return true;
}

// Six decimal numbers 1.00-99.99 separated by commas, with at most two decimals.
bool ParseOdds(const std::string& text, std::array<double, kLiveOddsCount>& odds) {
  std::stringstream in(text);
  std::string part;
  int n = 0;
  while (std::getline(in, part, ',')) {
    part = std::string(TrimSpaces(part));
    if (n >= kLiveOddsCount || part.empty()) return false;
    size_t used = 0;
    double v = 0;
    try {
      v = std::stod(part, &used);
    } catch (const std::exception&) {
      return false;
    }
    const size_t dot = part.find('.');
    if (used != part.size() || (dot != std::string::npos && part.size() - dot - 1 > 2) ||
        v < kMinLiveOdds || v > kMaxLiveOdds)
      return false;
    odds[static_cast<size_t>(n++)] = v;
  }
  return n == kLiveOddsCount;
}

void PrintPlain(const TfLive& w, std::ostream& out) {
  out << w.Caption() << "\n";
  out << w.Label(kBeforeMatch).text << "\n";
  out << w.Captions().home_head << ": " << w.home.Text() << "\n";
  for (int n : {kHomeRating, kHomeVenueRating, kHomeForm, kHomeVenueForm})
    out << "  " << w.Label(n).text << "\n";
  out << w.Captions().guest_head << ": " << w.away.Text() << "\n";
  for (int n : {kAwayRating, kAwayVenueRating, kAwayForm, kAwayVenueForm})
    out << "  " << w.Label(n).text << "\n";
  for (int n : {int{kHeadToHead}, int{kTipLine}, int{kOddsLine}, int{kDifferenceLine},
                int{kAfterHalfTime}, int{kLiveHeadToHead}, int{kLiveTipLine}})
    out << w.Label(n).text << "\n";
  out << w.InPlayLine() << "\n";
  if (!w.LiveTip()) return;
  out << w.Label(kEnterOdds).text;
  for (int i = 0; i < kLiveOddsCount; ++i)
    out << " " << kOutcomeNames[i] << "=" << FormatOdds(w.Odds(i));
  out << "\n" << w.Label(kDifferencesHead).text;
  for (int i = 0; i < kLiveOddsCount; ++i)
    out << " " << kOutcomeNames[i] << "=" << w.Label(kFirstLiveDifference + i).text;
  out << "\n";
}

void PrintJson(const TfLive& w, std::ostream& out) {
  const PredictionState& pre = w.PreMatch();
  const PredictionState& live = w.Live();
  const PairingFigures& f = w.Pairing();
  Json j = {{"Caption", w.Caption()},
            {"Home", {{"id", w.home.Selected()->id}, {"name", w.home.Text()}}},
            {"Away", {{"id", w.away.Selected()->id}, {"name", w.away.Text()}}},
            {"HalfTime", std::to_string(w.HalfTimeHome()) + ":" + std::to_string(w.HalfTimeAway())},
            {"D0", w.D0()},
            {"D1", w.D1()},
            {"D2", w.D2()},
            {"HomePercent", pre.HomePercent},
            {"DrawPercent", pre.DrawPercent},
            {"AwayPercent", pre.AwayPercent},
            {"Tip", pre.Tip},
            {"HeadToHead", {{"wins", f.wins}, {"draws", f.draws}, {"losses", f.losses}}},
            {"OddsLine", w.OddsLine()},
            {"DifferenceLine", w.DifferenceLine()},
            {"LiveTip", w.LiveTip()},
            {"LiveHomePercent", live.HomePercent},
            {"LiveDrawPercent", live.DrawPercent},
            {"LiveAwayPercent", live.AwayPercent},
            {"LiveTipText", w.LiveTip() ? live.Tip : std::string()},
            {"LiveHeadToHead",
             {{"wins", w.LiveWins()}, {"draws", w.LiveDraws()}, {"losses", w.LiveLosses()}}}};
  Json& odds = j["LiveOdds"] = Json::array();
  for (int i = 0; i < kLiveOddsCount; ++i) odds.push_back(JsonDecimal(w.Odds(i)));
  Json& differences = j["LiveDifferences"] = nullptr;
  if (w.LiveTip()) {
    differences = Json::array();
    for (int i = 0; i < kLiveOddsCount; ++i)
      differences.push_back(JsonInteger(w.Label(kFirstLiveDifference + i).text));
  }
  Json& labels = j["Labels"] = Json::object();
  for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19})
    labels["Label" + std::to_string(n)] = w.Label(n).text;
  // The goal model's chances of the final result from the half-time score.
  Json& model = j["Model"] = nullptr;
  if (const std::optional<ModelForecast>& f = w.SecondOpinionFigures().model) {
    Json outcomes = Json::array(), goals = Json::array();
    for (double p : f->FullTimeFromHalfTime(w.HalfTimeHome(), w.HalfTimeAway()))
      outcomes.push_back(JsonFixed(p, 4));
    for (double p : f->UnderOverFromHalfTime(w.HalfTimeHome(), w.HalfTimeAway()))
      goals.push_back(JsonFixed(p, 4));
    model = {{"home_draw_away", std::move(outcomes)}, {"under_over", std::move(goals)}};
  }
  out << JsonText(j) << "\n";
}

int RunLive(CliContext& ctx, const LiveOptions& o) {
  int hh = 0, ha = 0;
  if (!ParseHalfTime(o.ht, hh, ha))
    throw CLI::ValidationError(
        "--ht", "expects a half-time score H:A with 0-9 goals each, got '" + o.ht + "'");
  std::array<double, kLiveOddsCount> odds{};
  odds.fill(kMinLiveOdds);
  if (!o.odds.empty() && !ParseOdds(o.odds, odds))
    throw CLI::ValidationError("--odds",
                               "expects six odds O1,O0,O2,O10,O02,O12, each 1.00-99.99 with at "
                               "most two decimals, got '" +
                                   o.odds + "'");
  std::optional<TeamItem> home, away;
  if (int status = OpenPairing(ctx, o.pairing, home, away); status != kExitOk) return status;
  Program& p = *ctx.program;

  TfLive window(p);
  window.Open();
  window.home.items = {*home};
  window.home.index = 0;
  window.away.items = {*away};
  window.away.index = 0;
  // A terminal has no window to move.
  p.WindowRaised = true;
  window.FormShow();
  window.SetHalfTime(hh, ha);
  if (!window.ZobrazOkno()) return kExitError;  // the reason is on stderr
  for (int i = 0; i < kLiveOddsCount; ++i) window.SetOdds(i, odds[static_cast<size_t>(i)]);
  if (ctx.json) {
    PrintJson(window, std::cout);
  } else {
    PrintPlain(window, std::cout);
  }
  window.Closed();
  RunExit(p, /*pause=*/false);
  return kExitOk;
}

}  // namespace

void RegisterLiveCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto o = std::make_shared<LiveOptions>();
  auto* live = app.add_subcommand(
      "live", "Live tip for a pairing at its half-time score, as the live tip window gives it");
  AddPairingArguments(live, o->pairing);
  live->add_option("--ht", o->ht, "Half-time score H:A (0-9 goals each)")->required();
  live->add_option("--odds", o->odds,
                   "In-play odds O1,O0,O2,O10,O02,O12 (1.00-99.99 each; default 1.00)");
  live->add_flag("--json", ctx.json, "Print one JSON object with the figures by name");
  live->callback([&ctx, &exit_code, o] { exit_code = RunLive(ctx, *o); });
}

}  // namespace morvela
