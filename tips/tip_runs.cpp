#include "tips/tip_runs.h"

#include "core/helpers.h"
#include "i18n/message_ids.h"
#include "predict/outcome_search.h"
#include "predict/tip_selection.h"
#include "program/program.h"

namespace morvela {

namespace {

constexpr const char* kFixtureSelect =
    "SELECT VYSLEDKY.*,SUTAZ.ID_LIGA FROM VYSLEDKY, SUTAZ WHERE VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND ";

std::string TodayFixturesSql(const Date& today) {
  return std::string(kFixtureSelect) + "DATUM=" + FormatSqlDate(today) + " AND VYSLEDOK IS NULL";
}

std::string WeekFixturesSql(const Date& today) {
  return std::string(kFixtureSelect) + "DATUM>=" + FormatSqlDate(today) +
         " AND DATUM<=" + FormatSqlDate(WeekRunEnd(today)) + " AND VYSLEDOK IS NULL";
}

std::string LeagueFixturesSql(const Date& today, int dni, const std::string& competition) {
  return std::string(kFixtureSelect) + "DATUM>=" + FormatSqlDate(today) +
         " AND DATUM<=" + FormatSqlDate(LeagueRunEnd(today, dni)) +
         "  AND VYSLEDKY.ID_SUTAZ=" + competition + " AND VYSLEDOK IS NULL";
}

// The odds of the fixture's KURZY row for the tip; none unless exactly one row exists and the
// tip has an odds column.
std::optional<double> LookUpOdds(Program& p, int64_t fixture_id, const std::string& tip) {
  const std::string column = OddsColumn(p.selection.result_mode, tip);
  if (column.empty()) return std::nullopt;
  Query odds(p.dm.ADOConnection1);
  odds.Open("SELECT * FROM KURZY WHERE ID=" + std::to_string(fixture_id));
  if (odds.RecordCount() != 1) return std::nullopt;
  return OddsValue(odds.FieldByName(column));
}

bool IsThreeWay(const std::string& tip) {
  return TrimTip(tip).size() >= 3;
}

// Whether the run stores the tip the prediction state holds. The today run raises its best
// tip percentage with every kept tip.
bool KeepTip(Program& p, TipRun kind) {
  const PredictionState& s = p.prediction;
  if (kind == TipRun::kToday) {
    if (s.TipPercent < p.tip_run.BestTipPercent || IsThreeWay(s.Tip)) return false;
    p.tip_run.BestTipPercent = s.TipPercent;
    return true;
  }
  return p.settings.Tip3 || !IsThreeWay(s.Tip);
}

// The common walk of the three period runs over the fixtures of `sql`.
bool RunPeriod(Program& p, TipsListView& view, TipRun kind, const std::string& sql,
               MessageId no_fixture_message) {
  Query& fixtures = p.dm.Work2;
  fixtures.Open(sql);
  if (fixtures.Eof()) {
    p.ui.ShowMessage(MessageKind::kWarning, p.messages.Msg(no_fixture_message));
    return false;
  }
  {
    WaitScope wait(p.wait, 0, p.messages.Msg(msg::kPleaseWait));
    p.dm.Command1.Execute("DELETE * FROM TIPY");
    p.tip_run.TipRunKind = kind;
    if (kind == TipRun::kToday) p.tip_run.BestTipPercent = 0;
    const ResultMode mode = p.selection.result_mode;
    for (fixtures.First(); !fixtures.Eof(); fixtures.Next()) {
      if (mode == ResultMode::kUnderOver) {
        SelectUnderOverTip(p.prediction,
                           static_cast<int>(fixtures.FieldByName("UNDER").AsInteger()));
      } else {
        SearchFixture(p, fixtures);
        SelectTip(p.prediction);
      }
      if (!KeepTip(p, kind)) continue;
      const PredictionState& s = p.prediction;
      TipRow row = FixtureTipRow(fixtures, "ID");
      row.odds = LookUpOdds(p, row.id, s.Tip);
      row.profit = TipProfit(s.TipPercent, row.odds);
      row.tip1 = s.HomePercent;
      row.tipx = s.DrawPercent;
      row.tip2 = s.AwayPercent;
      row.tip = s.Tip;
      row.perc = s.TipPercent;
      InsertTipRow(p.dm, mode, row);
    }
  }
  view.ShowTipsList(p);
  return true;
}

}  // namespace

Date WeekRunEnd(const Date& today) {
  const int weekday = WeekdayMondayFirst(today);
  return AddDays(today, weekday == 0 ? 0 : 7 - weekday);
}

Date LeagueRunEnd(const Date& today, int dni) {
  return AddDays(today, dni);
}

bool RunTodayTips(Program& p, TipsListView& view) {
  return RunPeriod(p, view, TipRun::kToday, TodayFixturesSql(p.today), msg::kNoMatchesToday);
}

bool RunWeekTips(Program& p, TipsListView& view) {
  return RunPeriod(p, view, TipRun::kWeek, WeekFixturesSql(p.today), msg::kNoMatchesThisWeek);
}

bool RunLeagueTips(Program& p, TipsListView& view) {
  return RunPeriod(p, view, TipRun::kLeague,
                   LeagueFixturesSql(p.today, p.settings.Dni, p.selection.competition),
                   msg::kNoMatchesInLeague);
}

std::string OddsColumn(ResultMode result_mode, std::string_view tip) {
  const std::string t = TrimTip(tip);
  if (result_mode == ResultMode::kUnderOver) {
    if (t == "<") return "UNDER";
    if (t == ">") return "OVER";
    return "";
  }
  const char* suffix = nullptr;
  if (t == "1") suffix = "1";
  if (t == "0") suffix = "X";
  if (t == "2") suffix = "2";
  if (t == "10" || t == "01") suffix = "1X";
  if (t == "20" || t == "02") suffix = "X2";
  if (t == "12" || t == "21") suffix = "12";
  if (!suffix) return "";
  static constexpr const char* kPrefix[] = {"", "HT_", "SHT_"};
  return std::string(kPrefix[ModeIndex(result_mode)]) + "KURZ" + suffix;
}

std::optional<double> OddsValue(const Field& cell) {
  const std::optional<double> v = ParseDecimalText(cell.AsString());
  if (!v || !(*v > 0)) return std::nullopt;
  return v;
}

int TipProfit(int tip_percent, std::optional<double> odds) {
  return odds ? tip_percent - ImpliedPercent(*odds) : 0;
}

TipRow FixtureTipRow(const Query& fixture, std::string_view id_column) {
  TipRow row;
  row.id = fixture.FieldByName(id_column).AsInteger();
  row.league = fixture.FieldByName("ID_LIGA").AsInteger();
  row.date_text = fixture.FieldByName("DATUM").AsString();
  row.home = fixture.FieldByName("HOME").AsInteger();
  row.away = fixture.FieldByName("AWAY").AsInteger();
  return row;
}

void InsertTipRow(Tdm& dm, ResultMode result_mode, const TipRow& row) {
  auto n = [](int64_t v) { return std::to_string(v); };
  std::string sql = result_mode == ResultMode::kUnderOver
                        ? "INSERT INTO TIPY (ID,ID_LIGA,DATUM,HOME,AWAY,TIP1,TIP2,TIP,KURZ,PROFIT) "
                          "Values ("
                        : "INSERT INTO TIPY (ID,ID_LIGA,DATUM,HOME,AWAY,TIP1,TIPX,TIP2,TIP,PERC,"
                          "KURZ,PROFIT) Values (";
  sql += n(row.id) + "," + n(row.league) + "," + QuoteSqlText(row.date_text) + "," + n(row.home) +
         "," + n(row.away) + "," + n(row.tip1) + ",";
  if (result_mode != ResultMode::kUnderOver) sql += n(row.tipx) + ",";
  sql += n(row.tip2) + "," + QuoteSqlText(row.tip) + ",";
  if (result_mode != ResultMode::kUnderOver) sql += n(row.perc) + ",";
  sql += FormatSqlNumber(row.odds.value_or(0.0)) + "," + n(row.profit) + ")";
  dm.Command1.Execute(sql);
}

void SearchFixture(Program& p, const Query& fixture) {
  SearchContext ctx;
  ctx.result_mode = p.selection.result_mode;
  ctx.league = fixture.FieldByName("ID_LIGA").AsString();
  // Under/over runs never search; their mode reaches the search unchanged, which rejects it.
  const char* column = ColumnsOf(ctx.result_mode).difference;
  const auto d = static_cast<int32_t>(fixture.FieldByName(column).AsInteger());
  FindOutcomeFrequencies(p.dm.ADOConnection1, p.prediction, ctx, SearchMode::kList, d);
}

}  // namespace morvela
