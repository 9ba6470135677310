// A small fixture builder: an empty program database in a temp folder, with helpers to add
// leagues' competitions, teams, played matches, fixtures and odds.
#pragma once

#include <optional>
#include <string>

#include "core/data_module.h"
#include "test_support.h"

namespace morvela::test {

struct SeasonStart {
  int elo = 1500, elo_home = 1500, elo_away = 1500;
  int ht_elo = 1500, ht_elo_home = 1500, ht_elo_away = 1500;
  int sht_elo = 1500, sht_elo_home = 1500, sht_elo_away = 1500;
  double pr = 2.5, pr_home = 2.5, pr_away = 2.5;
};

struct MatchSpec {
  int competition = 0;
  std::string date;  // "yyyy-mm-dd"
  int home = 0, away = 0;
  std::optional<int> home_goals, away_goals;        // absent: a fixture
  std::optional<int> ht_home_goals, ht_away_goals;  // absent: no half-time score
  bool forfeit = false;
  std::optional<int> elo_diff, ht_elo_diff, sht_elo_diff, under;
};

class FixtureDb {
 public:
  FixtureDb();
  Tdm& dm() { return dm_; }
  Connection& conn() { return dm_.ADOConnection1; }
  const std::string& Folder() const { return folder_; }
  std::string Path() const { return folder_ + "Morvela.mdb"; }

  int AddCompetition(int league, const std::string& season = "Active", int teams = 0,
                     int order = 0);
  int AddTeam(int league, const std::string& name);
  void AddTeamToCompetition(int competition, int team, const SeasonStart& start = {});
  // Inserts a match (played when both full-time goals are given); derives outcomes and the
  // second-half goals the way the importer does. Returns the new ID.
  int AddMatch(const MatchSpec& m);
  // Odds row for a match: 1, X, 2, 1X, X2, 12 (full time) and under/over; 0 leaves a column
  // NULL.
  void AddOdds(int match_id, double k1, double kx, double k2, double k1x = 0, double kx2 = 0,
               double k12 = 0, double under = 0, double over = 0);

 private:
  TempDir dir_;
  std::string folder_;
  Tdm dm_;
};

// The rows of a query as "a|b|c" lines, NULL shown as "-": whole tables compared in one string.
std::string DumpRows(Connection& conn, const std::string& sql);

}  // namespace morvela::test
