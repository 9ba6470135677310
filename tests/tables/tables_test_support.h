// A program over a fixture database with one competition of named teams, for the league
// tables tests.
#pragma once

#include <string>
#include <vector>

#include "core/helpers.h"
#include "fake_ui.h"
#include "fixture_db.h"
#include "program/program.h"
#include "tables/league_tables.h"
#include "test_support.h"

namespace morvela::test {

class TablesDb {
 public:
  // `teams` teams named T1, T2, ... (ids ascending in that order) in league 4's active season;
  // POCET is `pocet`, or the team count when negative.
  explicit TablesDb(int teams, int pocet = -1, const SeasonStart& start = {}) : program_(ui, wait) {
    Program& p = program_;
    p.folder = db_.Folder();
    p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(db_.Folder(), ""));
    p.dm.ADOConnection1.Open();
    p.messages.NastavJazyk(kEnglish);
    competition_ = db_.AddCompetition(4, "Active", pocet < 0 ? teams : pocet);
    for (int i = 1; i <= teams; ++i) AddTeam("T" + std::to_string(i), start);
    p.selection.league = "4";
    p.selection.competition = std::to_string(competition_);
    p.selection.season = "Active";
    p.selection.team_count = static_cast<uint8_t>(pocet < 0 ? teams : pocet);
  }

  int AddTeam(const std::string& name, const SeasonStart& start = {}) {
    const int id = db_.AddTeam(4, name);
    db_.AddTeamToCompetition(competition_, id, start);
    teams_.push_back(id);
    return id;
  }

  // Team i (1-based, in creation order).
  int Team(int i) const { return teams_[static_cast<size_t>(i - 1)]; }

  // A played match of teams i and j; half-time goals default to the full-time goals.
  int Match(const std::string& date, int i, int j, int hg, int ag, bool forfeit = false,
            bool neratat = false, int ht_h = -1, int ht_a = -1) {
    MatchSpec m{.competition = competition_, .date = date, .home = Team(i), .away = Team(j)};
    m.home_goals = hg;
    m.away_goals = ag;
    m.ht_home_goals = ht_h < 0 ? hg : ht_h;
    m.ht_away_goals = ht_a < 0 ? ag : ht_a;
    m.forfeit = forfeit;
    const int id = db_.AddMatch(m);
    if (neratat)
      db_.conn().Execute("UPDATE VYSLEDKY SET NERATAT=TRUE WHERE ID=" + std::to_string(id));
    return id;
  }

  void Zones(int lm, int el, int baraz, int vyp) {
    program_.selection.LM = static_cast<uint8_t>(lm);
    program_.selection.EL = static_cast<uint8_t>(el);
    program_.selection.BARAZ = static_cast<uint8_t>(baraz);
    program_.selection.VYP = static_cast<uint8_t>(vyp);
  }

  // Sets the table context as an opener does (a match of teams i and j when i > 0).
  void Context(int kind, int home = 0, int away = 0) {
    context_ = {static_cast<TableKind>(kind)};
    if (home > 0) context_.match = TableMatch{Team(home), Team(away)};
  }
  const TableContext& context() const { return context_; }

  Program& program() { return program_; }
  FixtureDb& db() { return db_; }
  int competition() const { return competition_; }

  FakeUi ui;
  NullWaitIndicator wait;

 private:
  TableContext context_;
  FixtureDb db_;
  Program program_;
  int competition_ = 0;
  std::vector<int> teams_;
};

// Column `column` of the team rows, top to bottom.
inline std::vector<std::string> ColumnTexts(const TForm2& t, int column) {
  std::vector<std::string> out;
  for (int r = 1; r < t.RowCount(); ++r) out.push_back(t.Cell(column, r));
  return out;
}

}  // namespace morvela::test
