// The tips commands: the today, week, league and value-tip runs, each printing the tips list as
// the list window shows it (or as JSON), optionally re-sorted and exported to CSV.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>

#include "cli/cli_context.h"
#include "cli/json.h"
#include "cli/table_printer.h"
#include "core/helpers.h"
#include "core/text.h"
#include "i18n/leagues.h"
#include "program/front_end_options.h"
#include "program/selection.h"
#include "program/startup.h"
#include "tips/tip_runs.h"
#include "tips/tip_second_opinion.h"
#include "tips/tips_list.h"
#include "tips/value_tips.h"

namespace morvela {

namespace {

enum class TipsRun { kToday, kWeek, kLeague, kValue };

struct TipsOptions {
  std::vector<std::string> sort;  // title clicks, in order
  std::string csv_path;           // empty: Export/<ExportName>.csv
  CLI::Option* csv = nullptr;     // given at all?
  std::string league;
  std::string season;
  bool stats = false;
  bool with_past = false;        // the past hit rate in the CSV export
  bool second_opinion = false;   // the Model % and Market % columns in the table and CSV
  ValueFilterArguments value;    // tips value only
  std::string against = "tips";  // tips value only: whose percentages value is measured with
};

void PrintTable(TipsList& list) {
  std::cout << list.Caption() << "\n";
  TextTable table;
  for (const TipsColumn& c : list.Columns())
    table.AddColumn(std::string(TrimSpaces(c.title)), c.align == CellAlign::kLeft
                                                          ? TextTable::Align::kLeft
                                                          : TextTable::Align::kRight);
  for (int r = 0; r < list.RowCount(); ++r) {
    std::vector<std::string> cells;
    for (const TipsColumn& c : list.Columns())
      cells.push_back(std::string(TrimSpaces(list.DisplayText(r, c.field))));
    table.AddRow(std::move(cells));
  }
  table.Print(std::cout);
}

Json JsonValue(const std::string& name, const Field& f) {
  if (f.IsNull()) return nullptr;
  if (name == "DATUM") {
    auto d = f.AsDate();
    return d ? Json(FormatIsoDate(*d)) : Json(nullptr);
  }
  if (name == "LIGA") {
    std::string text = f.AsString();
    if (text.rfind("  ", 0) == 0) text.erase(0, 2);  // the room left for the flag
    return text;
  }
  if (name == "TIP" || name == "DOMACI" || name == "HOSTIA") return f.AsString();
  if (f.Kind() == ColumnKind::kDecimal) return JsonDecimal(f.AsFloat());
  return f.AsInteger();
}

// With `past` (the database keeps a calibration) every row also gets "PAST %" and "PAST N", the
// past hit rate of tips like it and their number (null without a record). Every row gets the
// second opinion of its tip: "MODEL %" and "MARKET %" (null where there is none).
void PrintJson(TipsList& list, bool past) {
  Json rows = Json::array();
  for (int r = 0; r < list.RowCount(); ++r) {
    Json row = Json::object();
    for (const std::string& name : list.FieldNames())
      row[name] = JsonValue(name, list.Value(r, name));
    const TipSecondOpinions::Figures& f = list.SecondOpinion(r);
    row["MODEL %"] = f.model_percent ? Json(*f.model_percent) : Json(nullptr);
    row["MARKET %"] = f.market_percent ? Json(*f.market_percent) : Json(nullptr);
    if (past) {
      const std::optional<PastRecord> record = list.Past(r);
      row["PAST %"] = record ? Json(record->Percent()) : Json(nullptr);
      row["PAST N"] = record ? Json(record->tips) : Json(nullptr);
    }
    rows.push_back(std::move(row));
  }
  std::cout << JsonText(rows, JsonLayout::kRowsOnLines) << "\n";
}

// The list window as the terminal shows it: the title clicks of --sort, the export of --csv,
// then the table or JSON.
class PrintedTipsList : public TipsListView {
 public:
  PrintedTipsList(CliContext& ctx, const TipsOptions& o) : ctx_(ctx), o_(o) {}

  void ShowTipsList(Program& p) override {
    TipsList list(p);
    list.Show();
    list.ShowSecondOpinion(o_.second_opinion);
    for (const std::string& column : o_.sort) list.TitleClick(column);
    if (o_.csv && o_.csv->count() > 0) {
      if (!o_.csv_path.empty()) ctx_.ui.save_path = o_.csv_path;
      if (auto written = list.ExportToCSV(list.ExportName() + ".csv", o_.with_past))
        std::cerr << "Wrote " << *written << "\n";
    }
    if (ctx_.json) {
      PrintJson(list, HasCalibration(p.dm.ADOConnection1, p.selection.result_mode));
    } else {
      PrintTable(list);
    }
    list.Close();
  }

