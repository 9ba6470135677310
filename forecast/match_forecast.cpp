#include "forecast/match_forecast.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "core/helpers.h"

namespace morvela {

namespace {

// A league's first few matches say too little about its clubs for a forecast.
constexpr size_t kMinimumMatches = 10;

int64_t DayNumber(const Date& d) {
  return std::chrono::sys_days(d).time_since_epoch().count();
}

template <size_t N>
std::vector<double> AsVector(const std::array<double, N>& a) {
  return {a.begin(), a.end()};
}

}  // namespace

std::vector<double> ModelForecast::InMode(ResultMode mode) const {
  switch (mode) {
    case ResultMode::kFullTime:
      return AsVector(full_time);
    case ResultMode::kFirstHalf:
      return AsVector(
          ScoreMatrix(home_rate * first_half_share, away_rate * first_half_share, 0).Outcomes());
    case ResultMode::kSecondHalf:
      return AsVector(
          ScoreMatrix(home_rate * (1 - first_half_share), away_rate * (1 - first_half_share), 0)
              .Outcomes());
    case ResultMode::kUnderOver:
      return AsVector(under_over);
  }
  return {};
}

std::array<double, 3> ModelForecast::FullTimeFromHalfTime(int home_goals, int away_goals) const {
  return ScoreMatrix(home_rate * (1 - first_half_share), away_rate * (1 - first_half_share), 0,
                     home_goals, away_goals)
      .Outcomes();
}

std::array<double, 2> ModelForecast::UnderOverFromHalfTime(int home_goals, int away_goals) const {
  return ScoreMatrix(home_rate * (1 - first_half_share), away_rate * (1 - first_half_share), 0,
                     home_goals, away_goals)
      .UnderOver();
}

// A league's played matches and its seasons' clubs.
struct GoalForecaster::League {
  std::vector<PlayedGoals> matches;  // by date
  // Half-time goals of the matches, where the row has them (-1 otherwise), by the same index.
  std::vector<int> half_time_goals;
  struct Season {
    int64_t order = 0;  // ID_POR: the season's year
    std::set<int64_t> clubs;
  };
  std::map<int64_t, Season> seasons;  // by competition
  const Fitted* last_fit = nullptr;   // the league's latest fit, where the next one starts
};

GoalForecaster::GoalForecaster(Connection& conn, GoalModelOptions options)
    : conn_(conn), options_(options) {}

GoalForecaster::~GoalForecaster() = default;

const std::map<int64_t, int>& GoalForecaster::LoadCompetitions() {
  if (!competitions_loaded_) {
    Query q(conn_);
    q.Open("SELECT ID, ID_LIGA FROM SUTAZ");
    for (; !q.Eof(); q.Next())
      league_of_competition_[q.FieldByName("ID").AsInteger()] =
          static_cast<int>(q.FieldByName("ID_LIGA").AsInteger());
    competitions_loaded_ = true;
  }
  return league_of_competition_;
}

GoalForecaster::League& GoalForecaster::LeagueOf(int64_t competition) {
  const int league = LoadCompetitions().at(competition);
  auto [it, added] = leagues_.try_emplace(league);
  if (!added) return *it->second;
  it->second = std::make_unique<League>();
  League& l = *it->second;
  const std::string id = std::to_string(league);
  Query q(conn_);
  q.Open("SELECT ID, ID_POR FROM SUTAZ WHERE ID_LIGA=" + id);
  for (; !q.Eof(); q.Next())
    l.seasons[q.FieldByName("ID").AsInteger()].order = q.FieldByName("ID_POR").AsInteger();
  q.Open(
      "SELECT SUTAZ_MUZSTVA.ID_SUTAZ, ID_MUZSTVO FROM SUTAZ_MUZSTVA, SUTAZ WHERE "
      "SUTAZ_MUZSTVA.ID_SUTAZ=SUTAZ.ID AND SUTAZ.ID_LIGA=" +
      id);
  for (; !q.Eof(); q.Next())
    l.seasons[q.FieldByName("ID_SUTAZ").AsInteger()].clubs.insert(
        q.FieldByName("ID_MUZSTVO").AsInteger());
  // Forfeits say nothing of the clubs' goals, so the fit leaves them out.
  q.Open(
      "SELECT DATUM, HOME, AWAY, HOME_GOAL, AWAY_GOAL, HT_HOME_GOAL, HT_AWAY_GOAL FROM VYSLEDKY, "
      "SUTAZ WHERE VYSLEDKY.ID_SUTAZ=SUTAZ.ID AND SUTAZ.ID_LIGA=" +
      id + " AND KONTUMACIA=0 AND VYSLEDOK<>\"\" ORDER BY DATUM ASC, VYSLEDKY.ID ASC");
  for (; !q.Eof(); q.Next()) {
    const std::optional<Date> date = q.FieldByName("DATUM").AsDate();
    if (!date) continue;
    l.matches.push_back({DayNumber(*date), q.FieldByName("HOME").AsInteger(),
                         q.FieldByName("AWAY").AsInteger(),
                         static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger()),
                         static_cast<int>(q.FieldByName("AWAY_GOAL").AsInteger())});
    const Field hh = q.FieldByName("HT_HOME_GOAL"), ha = q.FieldByName("HT_AWAY_GOAL");
    l.half_time_goals.push_back(
        hh.IsNull() || ha.IsNull() ? -1 : static_cast<int>(hh.AsInteger() + ha.AsInteger()));
  }
  return l;
}

