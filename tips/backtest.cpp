#include "tips/backtest.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "core/helpers.h"
#include "core/rounding.h"
#include "forecast/match_forecast.h"
#include "i18n/messages.h"
#include "predict/outcome_search.h"
#include "rating/season_replay.h"
#include "tips/tip_runs.h"

namespace morvela {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The letters of the outcomes in the order of BacktestMatch::percents.
std::string_view OutcomeLetters(ResultMode mode) {
  return mode == ResultMode::kUnderOver ? "<>" : "102";
}

// The bets of the value-tip run, in its order.
constexpr const char* kOutcomeBets[] = {"  1", "  0", "  2", " 10", " 02", " 12"};
constexpr const char* kUnderOverBets[] = {" < ", " > "};

// Whether a tip or bet wins when the outcome with this index happened.
bool Wins(ResultMode mode, std::string_view tip, size_t outcome) {
  const char letter = OutcomeLetters(mode)[outcome];
  if (mode != ResultMode::kUnderOver) return TipWins(tip, letter);
  return TrimTip(tip) == std::string(1, letter);
}

// The program's percentage for a bet: the percentages of the outcomes the bet covers.
int BetPercent(ResultMode mode, const std::vector<int>& percents, std::string_view bet) {
  const std::string_view letters = OutcomeLetters(mode);
  int sum = 0;
  for (size_t i = 0; i < letters.size(); ++i)
    if (bet.find(letters[i]) != std::string_view::npos) sum += percents[i];
  return sum;
}

std::optional<size_t> OutcomeIndex(ResultMode mode, const Field& outcome, int total_goals) {
  if (mode == ResultMode::kUnderOver) return total_goals <= 2 ? 0 : 1;
  const std::string text = outcome.AsString();
  const size_t i = OutcomeLetters(mode).find(text.size() == 1 ? text[0] : '?');
  if (i == std::string_view::npos) return std::nullopt;
  return i;
}

std::string LeagueFilter(const std::vector<int>& leagues) {
  if (leagues.empty()) return "";
  std::string s = " AND SUTAZ.ID_LIGA IN (";
  for (size_t i = 0; i < leagues.size(); ++i) s += (i ? "," : "") + std::to_string(leagues[i]);
  return s + ")";
}

int64_t DayNumber(const Date& d) {
  return std::chrono::sys_days(d).time_since_epoch().count();
}

// The long-run outcome frequencies of each league, answered for any day from the matches
// before it.
class NaiveFrequencies {
 public:
  NaiveFrequencies(Connection& conn, const BacktestOptions& o)
      : outcomes_(o.result_mode == ResultMode::kUnderOver ? 2 : 3) {
    const ModeColumns& c = ColumnsOf(o.result_mode);
    Query q(conn);
    q.Open(std::string("SELECT DATUM,") + c.outcome +
           ",HOME_GOAL,AWAY_GOAL,SUTAZ.ID_LIGA FROM VYSLEDKY, SUTAZ WHERE "
           "VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND DATUM<" +
           FormatSqlDate(o.to) + " AND KONTUMACIA=0 AND " + c.outcome + "<>\"\"" +
           LeagueFilter(o.leagues) + " ORDER BY DATUM ASC");
    for (; !q.Eof(); q.Next()) {
      const std::optional<Date> date = q.FieldByName("DATUM").AsDate();
      const int goals = static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger() +
                                         q.FieldByName("AWAY_GOAL").AsInteger());
      const std::optional<size_t> outcome =
          OutcomeIndex(o.result_mode, q.FieldByName(c.outcome), goals);
      if (!date || !outcome) continue;
      League& l = leagues_[static_cast<int>(q.FieldByName("ID_LIGA").AsInteger())];
      std::array<int, 3> counts = l.counts.empty() ? std::array<int, 3>{} : l.counts.back();
      ++counts[*outcome];
      l.days.push_back(DayNumber(*date));
      l.counts.push_back(std::move(counts));
    }
  }

  // Frequencies of the league's matches dated before `day`; equal shares without any.
  std::vector<double> Before(int league, const Date& day) const {
    std::vector<double> p(outcomes_, 1.0 / outcomes_);
    auto it = leagues_.find(league);
    if (it == leagues_.end()) return p;
    const League& l = it->second;
    const size_t n =
        std::lower_bound(l.days.begin(), l.days.end(), DayNumber(day)) - l.days.begin();
    if (n == 0) return p;
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<double>(l.counts[n - 1][i]) / n;
    return p;
  }

