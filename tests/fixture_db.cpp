#include "fixture_db.h"

#include "builder/schema.h"

namespace morvela::test {

namespace {

std::string Num(std::optional<int> v) {
  return v ? std::to_string(*v) : "NULL";
}

std::string Outcome(std::optional<int> h, std::optional<int> a) {
  if (!h || !a) return "NULL";
  return *h > *a ? "\"1\"" : (*h < *a ? "\"2\"" : "\"0\"");
}

std::string Odds(double v) {
  if (v == 0) return "NULL";
  std::string s = std::to_string(v);
  return s;
}

}  // namespace

FixtureDb::FixtureDb() : folder_(dir_.Folder()) {
  CreateEmptyDatabase(Path(), false);
  dm_.ADOConnection1.SetConnectionString(MakeConnectionString(folder_, ""));
  dm_.ADOConnection1.Open();
}

int FixtureDb::AddCompetition(int league, const std::string& season, int teams, int order) {
  conn().Execute("INSERT INTO SUTAZ (ID_LIGA,ROCNIK,ID_POR,POCET,LM,EL,BARAZ,VYP) VALUES (" +
                 std::to_string(league) + ",\"" + season + "\"," + std::to_string(order) + "," +
                 std::to_string(teams) + ",0,0,0,0)");
  return static_cast<int>(conn().LastInsertId());
}

int FixtureDb::AddTeam(int league, const std::string& name) {
  conn().Execute("INSERT INTO MUZSTVA (ID_LIGA,NAZOV,NAZOV_EN,NAZOV_DE,NAZOV_IT) VALUES (" +
                 std::to_string(league) + ",\"" + name + "\",\"" + name + "\",\"" + name + "\",\"" +
                 name + "\")");
  return static_cast<int>(conn().LastInsertId());
}

void FixtureDb::AddTeamToCompetition(int competition, int team, const SeasonStart& s) {
  auto n = [](int v) { return std::to_string(v); };
  auto d = [](double v) { return std::to_string(v); };
  conn().Execute(
      "INSERT INTO SUTAZ_MUZSTVA (ID_SUTAZ,ID_MUZSTVO,ELO,ELO_HOME,ELO_AWAY,HT_ELO,HT_ELO_HOME,"
      "HT_ELO_AWAY,SHT_ELO,SHT_ELO_HOME,SHT_ELO_AWAY,PR,PR_HOME,PR_AWAY) VALUES (" +
      n(competition) + "," + n(team) + "," + n(s.elo) + "," + n(s.elo_home) + "," + n(s.elo_away) +
      "," + n(s.ht_elo) + "," + n(s.ht_elo_home) + "," + n(s.ht_elo_away) + "," + n(s.sht_elo) +
      "," + n(s.sht_elo_home) + "," + n(s.sht_elo_away) + "," + d(s.pr) + "," + d(s.pr_home) + "," +
      d(s.pr_away) + ")");
}

int FixtureDb::AddMatch(const MatchSpec& m) {
  std::optional<int> sh, sa;
  if (m.home_goals && m.ht_home_goals) sh = *m.home_goals - *m.ht_home_goals;
  if (m.away_goals && m.ht_away_goals) sa = *m.away_goals - *m.ht_away_goals;
  conn().Execute(
      "INSERT INTO VYSLEDKY (ID_SUTAZ,DATUM,HOME,AWAY,HOME_GOAL,AWAY_GOAL,VYSLEDOK,HT_HOME_GOAL,"
      "HT_AWAY_GOAL,HT_VYSLEDOK,SHT_HOME_GOAL,SHT_AWAY_GOAL,SHT_VYSLEDOK,KONTUMACIA,ELO_ROZDIEL,"
      "HT_ELO_ROZDIEL,SHT_ELO_ROZDIEL,UNDER) VALUES (" +
      std::to_string(m.competition) + ",#" + m.date + "#," + std::to_string(m.home) + "," +
      std::to_string(m.away) + "," + Num(m.home_goals) + "," + Num(m.away_goals) + "," +
      Outcome(m.home_goals, m.away_goals) + "," + Num(m.ht_home_goals) + "," +
      Num(m.ht_away_goals) + "," + Outcome(m.ht_home_goals, m.ht_away_goals) + "," + Num(sh) + "," +
      Num(sa) + "," + Outcome(sh, sa) + "," + (m.forfeit ? "\"-1\"" : "\"0\"") + "," +
      Num(m.elo_diff) + "," + Num(m.ht_elo_diff) + "," + Num(m.sht_elo_diff) + "," + Num(m.under) +
      ")");
  return static_cast<int>(conn().LastInsertId());
}

void FixtureDb::AddOdds(int match_id, double k1, double kx, double k2, double k1x, double kx2,
                        double k12, double under, double over) {
  conn().Execute(
      "INSERT INTO KURZY (ID,KURZ1,KURZX,KURZ2,KURZ1X,KURZX2,KURZ12,UNDER,OVER) VALUES (" +
      std::to_string(match_id) + "," + Odds(k1) + "," + Odds(kx) + "," + Odds(k2) + "," +
      Odds(k1x) + "," + Odds(kx2) + "," + Odds(k12) + "," + Odds(under) + "," + Odds(over) + ")");
}

std::string DumpRows(Connection& conn, const std::string& sql) {
  Query q(conn);
  q.Open(sql);
  std::string out;
  for (; !q.Eof(); q.Next()) {
    for (size_t c = 0; c < q.FieldNames().size(); ++c) {
      const Field f = q.FieldByName(q.FieldNames()[c]);
      out += (c ? "|" : "") + (f.IsNull() ? std::string("-") : f.AsString());
    }
    out += "\n";
  }
  return out;
}

}  // namespace morvela::test
