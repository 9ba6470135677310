#include "builder/season_start.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "core/helpers.h"
#include "core/rounding.h"
#include "predict/support_routines.h"

namespace morvela {

namespace {

constexpr int kFirstMatches = 5;  // matches per team and season in the start-rule comparison

int32_t ClampRating(double value) {
  return static_cast<int32_t>(std::clamp<int64_t>(RoundHalfEven(value), 0, 65535));
}

// The league's average, or the team's own over `count` matches, rounded to two decimals.
double GoalAverage(int64_t goals, int64_t count, double fallback) {
  if (count == 0) return fallback;
  return static_cast<double>(RoundRatioHalfEven(goals * 100, count)) / 100.0;
}

void StoreStarts(Connection& conn, int64_t competition, const SeasonStarts& starts) {
  static const char* const kColumns[kStartModes][3] = {{"ELO", "ELO_HOME", "ELO_AWAY"},
                                                       {"HT_ELO", "HT_ELO_HOME", "HT_ELO_AWAY"},
                                                       {"SHT_ELO", "SHT_ELO_HOME", "SHT_ELO_AWAY"}};
  for (const auto& [team, s] : starts) {
    std::string set;
    for (int mode = 0; mode < kStartModes; ++mode)
      for (int kind = 0; kind < 3; ++kind)
        set += std::string(kColumns[mode][kind]) + "=" + std::to_string(s.rating[mode][kind]) + ",";
    set += "PR=" + FormatSqlNumber(s.pr) + ",PR_HOME=" + FormatSqlNumber(s.pr_home) +
           ",PR_AWAY=" + FormatSqlNumber(s.pr_away);
    conn.Execute("UPDATE SUTAZ_MUZSTVA SET " + set + " WHERE ID_SUTAZ=" +
                 std::to_string(competition) + " AND ID_MUZSTVO=" + std::to_string(team));
  }
}

// Sum of |full-time overall change| over each team's first kFirstMatches played matches,
// replayed from the given overall start of every team.
void FirstMatchChanges(const SeasonRecord& season, const std::map<int64_t, int32_t>& start,
                       double& sum, int64_t& count) {
  std::map<int64_t, int32_t> rating = start;
  std::map<int64_t, int> played;
  for (const SeasonMatch& m : season.matches) {
    if (!m.goals[0]) continue;
    auto h = rating.find(m.home), a = rating.find(m.away);
    if (h == rating.end() || a == rating.end()) continue;
    const int32_t delta =
        RatingChange400(h->second, a->second, m.goals[0]->first, m.goals[0]->second);
    for (int64_t team : {m.home, m.away}) {
      if (++played[team] <= kFirstMatches) {
        sum += std::abs(delta);
        ++count;
      }
    }
    h->second += delta;
    a->second -= delta;
  }
}

}  // namespace

SeasonStarts FirstSeasonStarts(const std::vector<int64_t>& teams) {
  SeasonStarts starts;
  for (int64_t team : teams) {
    TeamStart s;
    for (auto& mode : s.rating) mode.fill(kFirstSeasonRating);
    starts[team] = s;
  }
  return starts;
}

SeasonStarts ReplayEndRatings(const SeasonRecord& season, const SeasonStarts& starts) {
  SeasonStarts end = starts;
  for (const SeasonMatch& m : season.matches) {
    auto h = end.find(m.home), a = end.find(m.away);
    if (h == end.end() || a == end.end()) continue;
    for (int mode = 0; mode < kStartModes; ++mode) {
      if (!m.goals[mode]) continue;
      const auto [hg, ag] = *m.goals[mode];
      auto& home = h->second.rating[mode];
      auto& away = a->second.rating[mode];
      const int32_t delta = RatingChange400(home[kOverall], away[kOverall], hg, ag);
      const int32_t delta_venue = RatingChange200(home[kHome], away[kAway], hg, ag);
      home[kOverall] += delta;
      away[kOverall] -= delta;
      home[kHome] += delta_venue;
      away[kAway] -= delta_venue;
    }
  }
  return end;
}

SeasonStarts NextSeasonStarts(const SeasonRecord& previous, const SeasonStarts& previous_starts,
                              const std::vector<int64_t>& next_teams) {
  const SeasonStarts end = ReplayEndRatings(previous, previous_starts);
  const std::set<int64_t> staying(next_teams.begin(), next_teams.end());

  // Carried (not yet rounded) ratings of every team of the previous season, and the rating a
  // newcomer takes, per mode and kind.
  std::map<int64_t, std::array<std::array<double, 3>, kStartModes>> carried;
  std::array<std::array<double, 3>, kStartModes> newcomer{};
  for (int mode = 0; mode < kStartModes; ++mode) {
    for (int kind = 0; kind < 3; ++kind) {
      if (end.empty()) {
        newcomer[mode][kind] = kFirstSeasonRating;
        continue;
      }
      double mean = 0;
      for (const auto& [team, s] : end) mean += s.rating[mode][kind];
      mean /= static_cast<double>(end.size());
      std::vector<double> leavers, all;
      for (const auto& [team, s] : end) {
        const double value = mean + kCarriedShare * (s.rating[mode][kind] - mean);
        carried[team][mode][kind] = value;
        all.push_back(value);
        if (!staying.count(team)) leavers.push_back(value);
      }
      if (leavers.empty()) {
        std::sort(all.begin(), all.end());
        leavers.assign(all.begin(), all.begin() + static_cast<long>((all.size() + 3) / 4));
      }
      double sum = 0;
      for (double v : leavers) sum += v;
      newcomer[mode][kind] = sum / static_cast<double>(leavers.size());
    }
  }

  // Goal totals of the previous season's played full-time matches.
  struct Goals {
    int64_t all = 0, all_n = 0, home = 0, home_n = 0, away = 0, away_n = 0;
  };
  std::map<int64_t, Goals> goals;
  int64_t league_goals = 0, league_matches = 0;
  for (const SeasonMatch& m : previous.matches) {
    if (!m.goals[0]) continue;
    const int total = m.goals[0]->first + m.goals[0]->second;
    league_goals += total;
    ++league_matches;
    Goals& h = goals[m.home];
    h.all += total;
    ++h.all_n;
    h.home += total;
    ++h.home_n;
    Goals& a = goals[m.away];
    a.all += total;
    ++a.all_n;
    a.away += total;
    ++a.away_n;
  }
  const double league_average = GoalAverage(league_goals, league_matches, kDefaultGoalAverage);

  SeasonStarts next;
  for (int64_t team : next_teams) {
    TeamStart s;
    auto c = carried.find(team);
    for (int mode = 0; mode < kStartModes; ++mode)
      for (int kind = 0; kind < 3; ++kind)
        s.rating[mode][kind] =
            ClampRating(c != carried.end() ? c->second[mode][kind] : newcomer[mode][kind]);
    const bool known = c != carried.end();
    const Goals g = known && goals.count(team) ? goals.at(team) : Goals{};
    s.pr = GoalAverage(g.all, g.all_n, league_average);
    s.pr_home = GoalAverage(g.home, g.home_n, league_average);
    s.pr_away = GoalAverage(g.away, g.away_n, league_average);
    next[team] = s;
  }
  return next;
}

std::vector<CompetitionSeason> LeagueCompetitions(Connection& conn, int league) {
  std::vector<CompetitionSeason> rows;
  Query q(conn);
  q.Open("SELECT ID,ID_POR FROM SUTAZ WHERE ID_LIGA=" + std::to_string(league) +
         " ORDER BY ID_POR,ID");
  for (; !q.Eof(); q.Next())
    rows.push_back(
        {q.FieldByName("ID").AsInteger(), static_cast<int>(q.FieldByName("ID_POR").AsInteger())});
  return rows;
}

SeasonRecord LoadSeason(Connection& conn, int64_t competition) {
  SeasonRecord season;
  const std::string id = std::to_string(competition);
  Query q(conn);
  q.Open("SELECT ID_MUZSTVO FROM SUTAZ_MUZSTVA WHERE (ID_SUTAZ=" + id +
         ") ORDER BY ID_MUZSTVO ASC");
  for (; !q.Eof(); q.Next()) season.teams.push_back(q.FieldByName("ID_MUZSTVO").AsInteger());
  q.Open(
      "SELECT HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,SHT_HOME_GOAL,"
      "SHT_AWAY_GOAL FROM VYSLEDKY WHERE (ID_SUTAZ=" +
      id + " AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC");
  static const char* const kGoals[kStartModes][2] = {{"HOME_GOAL", "AWAY_GOAL"},
                                                     {"HT_HOME_GOAL", "HT_AWAY_GOAL"},
                                                     {"SHT_HOME_GOAL", "SHT_AWAY_GOAL"}};
  season.matches.reserve(static_cast<size_t>(q.RecordCount()));
  for (; !q.Eof(); q.Next()) {
    SeasonMatch m;
    m.home = q.FieldByName("HOME").AsInteger();
    m.away = q.FieldByName("AWAY").AsInteger();
    for (int mode = 0; mode < kStartModes; ++mode) {
      const Field h = q.FieldByName(kGoals[mode][0]), a = q.FieldByName(kGoals[mode][1]);
      if (!h.IsNull() && !a.IsNull())
        m.goals[mode] = {static_cast<int>(h.AsInteger()), static_cast<int>(a.AsInteger())};
    }
    season.matches.push_back(m);
  }
  return season;
}

int ComputeSeasonStarts(Connection& conn, int league) {
  const std::vector<CompetitionSeason> competitions = LeagueCompetitions(conn, league);
  SeasonRecord previous;
  SeasonStarts previous_starts;
  for (size_t i = 0; i < competitions.size(); ++i) {
    SeasonRecord season = LoadSeason(conn, competitions[i].id);
    SeasonStarts starts = i == 0 ? FirstSeasonStarts(season.teams)
                                 : NextSeasonStarts(previous, previous_starts, season.teams);
    StoreStarts(conn, competitions[i].id, starts);
    previous = std::move(season);
    previous_starts = std::move(starts);
  }
  return static_cast<int>(competitions.size());
}

StartRuleComparison CompareStartRules(Connection& conn, const std::vector<int>& leagues) {
  StartRuleComparison result;
  double stored_sum = 0, constant_sum = 0;
  int64_t constant_count = 0;
  for (int league : leagues) {
    const std::vector<CompetitionSeason> competitions = LeagueCompetitions(conn, league);
    for (size_t i = 1; i < competitions.size(); ++i) {
      const SeasonRecord season = LoadSeason(conn, competitions[i].id);
      std::map<int64_t, int32_t> stored, constant;
      Query q(conn);
      q.Open("SELECT ID_MUZSTVO,ELO FROM SUTAZ_MUZSTVA WHERE ID_SUTAZ=" +
             std::to_string(competitions[i].id));
      for (; !q.Eof(); q.Next()) {
        const int64_t team = q.FieldByName("ID_MUZSTVO").AsInteger();
        stored[team] = static_cast<int32_t>(q.FieldByName("ELO").AsInteger());
        constant[team] = kFirstSeasonRating;
      }
      FirstMatchChanges(season, stored, stored_sum, result.changes);
      FirstMatchChanges(season, constant, constant_sum, constant_count);
      ++result.seasons;
    }
  }
  if (result.changes > 0) {
    result.stored = stored_sum / static_cast<double>(result.changes);
    result.constant = constant_sum / static_cast<double>(constant_count);
  }
  return result;
}

}  // namespace morvela
