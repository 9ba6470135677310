// backtest: the tips of past match days, each computed from the matches before its day, scored
// against the real results (hit rates, calibration, probability scores against the bookmaker and
// a naive baseline, flat-stake money), as text tables, JSON or one CSV line per match.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include <unistd.h>

#include "builder/imported_odds.h"
#include "cli/cli_context.h"
#include "cli/json.h"
#include "cli/table_printer.h"
#include "core/atomic_file.h"
#include "core/error.h"
#include "core/folder_lock.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "i18n/message_ids.h"
#include "program/front_end_options.h"
#include "program/startup.h"
#include "tips/backtest.h"
#include "tips/backtest_html.h"
#include "tips/backtest_report.h"
#include "tips/calibration_store.h"

namespace morvela {

namespace {

struct BacktestArgs {
  std::string from, to;
  std::vector<std::string> leagues;
  ValueFilterArguments value;  // PROFIT at least 5 unless given
  std::string csv_path;
  std::string html_path;
  bool report = false;  // the report's figures in --json
  bool store = false;   // keep the calibration in the database
  std::string margin = std::string(MarginMethodName(kDefaultMarginMethod));
};

constexpr int kDefaultValueMin = 5;

const char* ModeName(ResultMode mode) {
  static constexpr const char* kNames[] = {"full time", "first half", "second half",
                                           "under/over 2.5 goals"};
  return kNames[ModeIndex(mode)];
}

// ---- Which odds the data holds ----

// Matches with the bookmaker's outcome odds, by the source those odds have in the real data.
std::array<int, kImportedOddsKinds> CountOddsSources(const std::vector<BacktestMatch>& matches) {
  std::array<int, kImportedOddsKinds> counts{};
  for (const BacktestMatch& m : matches)
    if (m.market) ++counts[static_cast<size_t>(ImportedOddsSource(m.league, m.date))];
  return counts;
}

std::vector<std::string> OddsNotes(const std::vector<BacktestMatch>& matches, ResultMode mode,
                                   const ValueFilter& value) {
  std::vector<std::string> notes;
  const std::array<int, kImportedOddsKinds> sources = CountOddsSources(matches);
  std::string held =
      "Odds: the KURZY prices stored with each match. For a database imported from "
      "the shared real data they are, as its README states:";
  int priced = 0;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!sources[i]) continue;
    held += (priced ? "; " : " ") + std::to_string(sources[i]) + " matches " +
            ImportedOddsSourceText(static_cast<ImportedOdds>(i));
    priced += sources[i];
  }
  notes.push_back(priced ? held + "." : "Odds: none of these matches has the bookmaker's odds.");
  if (mode == ResultMode::kFullTime)
    notes.push_back(
        "Double-chance odds of an imported database are not bookmaker prices: the importer "
        "derives them from the 1X2 odds (1X = 1 / (1/home + 1/draw)), so they carry the 1X2 "
        "margin.");
  notes.push_back(
      "Value bets: every bet type with odds whose PROFIT (the program's percentage "
      "minus the percentage the odds imply) is at least " +
      std::to_string(value.min_profit) +
      (value.odds_min > 0 || !std::isinf(value.odds_max)
           ? " and whose odds pass the filter (" + DescribeValueFilter(value) + ")"
           : "") +
      ", one unit each.");
  return notes;
}

// ---- Text output ----

