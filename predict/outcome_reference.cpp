#include "predict/outcome_reference.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

namespace morvela {

namespace {

std::string LoadStatement(ResultMode result_mode) {
  static const char* const kPrefixes[] = {"", "HT_", "SHT_"};
  if (!HasOutcomes(result_mode))
    throw std::invalid_argument("the reference search has no under/over result mode");
  const std::string p = kPrefixes[ModeIndex(result_mode)];
  const std::string diff = "VYSLEDKY." + p + "ELO_ROZDIEL";
  const std::string outcome = "VYSLEDKY." + p + "VYSLEDOK";
  // The join is a left join: the all-leagues pass counts matches whatever their competition.
  return "SELECT SUTAZ.ID_LIGA AS LIGA," + diff + " AS ROZDIEL," + outcome +
         " AS VYSLEDOK_ZAPASU FROM VYSLEDKY LEFT JOIN SUTAZ ON VYSLEDKY.ID_SUTAZ=SUTAZ.ID WHERE " +
         outcome + "<>\"\" AND VYSLEDKY.KONTUMACIA=0 AND " + diff + " IS NOT NULL ORDER BY " + diff;
}

}  // namespace

void OutcomeReference::SortedMatches::Append(int32_t difference, std::optional<int64_t> outcome) {
  differences.push_back(difference);
  home.push_back(home.back() + (outcome == 1 ? 1 : 0));
  draw.push_back(draw.back() + (outcome == 0 ? 1 : 0));
  away.push_back(away.back() + (outcome == 2 ? 1 : 0));
}

OutcomeTally OutcomeReference::SortedMatches::Window(int64_t lo, int64_t hi) const {
  const auto first = std::lower_bound(differences.begin(), differences.end(), lo,
                                      [](int32_t v, int64_t x) { return v < x; });
  const auto last = std::upper_bound(differences.begin(), differences.end(), hi,
                                     [](int64_t x, int32_t v) { return x < v; });
  const size_t i = static_cast<size_t>(first - differences.begin());
  const size_t j = static_cast<size_t>(last - differences.begin());
  OutcomeTally t;
  if (j <= i) return t;
  t.matches = static_cast<int64_t>(j - i);
  t.home = home[j] - home[i];
  t.draw = draw[j] - draw[i];
  t.away = away[j] - away[i];
  return t;
}

OutcomeReference::OutcomeReference(Connection& conn, ResultMode result_mode) {
  Query q(conn);
  q.Open(LoadStatement(result_mode));
  // Rows arrive sorted by difference, so appending keeps every list sorted.
  for (; !q.Eof(); q.Next()) {
    const Field league = q.FieldByName("LIGA");
    const auto difference = static_cast<int32_t>(q.FieldByName("ROZDIEL").AsInteger());
    const std::optional<int64_t> outcome = OutcomeValue(q.FieldByName("VYSLEDOK_ZAPASU"));
    all_.Append(difference, outcome);
    if (!league.IsNull()) leagues_[league.AsInteger()].Append(difference, outcome);
  }
}

OutcomePercentages OutcomeReference::Pass(const SortedMatches* matches, int32_t d, int start,
                                          int limit) const {
  auto window = [&](int w) {
    return matches ? matches->Window(int64_t{d} - w, int64_t{d} + w) : OutcomeTally{};
  };
  const int w = WidenWindow(start, limit, MinimumMatches(SearchMode::kList),
                            [&](int width) { return window(width).matches; });
  return PassPercentages(window(w), SearchMode::kList, d);
}

void OutcomeReference::ListSearch(PredictionState& state, int64_t league, int32_t d) const {
  const auto it = leagues_.find(league);
  const OutcomePercentages in_league =
      Pass(it == leagues_.end() ? nullptr : &it->second, d, LeagueStartWidth(d), kLeagueWidthLimit);
  const OutcomePercentages all = Pass(&all_, d, AllLeaguesStartWidth(d), kAllLeaguesWidthLimit);
  const OutcomePercentages final = CombinePasses(in_league, all, SearchMode::kList);
  state.LeagueHomePercent = in_league.home;
  state.LeagueDrawPercent = in_league.draw;
  state.LeagueAwayPercent = in_league.away;
  state.HomePercent = final.home;
  state.DrawPercent = final.draw;
  state.AwayPercent = final.away;
}

}  // namespace morvela
