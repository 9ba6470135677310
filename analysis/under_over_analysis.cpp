#include "analysis/under_over_analysis.h"

#include <map>

#include "i18n/messages.h"
#include "predict/support_routines.h"

namespace morvela {

namespace {

std::string GoalReplayStatement(const std::string& s) {
  return "SELECT VYSLEDKY.*,TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL)) "
         "AS SKORE FROM VYSLEDKY WHERE (ID_SUTAZ=" +
         s + " AND KONTUMACIA=0 AND VYSLEDOK<>\"\") ORDER BY DATUM ASC, ID ASC";
}

int GoalsOf(const Query& q) {
  return static_cast<int>(q.FieldByName("HOME_GOAL").AsInteger() +
                          q.FieldByName("AWAY_GOAL").AsInteger());
}

int SumOfGoals(Query& q) {
  int sum = 0;
  for (q.First(); !q.Eof(); q.Next()) sum += GoalsOf(q);
  return sum;
}

}  // namespace

double GoalAverage(uint16_t total, int count, double average) {
  return count > 0 ? static_cast<double>(total) / count : average;
}

double ExpectedGoals(double e_h, double e_a, int meetings_any, int meetings_same, double x) {
  if (meetings_any == 0) return (e_h + e_a) / 8;
  if (meetings_same == 0) return (e_h + e_a + x) / 9;
  return (e_h + e_a + x) / 10;
}

AnalysisStatus AnalyseUnderOver(Connection& conn, const std::string& competition, int language,
                                int64_t home, int64_t away, GoalTable& table, GoalFigures& f) {
  table = {};
  f = {};
  AnalysisStatus status;

  Query teams(conn);
  teams.Open(AnalysisTeamStatement(competition, language));
  if (teams.RecordCount() > kAnalysisSlots) {
    status.problem = AnalysisProblem::kTooManyTeams;
    status.count = teams.RecordCount();
    return status;
  }
  Query replay(conn);
  replay.Open(GoalReplayStatement(competition));
  status =
      CheckAnalysisLimits(teams, replay, home, away, kAnalysisVenueMatches, [] { return true; });
  if (!status.ok()) return status;

  int slot = 1;
  for (teams.First(); !teams.Eof(); teams.Next(), ++slot) {
    analysis::TGoly& t = table[slot];
    t.id = static_cast<int32_t>(teams.FieldByName("ID_MUZSTVO").AsInteger());
    t.name = teams.FieldByName("NAZOVMUZSTVA").AsString();
    t.average = teams.FieldByName("PR").AsFloat();
    t.average_home = teams.FieldByName("PR_HOME").AsFloat();
    t.average_away = teams.FieldByName("PR_AWAY").AsFloat();
  }

  for (replay.First(); !replay.Eof(); replay.Next()) {
    const int64_t hid = replay.FieldByName("HOME").AsInteger();
    const int64_t aid = replay.FieldByName("AWAY").AsInteger();
    int x = 0, y = 0;
    for (int i = 1; i <= kAnalysisSlots && table[i].id != 0 && (x == 0 || y == 0); ++i) {
      if (x == 0 && table[i].id == hid) x = i;
      if (y == 0 && table[i].id == aid) y = i;
    }
    if (x == 0 || y == 0) continue;
    const int g = GoalsOf(replay);
    const std::string s = replay.FieldByName("SKORE").AsString();
    auto record = [&](analysis::TGoly& t) {
      t.goals_total = static_cast<uint16_t>(t.goals_total + g);
      ++t.goals_count;
      t.goals[t.goals_count] = static_cast<uint8_t>(g);
      t.match_home_slot[t.goals_count] = static_cast<uint16_t>(x);
      t.match_away_slot[t.goals_count] = static_cast<uint16_t>(y);
      t.match_score[t.goals_count] = s;
    };
    analysis::TGoly& hx = table[x];
    record(hx);
    hx.goals_total_home = static_cast<uint16_t>(hx.goals_total_home + g);
    ++hx.goals_home_count;
    hx.goals_home[hx.goals_home_count] = static_cast<uint8_t>(g);
    analysis::TGoly& ay = table[y];
    record(ay);
    ay.goals_total_away = static_cast<uint16_t>(ay.goals_total_away + g);
    ++ay.goals_away_count;
    ay.goals_away[ay.goals_away_count] = static_cast<uint8_t>(g);
  }

  for (int i = 1; i <= kAnalysisSlots && table[i].id != 0; ++i) {
    if (f.h == 0 && table[i].id == home) f.h = i;
    if (f.a == 0 && table[i].id == away) f.a = i;
  }
  const analysis::TGoly& h = table[f.h];
  const analysis::TGoly& a = table[f.a];
  f.average_h = GoalAverage(h.goals_total, h.goals_count, h.average);
  f.average_a = GoalAverage(a.goals_total, a.goals_count, a.average);
  f.average_home_h = GoalAverage(h.goals_total_home, h.goals_home_count, h.average_home);
  f.average_away_a = GoalAverage(a.goals_total_away, a.goals_away_count, a.average_away);
  f.form_h = GoalForm(h.goals, h.goals_count, h.average);
  f.form_a = GoalForm(a.goals, a.goals_count, a.average);
  f.home_form_h = GoalForm(h.goals_home, h.goals_home_count, h.average_home);
  f.away_form_a = GoalForm(a.goals_away, a.goals_away_count, a.average_away);
  f.expected_h = f.average_h + f.average_home_h + f.form_h + f.home_form_h;
  f.expected_a = f.average_a + f.average_away_a + f.form_a + f.away_form_a;

  // The last meetings at either venue and at this one, any season, no date limit.
  const std::string hs = std::to_string(home), as = std::to_string(away);
  Query q(conn);
  q.Open("SELECT TOP 4 HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (  (  (HOME=" + hs +
         " AND AWAY=" + as + ") OR (HOME=" + as + " AND AWAY=" + hs +
         ") ) AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0) ORDER BY "
         "DATUM DESC");
  f.meetings_any = q.RecordCount();
  if (f.meetings_any > 0) {
    f.meetings_goals = static_cast<double>(SumOfGoals(q)) / f.meetings_any;
    q.Open("SELECT TOP 4 HOME_GOAL,AWAY_GOAL FROM VYSLEDKY WHERE (HOME=" + hs + " AND AWAY=" + as +
           " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL AND KONTUMACIA=0) ORDER BY DATUM "
           "DESC");
    f.meetings_same = q.RecordCount();
    if (f.meetings_same > 0)
      f.meetings_goals += static_cast<double>(SumOfGoals(q)) / f.meetings_same;
  }
  f.lambda =
      ExpectedGoals(f.expected_h, f.expected_a, f.meetings_any, f.meetings_same, f.meetings_goals);
  f.under = static_cast<uint8_t>(UnderPercentage(f.lambda));

  // Head-to-head record at this venue: under when fewer than three goals.
  const std::string n = NameColumn(language);
  q.Open("SELECT DATUM,(SELECT " + n + " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.HOME) AS DOMACI, " +
         "(SELECT " + n + " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.AWAY) AS HOSTIA," +
         "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL)) AS SKORE" +
         ",ID,HOME,AWAY,HOME_GOAL,AWAY_GOAL,KONTUMACIA,VYSLEDOK,NERATAT FROM VYSLEDKY WHERE "
         "(VYSLEDKY.HOME=" +
         hs + " AND VYSLEDKY.AWAY=" + as +
         " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL) ORDER BY DATUM DESC");
  for (; !q.Eof(); q.Next()) {
    if (GoalsOf(q) < 3) {
      ++f.under_count;
    } else {
      ++f.over_count;
    }
  }
  return status;
}

}  // namespace morvela
