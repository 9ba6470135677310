// The league tables on the real data: every view of every side in each result mode for the
// active season of every league, and the standings checked against a plain count of the
// season's scores written here without the window's code.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "fake_ui.h"
#include "program/program.h"
#include "realdata_support.h"
#include "tables/league_tables.h"
#include "test_support.h"

namespace morvela {
namespace {

struct Count {
  int played = 0, points = 0, goals_for = 0, goals_against = 0;
  bool operator==(const Count&) const = default;
};

// Points and goals per team straight from the scores: NERATAT rows never count, forfeits only
// at full time; a win is decided by the goals, not by the stored outcome.
std::map<int64_t, Count> PlainCount(Connection& conn, const std::string& competition, int mode,
                                    TableSide side) {
  const std::string prefix = mode == 1 ? "HT_" : (mode == 2 ? "SHT_" : "");
  Query q(conn);
  q.Open("SELECT HOME,AWAY," + prefix + "HOME_GOAL AS HG," + prefix +
         "AWAY_GOAL AS AG,KONTUMACIA FROM VYSLEDKY WHERE ID_SUTAZ=" + competition +
         " AND NERATAT=0 AND " + prefix + "HOME_GOAL IS NOT NULL AND " + prefix +
         "AWAY_GOAL IS NOT NULL");
  std::map<int64_t, Count> counts;
  for (; !q.Eof(); q.Next()) {
    if (mode != 0 && q.FieldByName("KONTUMACIA").AsBoolean()) continue;
    const int hg = static_cast<int>(q.FieldByName("HG").AsInteger());
    const int ag = static_cast<int>(q.FieldByName("AG").AsInteger());
    auto add = [&counts](int64_t team, int own, int other) {
      Count& c = counts[team];
      ++c.played;
      c.goals_for += own;
      c.goals_against += other;
      c.points += own > other ? 3 : (own == other ? 1 : 0);
    };
    if (side != TableSide::kAway) add(q.FieldByName("HOME").AsInteger(), hg, ag);
    if (side != TableSide::kHome) add(q.FieldByName("AWAY").AsInteger(), ag, hg);
  }
  return counts;
}

TEST(LeagueTablesRealData, EveryViewOfEveryLeagueAndStandingsMatchAPlainCount) {
  if (!test::HaveRealData())
    GTEST_SKIP() << "real match data not found at " << test::RealDataFolder();
  test::TempDir dir;
  std::filesystem::copy_file(test::RealDatabase(), dir.Path() / "Morvela.mdb");
  test::FakeUi ui;
  NullWaitIndicator wait;
  Program p(ui, wait);
  p.folder = dir.Folder();
  p.dm.ADOConnection1.SetConnectionString(MakeConnectionString(dir.Folder(), ""));
  p.dm.ADOConnection1.Open();
  p.messages.NastavJazyk(kEnglish);

  int views = 0, checked_teams = 0;
  for (int league = 1; league <= 20; ++league) {
    p.selection.league = std::to_string(league);
    NacitajIDsutaz(p.dm, p.selection, "Active");
    ASSERT_FALSE(p.selection.competition.empty()) << "league " << league;
    for (int mode = 0; mode <= 3; ++mode) {
      SCOPED_TRACE("league " + std::to_string(league) + " mode " + std::to_string(mode));
      p.selection.result_mode = test::ModeOf(mode);
      const std::vector<uint8_t> kinds =
          mode == 3 ? std::vector<uint8_t>{12, 15} : std::vector<uint8_t>{3, 9};
      for (uint8_t kind : kinds) {
        TForm2 t(p, {static_cast<TableKind>(kind)});
        t.FormShow();
        ASSERT_GT(t.TeamCount(), 8);
        for (int window = 0; window < (kind == 3 || kind == 12 ? 1 : 4); ++window) {
          t.SelectFormWindow(window);
          for (TableSide side : {TableSide::kHome, TableSide::kAway, TableSide::kTogether}) {
            if (side == TableSide::kHome) t.Button1Click();
            if (side == TableSide::kAway) t.Button2Click();
            if (side == TableSide::kTogether) t.Button3Click();
            ++views;
            ASSERT_EQ(t.RowCount(), t.TeamCount() + 1);
            if (kind == 3) {
              const auto counts =
                  PlainCount(p.dm.ADOConnection1, p.selection.competition, mode, side);
              int goals_for = 0, goals_against = 0;
              for (const tables::Tmuzstva& m : t.Teams()) {
                const auto it = counts.find(m.id);
                const Count expected = it == counts.end() ? Count{} : it->second;
                EXPECT_EQ((Count{m.played, m.value, m.goals_for, m.goals_against}), expected)
                    << m.name;
                goals_for += m.goals_for;
                goals_against += m.goals_against;
                ++checked_teams;
              }
              if (side == TableSide::kTogether) {
                EXPECT_EQ(goals_for, goals_against);
              }
              for (size_t r = 1; r < t.Teams().size(); ++r)
                EXPECT_GE(t.Teams()[r - 1].value, t.Teams()[r].value);
            } else if (kind == 9) {
              for (const tables::Tmuzstva& m : t.Teams()) EXPECT_LE(m.history_count, 50);
            } else {
              for (const tables::TGoly& g : t.GoalRows()) {
                if (g.played > 0) {
                  EXPECT_EQ(g.under_percent + g.over_percent, 100) << g.name;
                }
                if (kind == 15) {
                  EXPECT_LE(g.played, t.FormWindow());
                }
              }
            }
          }
        }
        if (kind == 3) {
          t.Button4Click();
          t.Button5Click();
          t.Button6Click();
          views += 3;
          ASSERT_EQ(t.RowCount(), t.TeamCount() + 1);
        }
        t.Close();
      }
    }
  }
  EXPECT_GT(views, 1000);
  EXPECT_GT(checked_teams, 20 * 3 * 3 * 10);
  // Real team lists match their team counts; nothing had to be said.
  for (const auto& m : ui.messages) ADD_FAILURE() << m.text;
}

}  // namespace
}  // namespace morvela
