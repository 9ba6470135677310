#include "tips/value_tips.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "core/helpers.h"
#include "forecast/blend.h"
#include "forecast/match_forecast.h"
#include "i18n/message_ids.h"
#include "predict/tip_selection.h"
#include "program/program.h"
#include "tips/backtest.h"
#include "tips/calibration_store.h"
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

// The bets of a fixture at the percentages of a forecast in the mode's order (home, draw, away;
// under, over).
void StoreForecastBets(Program& p, const ValueFilter& filter, const Query& fixture,
                       const std::vector<double>& forecast) {
  TipRow row = FixtureTipRow(fixture, "VYSLEDKY.ID");
  const ResultMode mode = p.selection.result_mode;
  const bool uo = mode == ResultMode::kUnderOver;
  auto percent = [&](std::string_view bet) { return *TipPercentOf(forecast, mode, bet); };
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

// The program's own percentages of a fixture as probabilities, as the blend pools them: the
// list search's home, draw and away, or the goal pass's under and over.
std::vector<double> TipsForecast(Program& p, const Query& fixture) {
  if (p.selection.result_mode == ResultMode::kUnderOver) {
    const int under = static_cast<int>(fixture.FieldByName("VYSUNDER").AsInteger());
    return ProbabilitiesFromPercents(std::vector<int>{under, 100 - under});
  }
  SearchFixture(p, fixture);
  const PredictionState& s = p.prediction;
  return ProbabilitiesFromPercents(std::vector<int>{s.HomePercent, s.DrawPercent, s.AwayPercent});
}

// The second opinions of the value-tip run's fixtures: the model, the market and their blend
// with the program's percentages, the blend's weights stored per season start by the backtest.
class ValueForecasts {
 public:
  ValueForecasts(Program& p, ValueAgainst against)
      : p_(p), against_(against), opinions_(p.dm.ADOConnection1, p.selection.result_mode) {}

  // nullopt where the chosen forecaster has no figure for the fixture: it is left out.
  std::optional<std::vector<double>> Of(const Query& fixture) {
    const int64_t id = fixture.FieldByName("VYSLEDKY.ID").AsInteger();
    if (against_ != ValueAgainst::kBlend) {
      TipSecondOpinions::Figures f = opinions_.Of(id, "1");
      return against_ == ValueAgainst::kModel ? f.model : f.market;
    }
    const StoredBlend blend = BlendOf(fixture.FieldByName("ID_SUTAZ").AsInteger());
    Connection& conn = p_.dm.ADOConnection1;
    const ResultMode mode = p_.selection.result_mode;
    std::array<std::optional<std::vector<double>>, kBlendMembers> members;
    members[static_cast<size_t>(BlendMember::kMarket)] =
        MarketProbabilities(conn, id, mode, blend.margin);
    if (blend.weights[static_cast<size_t>(BlendMember::kModel)] > 0)
      members[static_cast<size_t>(BlendMember::kModel)] = opinions_.Of(id, "1").model;
    if (blend.weights[static_cast<size_t>(BlendMember::kTips)] > 0)
      members[static_cast<size_t>(BlendMember::kTips)] = TipsForecast(p_, fixture);
    return LogPool(members, blend.weights);
  }

 private:
  // The stored weights of the competition's season, or the market alone (the weights a fit
  // without earlier matches gives) when none were stored on enough history.
  StoredBlend BlendOf(int64_t competition) {
    auto [it, added] = blends_.try_emplace(competition);
    if (!added) return it->second;
    StoredBlend& b = it->second;
    b.weights = {1, 0, 0};
    Query q(p_.dm.ADOConnection1);
    q.Open("SELECT MIN(DATUM) AS FIRST_DAY FROM VYSLEDKY WHERE ID_SUTAZ=" +
           std::to_string(competition));
    if (const std::optional<Date> start = q.FieldByName("FIRST_DAY").AsDate())
      if (auto stored = BlendWeightsFor(p_.dm.ADOConnection1, p_.selection.result_mode, *start))
        b = *stored;
    return b;
  }

  Program& p_;
  ValueAgainst against_;
  TipSecondOpinions opinions_;
  std::map<int64_t, StoredBlend> blends_;  // by competition
};

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
    std::optional<ValueForecasts> forecasts;
    if (against != ValueAgainst::kTips) forecasts.emplace(p, against);
    for (fixtures.First(); !fixtures.Eof(); fixtures.Next()) {
      if (!forecasts) {
        StoreFixtureBets(p, filter, fixtures);
      } else if (const std::optional<std::vector<double>> f = forecasts->Of(fixtures)) {
        StoreForecastBets(p, filter, fixtures, *f);
      }
    }
  }
  view.ShowTipsList(p);
  return true;
}

}  // namespace morvela
