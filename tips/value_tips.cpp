#include "tips/value_tips.h"

#include <algorithm>
#include <string>

#include "core/helpers.h"
#include "i18n/message_ids.h"
#include "predict/tip_selection.h"
#include "program/program.h"
#include "tips/tip_second_opinion.h"

namespace morvela {

namespace {

constexpr const char* kValueFixturesSql =
    "SELECT VYSLEDKY.*,VYSLEDKY.UNDER AS VYSUNDER,SUTAZ.ID_LIGA,KURZY.*,KURZY.UNDER AS "
    "KURZUNDER,KURZY.OVER AS KURZOVER FROM (VYSLEDKY LEFT JOIN SUTAZ ON "
    "VYSLEDKY.ID_SUTAZ=SUTAZ.ID) INNER JOIN KURZY ON VYSLEDKY.ID=KURZY.ID WHERE (DATUM>=";

// The outcome bets in the order they are stored.
constexpr const char* kOutcomeBets[] = {"  1", "  0", "  2", " 10", " 02", " 12"};

// The program's percentage for an outcome bet: the sum of the percentages of its letters.
int BetPercent(const PredictionState& s, std::string_view bet) {
  int sum = 0;
  for (char c : bet) {
    if (c == '1') sum += s.HomePercent;
    if (c == '0') sum += s.DrawPercent;
    if (c == '2') sum += s.AwayPercent;
  }
  return sum;
}

// Stores one bet of the fixture when its odds cell holds odds.
void StoreBet(Program& p, const ValueFilter& filter, const Query& fixture, TipRow row,
              const char* bet, int percent, const char* odds_column) {
  row.odds = OddsValue(fixture.FieldByName(odds_column));
  if (!row.odds) return;
  row.tip = bet;
  row.perc = percent;
  row.profit = TipProfit(percent, row.odds);
  if (!filter.Accepts(row.profit, *row.odds)) return;
  InsertTipRow(p.dm, p.selection.result_mode, row);
  p.prediction.Tip = bet;
  p.prediction.TipPercent = static_cast<uint8_t>(percent);
}

// The bets of a fixture at the goal model's percentages.
void StoreModelBets(Program& p, const ValueFilter& filter, const Query& fixture,
                    TipSecondOpinions& opinions) {
  TipRow row = FixtureTipRow(fixture, "VYSLEDKY.ID");
  const ResultMode mode = p.selection.result_mode;
  const std::optional<std::vector<double>> model = opinions.Of(row.id, "1").model;
  if (!model) return;
  const bool uo = mode == ResultMode::kUnderOver;
  auto percent = [&](std::string_view bet) { return *TipPercentOf(*model, mode, bet); };
  row.tip1 = percent(uo ? "<" : "1");
  if (!uo) row.tipx = percent("0");
  row.tip2 = percent(uo ? ">" : "2");
  if (uo) {
    StoreBet(p, filter, fixture, row, " < ", percent("<"), "KURZUNDER");
    StoreBet(p, filter, fixture, row, " > ", percent(">"), "KURZOVER");
    return;
  }
  for (const char* bet : kOutcomeBets) {
    const std::string column = OddsColumn(mode, bet);
    StoreBet(p, filter, fixture, row, bet, percent(bet), column.c_str());
  }
}

void StoreFixtureBets(Program& p, const ValueFilter& filter, const Query& fixture) {
  TipRow row = FixtureTipRow(fixture, "VYSLEDKY.ID");
  const ResultMode mode = p.selection.result_mode;
  if (mode == ResultMode::kUnderOver) {
    const int under = static_cast<int>(fixture.FieldByName("VYSUNDER").AsInteger());
    row.tip1 = under;
    row.tip2 = 100 - under;
    StoreBet(p, filter, fixture, row, " < ", under, "KURZUNDER");
    StoreBet(p, filter, fixture, row, " > ", 100 - under, "KURZOVER");
    return;
  }
  SearchFixture(p, fixture);
  const PredictionState& s = p.prediction;
  row.tip1 = s.HomePercent;
  row.tipx = s.DrawPercent;
  row.tip2 = s.AwayPercent;
  for (const char* bet : kOutcomeBets) {
    const std::string column = OddsColumn(mode, bet);
    StoreBet(p, filter, fixture, row, bet, BetPercent(s, bet), column.c_str());
  }
}

// A non-negative number with a decimal point or comma; nullopt for anything else.
std::optional<double> OddsBound(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), ',', '.');
  if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos ||
      std::count(s.begin(), s.end(), '.') > 1 || s == ".")
    return std::nullopt;
  return std::stod(s);
}

}  // namespace

std::optional<std::pair<double, double>> ParseOddsRange(std::string_view text) {
  const size_t dash = text.find('-');
  if (dash == std::string_view::npos || text.find('-', dash + 1) != std::string_view::npos)
    return std::nullopt;
  const std::string_view low = text.substr(0, dash), high = text.substr(dash + 1);
  if (low.empty() && high.empty()) return std::nullopt;
  std::pair<double, double> range{0, std::numeric_limits<double>::infinity()};
  if (!low.empty()) {
    const std::optional<double> v = OddsBound(low);
    if (!v) return std::nullopt;
    range.first = *v;
  }
  if (!high.empty()) {
    const std::optional<double> v = OddsBound(high);
    if (!v) return std::nullopt;
    range.second = *v;
  }
  if (range.first >= range.second) return std::nullopt;
  return range;
}

bool RunValueTips(Program& p, TipsListView& view) {
  return RunValueTips(p, view, ValueFilter{});
}

bool RunValueTips(Program& p, TipsListView& view, const ValueFilter& filter) {
  return RunValueTips(p, view, filter, ValueAgainst::kTips);
}

bool RunValueTips(Program& p, TipsListView& view, const ValueFilter& filter, ValueAgainst against) {
  Query& fixtures = p.dm.Work2;
  fixtures.Open(std::string(kValueFixturesSql) + FormatSqlDate(p.today) + " AND VYSLEDOK IS NULL)");
  if (fixtures.Eof()) {
    p.ui.ShowMessage(MessageKind::kWarning, p.messages.Msg(msg::kNoMatchesOrOdds));
    return false;
  }
  {
    WaitScope wait(p.wait, 0, p.messages.Msg(msg::kPleaseWait));
    p.dm.Command1.Execute("DELETE * FROM TIPY");
    p.tip_run.TipRunKind = TipRun::kValue;
    std::optional<TipSecondOpinions> opinions;
    if (against == ValueAgainst::kModel)
      opinions.emplace(p.dm.ADOConnection1, p.selection.result_mode);
    for (fixtures.First(); !fixtures.Eof(); fixtures.Next()) {
      if (opinions)
        StoreModelBets(p, filter, fixtures, *opinions);
      else
        StoreFixtureBets(p, filter, fixtures);
    }
  }
  view.ShowTipsList(p);
  return true;
}

}  // namespace morvela