 private:
  struct League {
    std::vector<int64_t> days;               // match days in ascending order
    std::vector<std::array<int, 3>> counts;  // outcome counts up to and including each match
  };
  size_t outcomes_;
  std::unordered_map<int, League> leagues_;
};

// The goal pass of each competition, brought forward day by day: before a day's matches are
// rated, every match of the season played before that day is recorded.
class GoalPasses {
 public:
  explicit GoalPasses(Connection& conn) : conn_(conn), meetings_(conn) {}

  std::optional<int32_t> UnderPercent(int64_t competition, int64_t home, int64_t away,
                                      const Date& day) {
    Season& s = SeasonOf(competition);
    for (; s.next < s.played.size() && s.played[s.next].day < DayNumber(day); ++s.next) {
      const Played& m = s.played[s.next];
      if (s.goals.AddMatch(m.home, m.away, m.goals) == SeasonGoals::Added::kFull) s.usable = false;
    }
    if (!s.usable) return std::nullopt;
    return s.goals.UnderPercent(meetings_, home, away, day);
  }

 private:
  struct Played {
    int64_t day, home, away;
    int goals;
  };
  struct Season {
    SeasonGoals goals;
    std::vector<Played> played;  // the goal pass's walk: played matches by date, then id
    size_t next = 0;
    bool usable = true;
  };

  Season& SeasonOf(int64_t competition) {
    auto [it, added] = seasons_.try_emplace(competition);
    Season& s = it->second;
    if (!added) return s;
    const std::string id = std::to_string(competition);
    Query q(conn_);
    s.usable = s.goals.Load(q, id);
    q.Open("SELECT * FROM VYSLEDKY WHERE (ID_SUTAZ=" + id +
           " AND KONTUMACIA=0 AND VYSLEDOK<>\"\") ORDER BY DATUM ASC, ID ASC");
    for (; !q.Eof(); q.Next()) {
      const std::optional<Date> date = q.FieldByName("DATUM").AsDate();
      s.played.push_back({date ? DayNumber(*date) : std::numeric_limits<int64_t>::min(),
                          q.FieldByName("HOME").AsInteger(), q.FieldByName("AWAY").AsInteger(),
                          static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger() +
                                           q.FieldByName("AWAY_GOAL").AsInteger())});
    }
    return s;
  }

  Connection& conn_;
  Query meetings_;
  std::map<int64_t, Season> seasons_;
};

// The match's KURZY row, read as the tip runs read it: its odds count only when the match has
// exactly one row.
class OddsRow {
 public:
  OddsRow(Connection& conn, int64_t match) : q_(conn) {
    q_.Open("SELECT * FROM KURZY WHERE ID=" + std::to_string(match));
  }
  std::optional<double> Odds(const std::string& column) const {
    if (column.empty() || q_.RecordCount() != 1) return std::nullopt;
    return OddsValue(q_.FieldByName(column));
  }

 private:
  Query q_;
};

void AddOdds(ResultMode mode, const OddsRow& row, BacktestMatch& m) {
  m.odds = row.Odds(OddsColumn(mode, m.tip));
  std::vector<std::optional<double>> market;
  for (char letter : OutcomeLetters(mode))
    market.push_back(row.Odds(OddsColumn(mode, std::string_view(&letter, 1))));
  m.market = ProbabilitiesFromOdds(market);
  for (MarginMethod method : kMarginMethods)
    m.markets[static_cast<size_t>(method)] = RemoveMargin(market, method);
  auto bets = mode == ResultMode::kUnderOver ? std::span<const char* const>(kUnderOverBets)
                                             : std::span<const char* const>(kOutcomeBets);
  for (const char* bet : bets) {
    const std::optional<double> odds = row.Odds(OddsColumn(mode, bet));
    if (!odds) continue;
    const int percent = BetPercent(mode, m.percents, bet);
    m.bets.push_back({bet, percent, *odds, TipProfit(percent, odds), Wins(mode, bet, m.outcome)});
  }
}

std::unordered_map<int64_t, std::string> TeamNames(Connection& conn, int language) {
  const std::string column = NameColumn(language);
  Query q(conn);
  q.Open("SELECT ID," + column + " FROM MUZSTVA");
  std::unordered_map<int64_t, std::string> names;
  for (; !q.Eof(); q.Next())
    names.emplace(q.FieldByName("ID").AsInteger(), q.FieldByName(column).AsString());
  return names;
}