const GoalForecaster::Fitted* GoalForecaster::FittedOf(int64_t competition, const Date& date) {
  const int64_t day = DayNumber(date);
  if (auto it = fitted_.find({competition, day}); it != fitted_.end()) return &it->second;
  if (!LoadCompetitions().contains(competition)) return nullptr;
  League& l = LeagueOf(competition);

  // The season's clubs that did not play the league's previous season start from the clubs
  // that left it.
  GoalModel::Promotion promotion;
  const League::Season& season = l.seasons[competition];
  const League::Season* previous = nullptr;
  for (const auto& [id, s] : l.seasons)
    if (s.order < season.order && (!previous || s.order > previous->order)) previous = &s;
  if (previous) {
    for (int64_t c : season.clubs)
      if (!previous->clubs.contains(c)) promotion.new_clubs.push_back(c);
    for (int64_t c : previous->clubs)
      if (!season.clubs.contains(c)) promotion.replaced_clubs.push_back(c);
  }

  const auto end = std::lower_bound(l.matches.begin(), l.matches.end(), day,
                                    [](const PlayedGoals& m, int64_t d) { return m.day < d; });
  const size_t count = static_cast<size_t>(end - l.matches.begin());
  if (count < kMinimumMatches) return nullptr;
  Fitted f;
  // Consecutive match days of a league differ by a few matches, so the last fit is a close
  // starting point.
  f.model = GoalModel::Fit(std::span(l.matches.data(), count), day, options_, promotion,
                           l.last_fit ? &l.last_fit->model : nullptr);
  double first = 0, all = 0;
  for (size_t i = 0; i < count; ++i) {
    const PlayedGoals& m = l.matches[i];
    if (l.half_time_goals[i] < 0 || day - m.day > options_.history_days) continue;
    const double w = DecayWeight(static_cast<double>(day - m.day), options_.decay_per_day);
    first += w * l.half_time_goals[i];
    all += w * (m.home_goals + m.away_goals);
  }
  if (all > 0 && first > 0 && first < all) f.first_half_share = first / all;
  const Fitted* stored =
      &fitted_.emplace(std::make_pair(competition, day), std::move(f)).first->second;
  l.last_fit = stored;
  return stored;
}

const GoalModel* GoalForecaster::ModelOf(int64_t competition, const Date& day) {
  const Fitted* f = FittedOf(competition, day);
  return f && !f->model.Empty() ? &f->model : nullptr;
}

std::optional<ModelForecast> GoalForecaster::Forecast(int64_t competition, int64_t home,
                                                      int64_t away, const Date& day) {
  const Fitted* f = FittedOf(competition, day);
  if (!f || f->model.Empty()) return std::nullopt;
  const GoalModel::Rates r = f->model.ExpectedGoals(home, away);
  ModelForecast out;
  out.home_rate = r.home;
  out.away_rate = r.away;
  out.rho = f->model.Rho();
  out.first_half_share = f->first_half_share;
  const ScoreMatrix matrix(r.home, r.away, out.rho);
  out.full_time = matrix.Outcomes();
  out.under_over = matrix.UnderOver();
  out.likely_scores = matrix.LikelyScores(3);
  return out;
}

std::optional<std::vector<double>> MarketProbabilities(Connection& conn, int64_t match,
                                                       ResultMode mode, MarginMethod method) {
  Query q(conn);
  q.Open("SELECT * FROM KURZY WHERE ID=" + std::to_string(match));
  // A match with more than one row has no odds the program trusts, as for its tips.
  if (q.RecordCount() != 1) return std::nullopt;
  const char* prefix = mode == ResultMode::kFirstHalf    ? "HT_KURZ"
                       : mode == ResultMode::kSecondHalf ? "SHT_KURZ"
                                                         : "KURZ";
  std::vector<std::string> columns;
  if (mode == ResultMode::kUnderOver)
    columns = {"UNDER", "OVER"};
  else
    for (const char* s : {"1", "X", "2"}) columns.push_back(std::string(prefix) + s);
  std::vector<std::optional<double>> odds;
  for (const std::string& c : columns)
    odds.push_back(ParseDecimalText(q.FieldByName(c).AsString()));
  return RemoveMargin(odds, method);
}

}  // namespace morvela