std::string Fixed(double v, int decimals) {
  if (std::isnan(v)) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string Percent(double rate) {
  return std::isnan(rate) ? "-" : Fixed(rate * 100, 1);
}

std::string GroupName(const BacktestGroup& g) {
  return g.league == 0 ? "All leagues" : LeagueName(g.league, 1);
}

std::vector<size_t> KindsOf(ResultMode mode) {
  if (mode == ResultMode::kUnderOver) return {KindIndex(TipKind::Under), KindIndex(TipKind::Over)};
  return {KindIndex(TipKind::Single), KindIndex(TipKind::DoubleChance),
          KindIndex(TipKind::ThreeWay)};
}

constexpr const char* kKindNames[] = {"Single", "Double chance", "Three-way", "Under", "Over"};

void PrintTips(const std::vector<BacktestGroup>& groups, ResultMode mode) {
  std::cout << "\nTips: won / tips and hit rate %\n";
  TextTable t;
  t.AddColumn("League");
  t.AddColumn("Matches", TextTable::Align::kRight);
  for (size_t k : KindsOf(mode)) {
    t.AddColumn(kKindNames[k], TextTable::Align::kRight);
    t.AddColumn("hit %", TextTable::Align::kRight);
  }
  for (const BacktestGroup& g : groups) {
    std::vector<std::string> row{GroupName(g), std::to_string(g.matches)};
    for (size_t k : KindsOf(mode)) {
      row.push_back(std::to_string(g.kinds[k].won) + " / " + std::to_string(g.kinds[k].tips));
      row.push_back(Percent(g.kinds[k].HitRate()));
    }
    t.AddRow(std::move(row));
  }
  t.Print(std::cout);
}

void PrintCalibration(const std::vector<BacktestGroup>& groups, ResultMode mode) {
  std::cout << "\nCalibration: hit rate % (tips) by tip percentage; "
            << (mode == ResultMode::kUnderOver ? "under and over tips"
                                               : "single and double-chance tips")
            << "\n";
  std::vector<int> buckets;
  for (int b = 0; b < kCalibrationBuckets; ++b)
    if (groups[0].calibration[b].tips) buckets.push_back(b);
  TextTable t;
  t.AddColumn("League");
  for (int b : buckets) {
    t.AddColumn(
        std::to_string(b * 10) +
            (b + 1 < kCalibrationBuckets ? "-" + std::to_string(b * 10 + 9) : std::string("+")),
        TextTable::Align::kRight);
  }
  for (const BacktestGroup& g : groups) {
    std::vector<std::string> row{GroupName(g)};
    for (int b : buckets) {
      const HitRecord& r = g.calibration[b];
      row.push_back(r.tips ? Fixed(r.HitRate() * 100, 0) + " (" + std::to_string(r.tips) + ")"
                           : "");
    }
    t.AddRow(std::move(row));
  }
  t.Print(std::cout);
}

void PrintScores(const std::vector<BacktestGroup>& groups, bool with_odds) {
  if (with_odds) {
    std::cout << "\nProbabilities on the matches with the bookmaker's odds (lower is better): "
                 "tips / bookmaker (margin removed) / naive league frequencies\n";
  } else {
    std::cout << "\nProbabilities on all matches (lower is better): tips / naive league "
                 "frequencies\n";
  }
  TextTable t;
  t.AddColumn("League");
  t.AddColumn("Matches", TextTable::Align::kRight);
  for (const char* score : {"Brier", "RPS", "Log loss"}) {
    t.AddColumn(std::string(score) + " tips", TextTable::Align::kRight);
    if (with_odds) t.AddColumn("bookmaker", TextTable::Align::kRight);
    t.AddColumn("naive", TextTable::Align::kRight);
  }
  for (const BacktestGroup& g : groups) {
    const ForecastScores& tips = with_odds ? g.tips_odds : g.tips_all;
    const ForecastScores& naive = with_odds ? g.naive_odds : g.naive_all;
    std::vector<std::string> row{GroupName(g), std::to_string(tips.matches)};
    auto add = [&](double (ForecastScores::*mean)() const) {
      row.push_back(Fixed((tips.*mean)(), 4));
      if (with_odds) row.push_back(Fixed((g.market_odds.*mean)(), 4));
      row.push_back(Fixed((naive.*mean)(), 4));
    };
    add(&ForecastScores::MeanBrier);
    add(&ForecastScores::MeanRps);
    add(&ForecastScores::MeanLogLoss);
    t.AddRow(std::move(row));
  }
  t.Print(std::cout);
}

// The second opinion beside the tips: every forecaster's scores on the matches with odds, and
// the value bets on single outcomes each of them finds.
void PrintForecasters(const std::vector<BacktestGroup>& groups, MarginMethod margin) {
  std::cout << "\nForecasters on the matches with the bookmaker's odds (lower is better); market: "
               "odds with the margin removed by the "
            << MarginMethodName(margin)
            << " method; model: the goal model; blend: the three pooled\n";
  TextTable t;
  t.AddColumn("League");
  t.AddColumn("Matches", TextTable::Align::kRight);
  for (const char* score : {"RPS", "Log loss"})
    for (size_t f = 0; f < kForecasters; ++f)
      t.AddColumn(f == 0 ? std::string(score) + " tips" : ForecasterKey(Forecaster(f)),
                  TextTable::Align::kRight);
  for (const BacktestGroup& g : groups) {
    std::vector<std::string> row{GroupName(g), std::to_string(g.forecasters[0].matches)};
    for (double (ForecastScores::*mean)() const :
         {&ForecastScores::MeanRps, &ForecastScores::MeanLogLoss})
      for (const ForecastScores& s : g.forecasters) row.push_back(Fixed((s.*mean)(), 4));
    t.AddRow(std::move(row));
  }
  t.Print(std::cout);

  std::cout << "\nValue bets on single outcomes against each forecaster: bets and ROI %\n";
  TextTable v;
  v.AddColumn("League");
  for (size_t f = 0; f < kForecasters; ++f) {
    v.AddColumn(ForecasterKey(Forecaster(f)), TextTable::Align::kRight);
    v.AddColumn("ROI %", TextTable::Align::kRight);
  }
  for (const BacktestGroup& g : groups) {
    std::vector<std::string> row{GroupName(g)};
    for (const BettingRecord& r : g.value_against) {
      row.push_back(std::to_string(r.Bets()));
      row.push_back(Fixed(r.Roi(), 1));
    }
    v.AddRow(std::move(row));
  }
  v.Print(std::cout);
}

void PrintMoney(const std::vector<BacktestGroup>& groups, const std::string& title,
                BettingRecord BacktestGroup::*record) {
  if ((groups[0].*record).Bets() == 0) {
    std::cout << "\n" << title << ": no such bet\n";
    return;
  }
  std::cout << "\n" << title << "\n";
  TextTable t;
  t.AddColumn("League");
  for (const char* c :
       {"Stakes", "Returns", "Profit", "ROI %", "Longest losing run", "Max drawdown"})
    t.AddColumn(c, TextTable::Align::kRight);
  for (const BacktestGroup& g : groups) {
    const BettingRecord& r = g.*record;
    t.AddRow({GroupName(g), Fixed(r.Stakes(), 0), Fixed(r.Returns(), 2), Fixed(r.Profit(), 2),
              Fixed(r.Roi(), 1), std::to_string(r.LongestLosingRun()), Fixed(r.MaxDrawdown(), 2)});
  }
  t.Print(std::cout);
}

// ---- JSON ----

Json JsonHits(const HitRecord& r) {
  return {{"tips", r.tips},
          {"won", r.won},
          {"hit_rate", JsonFixed(r.HitRate(), 6)},
          {"mean_tip_percent", JsonFixed(r.MeanPercent(), 2)}};
}

Json JsonScores(const ForecastScores& s) {
  return {{"matches", s.matches},
          {"brier", JsonFixed(s.MeanBrier(), 6)},
          {"rps", JsonFixed(s.MeanRps(), 6)},
          {"log_loss", JsonFixed(s.MeanLogLoss(), 6)}};
}

Json JsonMoney(const BettingRecord& r) {
  return {{"bets", r.Bets()},
          {"stakes", JsonFixed(r.Stakes(), 2)},
          {"returns", JsonFixed(r.Returns(), 2)},
          {"profit", JsonFixed(r.Profit(), 2)},
          {"roi_percent", JsonFixed(r.Roi(), 4)},
          {"longest_losing_run", r.LongestLosingRun()},
          {"max_drawdown", JsonFixed(r.MaxDrawdown(), 2)}};
}

Json JsonReport(const BacktestReport& r, const ValueFilter& value);

// Each forecaster's scores, the market by every margin method, the five-point reliability
// buckets that hold forecasts, and the value bets against each forecaster.
Json JsonForecasters(const BacktestGroup& g) {
  Json scores = Json::object(), margins = Json::object(), reliability = Json::object(),
       value = Json::object();
  for (size_t f = 0; f < kForecasters; ++f) {
    const char* key = ForecasterKey(Forecaster(f));
    scores[key] = JsonScores(g.forecasters[f]);
    Json buckets = Json::array();
    for (int b = 0; b < kProbabilityBuckets; ++b) {
      const ProbabilityBucket& r = g.reliability[f][static_cast<size_t>(b)];
      if (!r.forecasts) continue;
      buckets.push_back({{"from", b * 5},
                         {"to", b + 1 < kProbabilityBuckets ? b * 5 + 4 : 100},
                         {"forecasts", r.forecasts},
                         {"happened", r.happened},
                         {"mean_probability", JsonFixed(r.MeanProbability(), 4)},
                         {"frequency", JsonFixed(r.Frequency(), 4)}});
    }
    reliability[key] = std::move(buckets);
    value[key] = JsonMoney(g.value_against[f]);
  }
  for (MarginMethod m : kMarginMethods)
    margins[std::string(MarginMethodName(m))] = JsonScores(g.margins[static_cast<size_t>(m)]);
  return {{"scores", std::move(scores)},
          {"margins", std::move(margins)},
          {"reliability", std::move(reliability)},
          {"value_against", std::move(value)}};
}

Json JsonBlends(const std::vector<SeasonBlend>& blends) {
  Json a = Json::array();
  for (const SeasonBlend& b : blends)
    a.push_back({{"season_start", FormatIsoDate(b.season_start)},
                 {"market", JsonFixed(b.weights[0], 4)},
                 {"model", JsonFixed(b.weights[1], 4)},
                 {"tips", JsonFixed(b.weights[2], 4)},
                 {"training_matches", b.training_matches}});
  return a;
}

void PrintJson(const BacktestOptions& o, const ValueFilter& value, const BacktestRun& run,
               const std::vector<BacktestGroup>& groups, double seconds,
               const std::vector<std::string>& notes, const BacktestReport* report) {
  static constexpr const char* kKindKeys[] = {"single", "double_chance", "three_way", "under",
                                              "over"};
  Json j = {{"from", FormatIsoDate(o.from)},    {"to", FormatIsoDate(o.to)},
            {"mode", ModeName(o.result_mode)},  {"value_min", value.min_profit},
            {"matches", run.matches.size()},    {"skipped", run.skipped},
            {"seconds", JsonFixed(seconds, 2)}, {"notes", notes}};
  Json json_groups = Json::array();
  for (const BacktestGroup& g : groups) {
    Json kinds = Json::object();
    for (size_t k : KindsOf(o.result_mode)) kinds[kKindKeys[k]] = JsonHits(g.kinds[k]);
    Json calibration = Json::array();
    for (int b = 0; b < kCalibrationBuckets; ++b)
      calibration.push_back({{"from", b * 10},
                             {"to", b + 1 < kCalibrationBuckets ? b * 10 + 9 : 100},
                             {"record", JsonHits(g.calibration[b])}});
    json_groups.push_back(
        {{"league", g.league ? Json(League(g.league).code) : Json(nullptr)},
         {"name", GroupName(g)},
         {"matches", g.matches},
         {"kinds", std::move(kinds)},
         {"calibration", std::move(calibration)},
         {"scores",
          {{"all", {{"tips", JsonScores(g.tips_all)}, {"naive", JsonScores(g.naive_all)}}},
           {"with_odds",
            {{"tips", JsonScores(g.tips_odds)},
             {"bookmaker", JsonScores(g.market_odds)},
             {"naive", JsonScores(g.naive_odds)},
             {"market", JsonScores(g.forecasters[static_cast<size_t>(Forecaster::kMarket)])},
             {"model", JsonScores(g.forecasters[static_cast<size_t>(Forecaster::kModel)])},
             {"blend", JsonScores(g.forecasters[static_cast<size_t>(Forecaster::kBlend)])}}}}},
         {"forecasters", JsonForecasters(g)},
         {"money", {{"tips", JsonMoney(g.tip_bets)}, {"value", JsonMoney(g.value_bets)}}}});
  }
  j["groups"] = std::move(json_groups);
  j["margin_method"] = std::string(MarginMethodName(run.margin));
  j["blend_weights"] = JsonBlends(run.blends);
  if (report) j["report"] = JsonReport(*report, value);
  std::cout << JsonText(j) + "\n";
}

Json JsonBank(const std::vector<BankPoint>& curve) {
  Json a = Json::array();
  for (const BankPoint& p : curve)
    a.push_back({{"day", FormatIsoDate(p.day)}, {"bank", JsonFixed(p.bank, 2)}, {"bets", p.bets}});
  return a;
}

Json JsonOddsRange(const OddsRange& o) {
  // An open range has no upper end: null rather than infinity.
  return {{"from", JsonFixed(o.from, 2)}, {"to", JsonFixed(o.to, 2)}};
}

Json JsonFilter(const FilterResult& f) {
  return {{"min_profit", f.min_profit},
          {"odds", JsonOddsRange(f.odds)},
          {"money", JsonMoney(f.record)}};
}

// The report's figures: calibration in five-point buckets per tip kind (non-empty buckets only),
// the two bank curves, ROI by odds range and by PROFIT threshold, the grid of filters and the
// best of them.
Json JsonReport(const BacktestReport& r, const ValueFilter& value) {
  Json calibration = Json::object();
  for (int k = 0; k < kCalibrationKinds; ++k) {
    Json buckets = Json::array();
    for (int b = 0; b < kFineBuckets; ++b) {
      const HitRecord& h = r.calibration[static_cast<size_t>(k)][static_cast<size_t>(b)];
      if (!h.tips) continue;
      buckets.push_back(
          {{"from", FineBucketFrom(b)}, {"to", FineBucketTo(b)}, {"record", JsonHits(h)}});
    }
    calibration[CalibrationKindKey(static_cast<CalibrationKind>(k))] = std::move(buckets);
  }
  Json tips_by_odds = Json::array();
  for (size_t i = 0; i < r.tips_by_odds.size(); ++i)
    tips_by_odds.push_back(
        {{"odds", JsonOddsRange(ReportOddsRanges()[i])}, {"money", JsonMoney(r.tips_by_odds[i])}});
  Json value_by_profit = Json::array();
  for (size_t i = 0; i < r.value_by_profit.size(); ++i)
    value_by_profit.push_back(
        {{"min_profit", ReportProfitThresholds()[i]}, {"money", JsonMoney(r.value_by_profit[i])}});
  Json value_grid = Json::array();
  for (const std::vector<FilterResult>& row : r.value_grid)
    for (const FilterResult& f : row) value_grid.push_back(JsonFilter(f));
  return {{"calibration", std::move(calibration)},
          {"value_filter",
           {{"min_profit", value.min_profit},
            {"odds", JsonOddsRange({value.odds_min, value.odds_max})}}},
          {"bank", {{"tips", JsonBank(r.tip_bank)}, {"value", JsonBank(r.value_bank)}}},
          {"tips_by_odds", std::move(tips_by_odds)},
          {"value_by_profit", std::move(value_by_profit)},
          {"value_grid", std::move(value_grid)},
          {"best_filter_min_bets", kMinFilterBets},
          {"best_filter", r.best_filter ? JsonFilter(*r.best_filter) : Json(nullptr)}};
}

// ---- CSV ----

void WriteCsv(const std::string& path, const BacktestRun& run, ResultMode mode) {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw FileError("cannot write " + path);
  out << "date,league,home,away,difference,"
      << (mode == ResultMode::kUnderOver ? "under_percent,over_percent"
                                         : "home_percent,draw_percent,away_percent")
      << ",tip,tip_percent,odds,outcome,won\n";
  for (const BacktestMatch& m : run.matches) {
    out << FormatIsoDate(m.date) << "," << League(m.league).code << "," << CsvField(m.home, ',')
        << "," << CsvField(m.away, ',') << ","
        << (mode == ResultMode::kUnderOver ? "" : std::to_string(m.difference));
    for (int p : m.percents) out << "," << p;
    out << "," << TrimTip(m.tip) << "," << m.tip_percent << "," << (m.odds ? Fixed(*m.odds, 2) : "")
        << "," << (mode == ResultMode::kUnderOver ? "<>" : "102")[m.outcome] << ","
        << (m.won ? 1 : 0) << "\n";
  }
  if (!out) throw FileError("cannot write " + path);
}

// A file the run is to write must have a folder that takes it: a long backtest should not end
// in "cannot write" after its work is done.
void RequireWritableFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec) || ::access(folder.c_str(), W_OK) != 0)
    throw FileError("cannot write " + path);
}