// The first match day of every competition (fixtures included: a season's start is known
// before it is played).
std::map<int64_t, Date> SeasonStarts(Connection& conn) {
  Query q(conn);
  q.Open("SELECT ID_SUTAZ, MIN(DATUM) AS FIRST_DAY FROM VYSLEDKY GROUP BY ID_SUTAZ");
  std::map<int64_t, Date> starts;
  for (; !q.Eof(); q.Next())
    if (auto d = q.FieldByName("FIRST_DAY").AsDate())
      starts.emplace(q.FieldByName("ID_SUTAZ").AsInteger(), *d);
  return starts;
}

BlendSample SampleOf(const BacktestMatch& m, MarginMethod margin) {
  return {{ForecastOf(m, Forecaster::kMarket, margin), m.model,
           ForecastOf(m, Forecaster::kTips, margin)},
          m.outcome};
}

// Blends every match of the run with the weights fitted on the matches (of the run and of its
// training days) dated before its season's first day: a season's blend learns from earlier
// seasons only. `all` is in date order.
void AddBlends(const std::vector<BacktestMatch>& all, BacktestRun& run) {
  std::vector<BlendSample> samples;
  for (const BacktestMatch& m : all) samples.push_back(SampleOf(m, run.margin));
  std::map<int64_t, SeasonBlend> fitted;  // by the season start's day number
  for (BacktestMatch& m : run.matches) {
    auto [it, added] = fitted.try_emplace(DayNumber(m.season_start));
    if (added) {
      const size_t n = static_cast<size_t>(
          std::lower_bound(all.begin(), all.end(), m.season_start,
                           [](const BacktestMatch& a, const Date& d) { return a.date < d; }) -
          all.begin());
      it->second.season_start = m.season_start;
      it->second.weights = FitBlendWeights(std::span(samples.data(), n));
      for (size_t i = 0; i < n; ++i)
        if (samples[i].members[0] && samples[i].members[1]) ++it->second.training_matches;
    }
    m.blend = LogPool(SampleOf(m, run.margin).members, it->second.weights);
  }
  for (auto& [day, blend] : fitted) run.blends.push_back(blend);
}

}  // namespace

const char* ForecasterKey(Forecaster f) {
  static constexpr const char* kKeys[] = {"tips", "naive", "market", "model", "blend"};
  return kKeys[static_cast<size_t>(f)];
}

std::optional<std::vector<double>> ForecastOf(const BacktestMatch& m, Forecaster f,
                                              MarginMethod margin) {
  switch (f) {
    case Forecaster::kTips:
      return ProbabilitiesFromPercents(m.percents);
    case Forecaster::kNaive:
      return m.naive;
    case Forecaster::kMarket:
      return m.markets[static_cast<size_t>(margin)];
    case Forecaster::kModel:
      return m.model;
    case Forecaster::kBlend:
      return m.blend;
  }
  return std::nullopt;
}

double ProbabilityBucket::MeanProbability() const {
  return forecasts ? probability_sum / forecasts : kNaN;
}

double ProbabilityBucket::Frequency() const {
  return forecasts ? static_cast<double>(happened) / forecasts : kNaN;
}

int ProbabilityBucketOf(double p) {
  return std::clamp(static_cast<int>(p * 100 / 5), 0, kProbabilityBuckets - 1);
}

