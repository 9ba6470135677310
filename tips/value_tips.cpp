#include "tips/value_tips.h"

#include "core/helpers.h"
#include "i18n/message_ids.h"
#include "predict/tip_selection.h"
#include "program/program.h"

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
void StoreBet(Program& p, const Query& fixture, TipRow row, const char* bet, int percent,
              const char* odds_column) {
  row.odds = OddsValue(fixture.FieldByName(odds_column));
  if (!row.odds) return;
  row.tip = bet;
  row.perc = percent;
  row.profit = TipProfit(percent, row.odds);
  InsertTipRow(p.dm, p.selection.result_mode, row);
  p.prediction.Tip = bet;
  p.prediction.TipPercent = static_cast<uint8_t>(percent);
}

void StoreFixtureBets(Program& p, const Query& fixture) {
  TipRow row = FixtureTipRow(fixture, "VYSLEDKY.ID");
  const ResultMode mode = p.selection.result_mode;
  if (mode == ResultMode::kUnderOver) {
    const int under = static_cast<int>(fixture.FieldByName("VYSUNDER").AsInteger());
    row.tip1 = under;
    row.tip2 = 100 - under;
    StoreBet(p, fixture, row, " < ", under, "KURZUNDER");
    StoreBet(p, fixture, row, " > ", 100 - under, "KURZOVER");
    return;
  }
  SearchFixture(p, fixture);
  const PredictionState& s = p.prediction;
  row.tip1 = s.HomePercent;
  row.tipx = s.DrawPercent;
  row.tip2 = s.AwayPercent;
  for (const char* bet : kOutcomeBets) {
    const std::string column = OddsColumn(mode, bet);
    StoreBet(p, fixture, row, bet, BetPercent(s, bet), column.c_str());
  }
}

}  // namespace

bool RunValueTips(Program& p, TipsListView& view) {
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
    for (fixtures.First(); !fixtures.Eof(); fixtures.Next()) StoreFixtureBets(p, fixtures);
  }
  view.ShowTipsList(p);
  return true;
}

}  // namespace morvela