// ---- The command ----

int RunBacktestCommand(CliContext& ctx, const BacktestArgs& a, bool csv_given) {
  const ValueFilter value = MakeValueFilter(a.value, kDefaultValueMin);
  BacktestOptions o;
  o.from = DateOption("--from", a.from);
  o.to = DateOption("--to", a.to);
  if (o.to < o.from) throw CLI::ValidationError("--to", "lies before --from");
  for (const std::string& l : a.leagues) o.leagues.push_back(LeagueOption("--league", l));
  o.result_mode = ctx.Mode();
  const std::optional<MarginMethod> margin = MarginMethodFromName(a.margin);
  if (!margin) throw CLI::ValidationError("--margin", "is not proportional, power or shin");
  o.margin = *margin;
  if (csv_given) RequireWritableFolder(a.csv_path);
  if (!a.html_path.empty()) RequireWritableFolder(a.html_path);
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  o.language = p.messages.Language();

  const auto start = std::chrono::steady_clock::now();
  BacktestRun run;
  {
    WaitScope wait(p.wait, 0, p.messages.Msg(msg::kPleaseWait));
    run = RunBacktest(p.dm.ADOConnection1, o);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (a.store && !run.matches.empty()) {
    FolderLock lock(p.folder, kWriterPatience, "backtest");
    if (!lock.Held()) {
      std::cerr << "Error: " << FolderLock::BusyMessage(p.folder) << "\n";
      return kExitError;
    }
    const int seasons = StoreCalibration(p.dm.ADOConnection1, o.result_mode, run.matches);
    std::cerr << "Stored the calibration of " << seasons << " seasons\n";
    const int blends =
        StoreBlendWeights(p.dm.ADOConnection1, o.result_mode, run.margin, run.blends);
    std::cerr << "Stored the blend's weights of " << blends << " season starts\n";
  }
  RunExit(p, /*pause=*/false);
  if (run.matches.empty()) {
    std::cerr << "No played match to test between " << a.from << " and " << a.to << "\n";
    return kExitNothing;
  }
  const std::vector<BacktestGroup> groups = ScoreBacktest(run.matches, value, o.margin);
  const std::vector<std::string> notes = OddsNotes(run.matches, o.result_mode, value);
  if (csv_given) WriteCsv(a.csv_path, run, o.result_mode);
  std::optional<BacktestReport> report;
  if (!a.html_path.empty() || a.report) report = BuildBacktestReport(run.matches, value);
  if (!a.html_path.empty()) {
    const ReportHeading heading{
        "Backtest " + a.from + " to " + a.to + ", " + ModeName(o.result_mode),
        std::to_string(run.matches.size()) +
            " matches, each tip computed as a tip run on the match's day would have computed "
            "it, from the matches played before that day only.",
        notes};
    if (!WriteFileAtomically(a.html_path, BacktestHtml(heading, *report, groups, value)))
      throw FileError("cannot write " + a.html_path);
    std::cerr << "Wrote " << a.html_path << "\n";
  }

  if (ctx.json) {
    PrintJson(o, value, run, groups, seconds, notes, report ? &*report : nullptr);
    return kExitOk;
  }
  std::cout << "Backtest " << a.from << " to " << a.to << ", " << ModeName(o.result_mode) << ": "
            << run.matches.size() << " matches";
  if (run.skipped) std::cout << " (" << run.skipped << " left out)";
  std::cout << " in " << Fixed(seconds, 1) << " s\n"
            << "Each tip is the one a tip run on the match's day gives, from the matches played "
               "before that day only.\n";
  PrintTips(groups, o.result_mode);
  PrintCalibration(groups, o.result_mode);
  // The table of all matches adds nothing when every match has odds.
  const int priced = groups[0].tips_odds.matches;
  if (priced < groups[0].matches) PrintScores(groups, false);
  if (priced > 0) PrintScores(groups, true);
  if (priced > 0) PrintForecasters(groups, o.margin);
  PrintMoney(groups,
             o.result_mode == ResultMode::kUnderOver
                 ? "Money: one unit on every under/over tip with odds"
                 : "Money: one unit on every single and double-chance tip with odds",
             &BacktestGroup::tip_bets);
  PrintMoney(groups, "Money: one unit on every value bet with " + DescribeValueFilter(value),
             &BacktestGroup::value_bets);
  std::cout << "\n";
  for (const std::string& n : notes) std::cout << n << "\n";
  return kExitOk;
}

}  // namespace

void RegisterBacktestCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto a = std::make_shared<BacktestArgs>();
  auto* sub = app.add_subcommand(
      "backtest",
      "Tip every played match of a date range as a tip run on its day would, from earlier matches "
      "only, and score the tips against the results (the global --mode picks the result mode)");
  sub->add_option("--from", a->from, "First match day (YYYY-MM-DD)")->required();
  sub->add_option("--to", a->to, "Last match day (YYYY-MM-DD)")->required();
  sub->add_option("--league", a->leagues,
                  "Test only this league (id 1-20, country name or code); repeatable");
  AddValueFilterOptions(sub, a->value, "--min-profit,--value-min", " (default 5)");
  sub->add_option("--html", a->html_path,
                  "Write the report (calibration and bank charts, ROI by odds and PROFIT, the "
                  "leagues) as one self-contained HTML file");
  sub->add_flag("--store", a->store,
                "Keep the calibration of the tested seasons in the database (replacing what was "
                "stored for those seasons), for the past hit rate the tips list shows, and the "
                "blend's weights of each season start, for tips value --against blend");
  sub->add_option("--margin", a->margin,
                  "How the market forecaster takes the margin out of the odds: proportional, "
                  "power (default) or shin");
  sub->add_flag("--report", a->report, "Add the report's figures to --json (implied by --html)");
  CLI::Option* csv = sub->add_option("--csv", a->csv_path, "Write one line per match to FILE");
  sub->add_flag("--json", ctx.json, "Print the figures as one JSON object");
  sub->callback(
      [&ctx, &exit_code, a, csv] { exit_code = RunBacktestCommand(ctx, *a, csv->count() > 0); });
}

}  // namespace morvela