BacktestRun RunBacktest(Connection& conn, const BacktestOptions& o) {
  const ResultMode mode = o.result_mode;
  const ModeColumns& c = ColumnsOf(mode);
  const NaiveFrequencies naive(conn, o);
  const auto names = TeamNames(conn, o.language);
  GoalPasses goal_passes(conn);
  GoalForecaster forecaster(conn);
  const std::map<int64_t, Date> season_starts = SeasonStarts(conn);
  const Date first_day = AddDays(o.from, -std::max(0, o.blend_training_days));
  auto name = [&names](int64_t team) {
    auto it = names.find(team);
    return it == names.end() ? std::to_string(team) : it->second;
  };

  Query q(conn);
  q.Open(std::string("SELECT VYSLEDKY.ID AS MATCH_ID,DATUM,ID_SUTAZ,HOME,AWAY,HOME_GOAL,"
                     "AWAY_GOAL,") +
         c.outcome + "," + c.difference +
         ",SUTAZ.ID_LIGA FROM VYSLEDKY, SUTAZ WHERE VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND DATUM>=" +
         FormatSqlDate(first_day) + " AND DATUM<=" + FormatSqlDate(o.to) +
         " AND KONTUMACIA=0 AND " + c.outcome + "<>\"\"" + LeagueFilter(o.leagues) +
         " ORDER BY DATUM ASC, VYSLEDKY.ID ASC");

  BacktestRun run;
  run.margin = o.margin;
  std::vector<BacktestMatch> all;  // the training days' matches and the run's
  PredictionState state;
  for (; !q.Eof(); q.Next()) {
    BacktestMatch m;
    m.id = q.FieldByName("MATCH_ID").AsInteger();
    m.date = q.FieldByName("DATUM").AsDate().value_or(o.from);
    m.league = static_cast<int>(q.FieldByName("ID_LIGA").AsInteger());
    m.competition = q.FieldByName("ID_SUTAZ").AsInteger();
    const int64_t home = q.FieldByName("HOME").AsInteger();
    const int64_t away = q.FieldByName("AWAY").AsInteger();
    m.home = name(home);
    m.away = name(away);
    const int goals = static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger() +
                                       q.FieldByName("AWAY_GOAL").AsInteger());
    const std::optional<size_t> outcome = OutcomeIndex(mode, q.FieldByName(c.outcome), goals);
    const bool scored = !(m.date < o.from);
    if (!outcome) {
      if (scored) ++run.skipped;
      continue;
    }
    m.outcome = *outcome;

    if (mode == ResultMode::kUnderOver) {
      const std::optional<int32_t> under =
          goal_passes.UnderPercent(m.competition, home, away, m.date);
      if (!under) {
        if (scored) ++run.skipped;
        continue;
      }
      SelectUnderOverTip(state, *under);
      m.percents = {state.HomePercent, state.AwayPercent};
    } else {
      SearchContext ctx;
      ctx.result_mode = mode;
      ctx.league = std::to_string(m.league);
      ctx.before = m.date;
      m.difference = static_cast<int32_t>(q.FieldByName(c.difference).AsInteger());
      FindOutcomeFrequencies(conn, state, ctx, SearchMode::kList, m.difference);
      SelectTip(state);
      m.percents = {state.HomePercent, state.DrawPercent, state.AwayPercent};
    }
    m.tip = state.Tip;
    m.tip_percent = state.TipPercent;
    m.won = Wins(mode, m.tip, m.outcome);
    AddOdds(mode, OddsRow(conn, m.id), m);
    m.naive = naive.Before(m.league, m.date);
    if (auto f = forecaster.Forecast(m.competition, home, away, m.date)) m.model = f->InMode(mode);
    auto start = season_starts.find(m.competition);
    m.season_start = start == season_starts.end() ? m.date : start->second;
    if (scored) run.matches.push_back(m);
    all.push_back(std::move(m));
  }
  AddBlends(all, run);
  return run;
}

// ---- Scoring ----

std::vector<double> ProbabilitiesFromPercents(std::span<const int> percents) {
  double sum = 0;
  for (int p : percents) sum += p;
  std::vector<double> out(percents.size(), 1.0 / static_cast<double>(percents.size()));
  if (sum <= 0) return out;
  for (size_t i = 0; i < percents.size(); ++i) out[i] = percents[i] / sum;
  return out;
}

std::optional<std::vector<double>> ProbabilitiesFromOdds(
    std::span<const std::optional<double>> odds) {
  std::vector<double> p;
  double sum = 0;
  for (const std::optional<double>& o : odds) {
    if (!o || !(*o > 0)) return std::nullopt;
    p.push_back(1.0 / *o);
    sum += p.back();
  }
  for (double& v : p) v /= sum;
  return p;
}

double BrierScore(std::span<const double> p, size_t outcome) {
  double s = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const double e = p[i] - (i == outcome ? 1.0 : 0.0);
    s += e * e;
  }
  return s;
}

double RankedProbabilityScore(std::span<const double> p, size_t outcome) {
  if (p.size() < 2) return 0;
  double s = 0, forecast = 0;
  for (size_t k = 0; k + 1 < p.size(); ++k) {
    forecast += p[k];
    const double e = forecast - (k >= outcome ? 1.0 : 0.0);
    s += e * e;
  }
  return s / static_cast<double>(p.size() - 1);
}

double LogLoss(std::span<const double> p, size_t outcome) {
  return -std::log(std::max(p[outcome], kLogLossFloor));
}

void ForecastScores::Add(std::span<const double> p, size_t outcome) {
  ++matches;
  brier += BrierScore(p, outcome);
  rps += RankedProbabilityScore(p, outcome);
  log_loss += LogLoss(p, outcome);
}

double ForecastScores::MeanBrier() const {
  return matches ? brier / matches : kNaN;
}
double ForecastScores::MeanRps() const {
  return matches ? rps / matches : kNaN;
}
double ForecastScores::MeanLogLoss() const {
  return matches ? log_loss / matches : kNaN;
}

void HitRecord::Add(int percent, bool win) {
  ++tips;
  won += win ? 1 : 0;
  percent_sum += percent;
}

