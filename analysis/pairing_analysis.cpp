#include "analysis/pairing_analysis.h"

#include <algorithm>
#include <functional>
#include <map>

#include "core/helpers.h"
#include "core/rounding.h"
#include "i18n/messages.h"
#include "predict/outcome_search.h"
#include "predict/support_routines.h"

namespace morvela {

namespace {

const ModeColumns& Columns(ResultMode result_mode) {
  if (!HasOutcomes(result_mode))
    throw std::invalid_argument("the pairing analysis works in full time and the halves only");
  return ColumnsOf(result_mode);
}

std::string ReplayStatement(const std::string& s, const ModeColumns& m) {
  const std::string hg = m.home_goal, ag = m.away_goal;
  return "SELECT VYSLEDKY.*,TRIM(STR(VYSLEDKY." + hg + "))+\" : \"+TRIM(STR(VYSLEDKY." + ag +
         ")) AS SKORE FROM VYSLEDKY WHERE (ID_SUTAZ=" + s + " AND " + hg + " IS NOT NULL AND " +
         ag + " IS NOT NULL AND KONTUMACIA=0) ORDER BY DATUM ASC, ID ASC";
}

std::string RecordStatement(const ModeColumns& m, int64_t h, int64_t a, int language) {
  const std::string n = NameColumn(language);
  const std::string hg = m.home_goal, ag = m.away_goal;
  return "SELECT DATUM,(SELECT " + n + " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.HOME) AS DOMACI, " +
         "(SELECT " + n + " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.AWAY) AS HOSTIA," +
         "TRIM(STR(VYSLEDKY." + hg + "))+\" : \"+TRIM(STR(VYSLEDKY." + ag + ")) AS SKORE" +
         ",ID,HOME,AWAY,KONTUMACIA," + m.outcome +
         ",NERATAT FROM VYSLEDKY WHERE (VYSLEDKY.HOME=" + std::to_string(h) +
         " AND VYSLEDKY.AWAY=" + std::to_string(a) + " AND " + hg + " IS NOT NULL AND " + ag +
         " IS NOT NULL) ORDER BY DATUM DESC";
}

// Per-team match counts of a replay, for the limit check before anything is written.
struct Counts {
  int all = 0, home = 0, away = 0;
};

}  // namespace

std::string AnalysisTeamStatement(const std::string& competition, int language) {
  const std::string n = NameColumn(language);
  return "SELECT SUTAZ_MUZSTVA.*,(SELECT " + n +
         " FROM MUZSTVA WHERE MUZSTVA.ID=SUTAZ_MUZSTVA.ID_MUZSTVO) AS NAZOVMUZSTVA FROM "
         "SUTAZ_MUZSTVA WHERE (ID_SUTAZ=" +
         competition + ") ORDER BY ID_MUZSTVO ASC";
}

template <int V>
int FindTeamSlot(const TeamTableOf<V>& table, int64_t team) {
  for (int i = 1; i <= kAnalysisSlots; ++i) {
    if (table[i].id == 0) break;
    if (table[i].id == team) return i;
  }
  return 0;
}

template <int V>
void ComputeForms(const analysis::TeamSlot<V>& h, const analysis::TeamSlot<V>& a,
                  PairingFigures& f) {
  auto form = [](const analysis::TeamSlot<V>& t) {
    const int n = t.history_count;
    return int32_t{t.history[n]} - int32_t{t.history[n >= 4 ? n - 4 : 0]};
  };
  auto venue_form = [](const auto& history, int n) {
    return int32_t{history[n]} - int32_t{history[n >= 2 ? n - 2 : 0]};
  };
  f.form_h = form(h);
  f.form_a = form(a);
  f.home_form_h = venue_form(h.history_home, h.history_home_count);
  f.away_form_a = venue_form(a.history_away, a.history_away_count);
  // Integer division truncates toward zero, as the design asks for both halved terms.
  f.difference = (f.home_form_h - f.away_form_a) / 3 + (f.form_h - f.form_a) +
                 (int32_t{h.rating} - int32_t{a.rating}) +
                 (int32_t{h.rating_home} - int32_t{a.rating_away}) / 2;
}

std::string FullTimeMeetingsStatement(int64_t home, int64_t away, const Date& reference) {
  return MeetingsStatement(ColumnsOf(ResultMode::kFullTime).outcome, home, away, reference);
}

int VratPoradie(const TeamTable& table, int t, int k) {
  if (t < 1 || t > kAnalysisSlots || k < 0 || k > kAnalysisMatches) return 0;
  std::array<uint16_t, kAnalysisSlots> values{};
  for (int i = 1; i <= kAnalysisSlots; ++i) values[i - 1] = table[i].history[k];
  std::sort(values.begin(), values.end(), std::greater<>());
  const uint16_t mine = table[t].history[k];
  for (int p = 0; p < kAnalysisSlots; ++p)
    if (values[p] == mine) return p + 1;
  return 0;
}

AnalysisStatus CheckAnalysisLimits(Query& teams, Query& replay, int64_t home, int64_t away,
                                   int venue_limit, const std::function<bool()>& counts_row) {
  AnalysisStatus status;
  std::map<int64_t, Counts> counts;
  for (teams.First(); !teams.Eof(); teams.Next())
    counts.try_emplace(teams.FieldByName("ID_MUZSTVO").AsInteger());
  teams.First();
  if (!counts.count(home)) {
    status.problem = AnalysisProblem::kHomeTeamNotFound;
    status.team = home;
    return status;
  }
  if (!counts.count(away)) {
    status.problem = AnalysisProblem::kAwayTeamNotFound;
    status.team = away;
    return status;
  }
  for (replay.First(); !replay.Eof(); replay.Next()) {
    auto h = counts.find(replay.FieldByName("HOME").AsInteger());
    auto a = counts.find(replay.FieldByName("AWAY").AsInteger());
    if (h == counts.end() || a == counts.end() || !counts_row()) continue;
    ++h->second.all;
    ++h->second.home;
    ++a->second.all;
    ++a->second.away;
  }
  replay.First();
  for (const auto& [team, c] : counts) {
    if (c.all > kAnalysisMatches || c.home > venue_limit || c.away > venue_limit) {
      status.problem = AnalysisProblem::kTooManyMatches;
      status.team = team;
      status.count = c.all;
      return status;
    }
  }
  return status;
}

template <int V>
AnalysisStatus AnalysePairing(Connection& conn, const PairingInput& in, TeamTableOf<V>& table,
                              PairingFigures& f) {
  const ModeColumns& m = Columns(in.result_mode);
  table = {};
  f = {};
  AnalysisStatus status;

  Query teams(conn);
  teams.Open(AnalysisTeamStatement(in.competition, in.language));
  if (teams.RecordCount() > kAnalysisSlots) {
    status.problem = AnalysisProblem::kTooManyTeams;
    status.count = teams.RecordCount();
    return status;
  }
  Query replay(conn);
  replay.Open(ReplayStatement(in.competition, m));
  auto played = [&]() {
    return !replay.FieldByName(m.home_goal).AsString().empty() &&
           !replay.FieldByName(m.away_goal).AsString().empty();
  };
  status = CheckAnalysisLimits(teams, replay, in.home, in.away, V, played);
  if (!status.ok()) return status;

  // Within the limits: load the table.
  int slot = 1;
  for (teams.First(); !teams.Eof(); teams.Next(), ++slot) {
    analysis::TeamSlot<V>& t = table[slot];
    t.id = static_cast<int32_t>(teams.FieldByName("ID_MUZSTVO").AsInteger());
    t.name = teams.FieldByName("NAZOVMUZSTVA").AsString();
    t.rating = static_cast<uint16_t>(teams.FieldByName(m.elo).AsInteger());
    t.rating_home = static_cast<uint16_t>(teams.FieldByName(m.elo_home).AsInteger());
    t.rating_away = static_cast<uint16_t>(teams.FieldByName(m.elo_away).AsInteger());
    t.history[0] = t.rating;
    t.history_home[0] = t.rating_home;
    t.history_away[0] = t.rating_away;
  }

  // The replay: a single forward pass over the season's played matches.
  for (replay.First(); !replay.Eof(); replay.Next()) {
    const int64_t home = replay.FieldByName("HOME").AsInteger();
    const int64_t away = replay.FieldByName("AWAY").AsInteger();
    int x = 0, y = 0;
    for (int i = 1; i <= kAnalysisSlots && table[i].id != 0 && (x == 0 || y == 0); ++i) {
      if (x == 0 && table[i].id == home) x = i;
      if (y == 0 && table[i].id == away) y = i;
    }
    // A team missing from the competition's list has no slot: the match moves no rating.
    if (x == 0 || y == 0 || !played()) continue;
    const auto g1 = static_cast<int32_t>(replay.FieldByName(m.home_goal).AsInteger());
    const auto g2 = static_cast<int32_t>(replay.FieldByName(m.away_goal).AsInteger());
    const std::string score = replay.FieldByName("SKORE").AsString();
    analysis::TeamSlot<V>& hx = table[x];
    analysis::TeamSlot<V>& ay = table[y];
    const int32_t d = RatingChange400(hx.rating, ay.rating, g1, g2);
    const int32_t e = RatingChange200(hx.rating_home, ay.rating_away, g1, g2);
    hx.rating = static_cast<uint16_t>(hx.rating + d);
    ++hx.history_count;
    hx.history[hx.history_count] = hx.rating;
    hx.rating_home = static_cast<uint16_t>(hx.rating_home + e);
    ++hx.history_home_count;
    hx.history_home[hx.history_home_count] = hx.rating_home;
    hx.match_home_slot[hx.history_count] = static_cast<uint16_t>(x);
    hx.match_away_slot[hx.history_count] = static_cast<uint16_t>(y);
    hx.match_score[hx.history_count] = score;

    ay.rating = static_cast<uint16_t>(ay.rating - d);
    ++ay.history_count;
    ay.history[ay.history_count] = ay.rating;
    ay.rating_away = static_cast<uint16_t>(ay.rating_away - e);
    ++ay.history_away_count;
    ay.history_away[ay.history_away_count] = ay.rating_away;
    ay.match_home_slot[ay.history_count] = static_cast<uint16_t>(x);
    ay.match_away_slot[ay.history_count] = static_cast<uint16_t>(y);
    ay.match_score[ay.history_count] = score;
  }

  f.h = FindTeamSlot(table, in.home);
  f.a = FindTeamSlot(table, in.away);
  ComputeForms(table[f.h], table[f.a], f);

  // Head-to-head adjustment: the last meetings with the same venue before the reference date.
  const std::vector<Meeting> meetings = ReadMeetings(
      conn, MeetingsStatement(m.outcome, in.home, in.away, in.reference), m.outcome, in.reference);
  f.meetings = static_cast<int>(meetings.size());
  f.adjusted = AdjustByMeetings(f.difference, meetings);

  // Head-to-head record: every meeting at this venue, any season, forfeits included.
  Query q(conn);
  q.Open(RecordStatement(m, in.home, in.away, in.language));
  for (; !q.Eof(); q.Next()) {
    const std::optional<int64_t> o = OutcomeValue(q.FieldByName(m.outcome));
    if (o == 1) ++f.wins;
    if (o == 0) ++f.draws;
    if (o == 2) ++f.losses;
  }
  return status;
}

template int FindTeamSlot(const TeamTable&, int64_t);
template int FindTeamSlot(const LiveTeamTable&, int64_t);
template void ComputeForms(const analysis::Tmuzstva&, const analysis::Tmuzstva&, PairingFigures&);
template void ComputeForms(const analysis::TeamSlot<kAnalysisMatches>&,
                           const analysis::TeamSlot<kAnalysisMatches>&, PairingFigures&);
template AnalysisStatus AnalysePairing(Connection&, const PairingInput&, TeamTable&,
                                       PairingFigures&);
template AnalysisStatus AnalysePairing(Connection&, const PairingInput&, LiveTeamTable&,
                                       PairingFigures&);

}  // namespace morvela