 private:
  CliContext& ctx_;
  const TipsOptions& o_;
};

void CheckSortColumns(const TipsOptions& o, ResultMode result_mode) {
  const std::vector<TipsColumn> columns = TipsListColumns(result_mode, Messages());
  std::string known;
  for (const TipsColumn& c : columns) known += (known.empty() ? "" : ", ") + c.field;
  for (const std::string& s : o.sort) {
    if (std::none_of(columns.begin(), columns.end(),
                     [&s](const TipsColumn& c) { return c.field == s; }))
      throw CLI::ValidationError("--sort", "unknown column '" + s + "' (one of " + known + ")");
  }
}

ValueAgainst AgainstOf(const std::string& name) {
  if (name == "model") return ValueAgainst::kModel;
  if (name == "market") return ValueAgainst::kMarket;
  if (name == "blend") return ValueAgainst::kBlend;
  return ValueAgainst::kTips;
}

int RunTips(CliContext& ctx, TipsRun run, const TipsOptions& o) {
  CheckSortColumns(o, ctx.Mode());
  const ValueFilter value = MakeValueFilter(o.value, std::nullopt);
  std::optional<int> league;
  if (run == TipsRun::kLeague) {
    league = LeagueOption("LEAGUE", o.league);
  }
  if (auto rc = ctx.OpenProgram()) return *rc;
  Program& p = *ctx.program;
  PrintedTipsList view(ctx, o);
  const auto started = std::chrono::steady_clock::now();
  const uint64_t statements_before = p.dm.ADOConnection1.Stats().statements;
  bool filled = false;
  switch (run) {
    case TipsRun::kToday:
      filled = RunTodayTips(p, view);
      break;
    case TipsRun::kWeek:
      filled = RunWeekTips(p, view);
      break;
    case TipsRun::kValue:
      filled = RunValueTips(p, view, value, AgainstOf(o.against));
      break;
    case TipsRun::kLeague:
      if (!LoadSeason(p, *league, o.season)) return kExitError;
      filled = RunLeagueTips(p, view);
      break;
  }
  if (o.stats) {
    Query q(p.dm.ADOConnection1);
    q.Open("SELECT COUNT(*) AS N FROM TIPY");
    std::cerr << "Statistics: " << q.FieldByName("N").AsInteger() << " tips stored, "
              << (p.dm.ADOConnection1.Stats().statements - statements_before) << " statements, "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()
              << " s (list printing included)\n";
  }
  RunExit(p, /*pause=*/false);
  return filled ? kExitOk : kExitNothing;
}

void AddTipsRun(CLI::App& tips, CliContext& ctx, int& exit_code, TipsRun run, const char* name,
                const char* description) {
  auto o = std::make_shared<TipsOptions>();
  auto* sub = tips.add_subcommand(name, description);
  if (run == TipsRun::kLeague) {
    sub->add_option("league", o->league, "League id 1-20 or English country name")->required();
    sub->add_option("--season", o->season,
                    "Season label (as the season chooser lists it); default: the active season");
  }
  if (run == TipsRun::kValue) {
    AddValueFilterOptions(sub, o->value, "--min-profit", "");
    sub->add_option("--against", o->against,
                    "Measure value with the program's percentages (tips, the default), the goal "
                    "model's (model), the market's without its margin (market), or the blend of "
                    "the three (blend: weights stored by the last backtest --store for an earlier "
                    "season start, learnt on at least 200 matches; without them the market "
                    "alone)")
        ->check(CLI::IsMember({"tips", "model", "market", "blend"}));
  }
  sub->add_option("--sort", o->sort,
                  "Click this column title (DATUM, LIGA, DOMACI, HOSTIA, TIP1, TIPX, TIP2, TIP, "
                  "PERC, KURZ, PROFIT); repeatable, applied in order");
  o->csv = sub->add_option("--csv", o->csv_path,
                           "Export the list as CSV (default file: Export/<export name>.csv)")
               ->expected(0, 1);
  sub->add_flag("--with-past", o->with_past,
                "Add the past hit rate of tips like each one (PAST %, PAST N) to the CSV export");
  sub->add_flag("--second-opinion", o->second_opinion,
                "Add the columns Model % and Market % (the goal model's and the market's "
                "percentage for the tip) to the table and the CSV export; --json always has them");
  sub->add_flag("--json", ctx.json, "Print the list as a JSON array");
  sub->add_flag("--stats", o->stats, "Print the run's statement count and time on stderr");
  sub->callback([&ctx, &exit_code, run, o] { exit_code = RunTips(ctx, run, *o); });
}

}  // namespace

void RegisterTipsCommands(CLI::App& app, CliContext& ctx, int& exit_code) {
  auto* tips = app.add_subcommand("tips", "Run a tip run and print the tips list");
  tips->require_subcommand(1);
  AddTipsRun(*tips, ctx, exit_code, TipsRun::kToday, "today", "Tips for today's fixtures");
  AddTipsRun(*tips, ctx, exit_code, TipsRun::kWeek, "week",
             "Tips for the fixtures up to the coming Monday");
  AddTipsRun(*tips, ctx, exit_code, TipsRun::kLeague, "league",
             "Tips for a league's season over the next Dni days");
  AddTipsRun(*tips, ctx, exit_code, TipsRun::kValue, "value",
             "Every priced bet of the coming fixtures with its margin against the odds");
}

}  // namespace morvela