double HitRecord::HitRate() const {
  return tips ? static_cast<double>(won) / tips : kNaN;
}

double HitRecord::MeanPercent() const {
  return tips ? static_cast<double>(percent_sum) / tips : kNaN;
}

void BettingRecord::Add(double odds, bool won) {
  ++bets_;
  if (won) {
    returns_ += odds;
    bank_ += odds - 1;
    losing_run_ = 0;
  } else {
    bank_ -= 1;
    longest_losing_run_ = std::max(longest_losing_run_, ++losing_run_);
  }
  peak_ = std::max(peak_, bank_);
  max_drawdown_ = std::max(max_drawdown_, peak_ - bank_);
}

double BettingRecord::Roi() const {
  return bets_ ? Profit() / bets_ * 100 : kNaN;
}

int CalibrationBucket(int tip_percent) {
  return std::clamp(tip_percent / 10, 0, kCalibrationBuckets - 1);
}

size_t KindIndex(TipKind kind) {
  switch (kind) {
    case TipKind::Single:
      return 0;
    case TipKind::DoubleChance:
      return 1;
    case TipKind::ThreeWay:
      return 2;
    case TipKind::Under:
      return 3;
    case TipKind::Over:
      return 4;
    case TipKind::None:
      break;
  }
  throw std::invalid_argument("a tip of no kind");
}

namespace {

// The value bets on single outcomes against one forecaster.
void AddValueAgainst(const BacktestMatch& m, const std::vector<double>& p, const ValueFilter& value,
                     BettingRecord& record) {
  const bool under_over = m.percents.size() == 2;
  for (const BacktestBet& b : m.bets) {
    const std::string t = TrimTip(b.tip);
    if (t.size() != 1) continue;
    const size_t i = std::string_view(under_over ? "<>" : "102").find(t[0]);
    if (i == std::string_view::npos || i >= p.size()) continue;
    const int profit = static_cast<int>(RoundHalfEven(p[i] * 100)) - ImpliedPercent(b.odds);
    if (value.Accepts(profit, b.odds)) record.Add(b.odds, b.won);
  }
}

}  // namespace

std::vector<BacktestGroup> ScoreBacktest(const std::vector<BacktestMatch>& matches,
                                         const ValueFilter& value, MarginMethod margin) {
  std::vector<BacktestGroup> groups(1);
  std::map<int, size_t> index;
  for (const BacktestMatch& m : matches) index.try_emplace(m.league, 0);
  for (auto& [league, i] : index) {
    i = groups.size();
    groups.emplace_back().league = league;
  }

  for (const BacktestMatch& m : matches) {
    const TipKind kind = KindOfTip(m.tip);
    const std::vector<double> p = ProbabilitiesFromPercents(m.percents);
    for (BacktestGroup* g : {&groups[0], &groups[index[m.league]]}) {
      ++g->matches;
      if (kind != TipKind::None) g->kinds[KindIndex(kind)].Add(m.tip_percent, m.won);
      const bool priced_tip = kind != TipKind::ThreeWay && kind != TipKind::None;
      if (priced_tip) g->calibration[CalibrationBucket(m.tip_percent)].Add(m.tip_percent, m.won);
      g->tips_all.Add(p, m.outcome);
      g->naive_all.Add(m.naive, m.outcome);
      if (m.market) {
        g->tips_odds.Add(p, m.outcome);
        g->market_odds.Add(*m.market, m.outcome);
        g->naive_odds.Add(m.naive, m.outcome);
        for (MarginMethod method : kMarginMethods)
          if (const auto& q = m.markets[static_cast<size_t>(method)])
            g->margins[static_cast<size_t>(method)].Add(*q, m.outcome);
        for (size_t f = 0; f < kForecasters; ++f) {
          const std::optional<std::vector<double>> q =
              ForecastOf(m, static_cast<Forecaster>(f), margin);
          if (!q) continue;
          g->forecasters[f].Add(*q, m.outcome);
          for (size_t i = 0; i < q->size(); ++i) {
            ProbabilityBucket& b = g->reliability[f][ProbabilityBucketOf((*q)[i])];
            ++b.forecasts;
            b.happened += i == m.outcome ? 1 : 0;
            b.probability_sum += (*q)[i];
          }
          AddValueAgainst(m, *q, value, g->value_against[f]);
        }
      }
      if (priced_tip && m.odds) g->tip_bets.Add(*m.odds, m.won);
      for (const BacktestBet& b : m.bets)
        if (value.Accepts(b.profit, b.odds)) g->value_bets.Add(b.odds, b.won);
    }
  }
  return groups;
}

}  // namespace morvela
