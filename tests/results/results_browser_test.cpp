// The results browser and the result editor through their models, on a small fixture season.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/helpers.h"
#include "results/results_browser.h"
#include "tables/tables_test_support.h"

namespace morvela {
namespace {

// Plays the editor the way a test wants: `fill` sets the fields, then OK (or Back).
class ScriptedEditor : public ResultEditorView {
 public:
  std::function<void(TForm4&)> fill;
  bool press_ok = true;
  bool ok_result = false;
  void ShowResultEditor(TForm4& e) override {
    if (fill) fill(e);
    if (press_ok)
      ok_result = e.Ok();
    else
      e.Back();
  }
};

int IndexOf(const std::vector<TeamItem>& list, const std::string& name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].name == name) return static_cast<int>(i);
  return -1;
}

struct Row {
  std::string vysledok, ht, sht;
  int64_t ht_h, ht_a, sht_h, sht_a;
  bool forfeit;
};

Row ReadRow(test::TablesDb& db, const std::string& id) {
  Query q(db.db().conn());
  q.Open("SELECT * FROM VYSLEDKY WHERE ID=" + id);
  return {q.FieldByName("VYSLEDOK").AsString(),       q.FieldByName("HT_VYSLEDOK").AsString(),
          q.FieldByName("SHT_VYSLEDOK").AsString(),   q.FieldByName("HT_HOME_GOAL").AsInteger(),
          q.FieldByName("HT_AWAY_GOAL").AsInteger(),  q.FieldByName("SHT_HOME_GOAL").AsInteger(),
          q.FieldByName("SHT_AWAY_GOAL").AsInteger(), q.FieldByName("KONTUMACIA").AsBoolean()};
}

TEST(ResultEditorTest, AddStoresOutcomesHalvesAndForfeits) {
  struct Case {
    int h, a, hth, hta;
    bool forfeit;
    Row want;
    std::string score;
  } cases[] = {
      {2, 1, 1, 1, false, {"1", "0", "1", 1, 1, 1, 0, false}, "2 : 1   (1 : 1)"},
      {0, 2, 0, 1, false, {"2", "2", "2", 0, 1, 0, 1, false}, "0 : 2   (0 : 1)"},
      {3, 0, 2, 0, true, {"1", "", "", 0, 0, 0, 0, true}, "3 : 0 K"},
      // A forfeit stores no halves, so half-time fields left from before (here above the final
      // score) neither refuse it nor reach the row.
      {0, 3, 2, 0, true, {"2", "", "", 0, 0, 0, 0, true}, "0 : 3 K"},
  };
  for (const Case& c : cases) {
    test::TablesDb db(3);
    db.program().today = *ParseIsoDate("2020-08-10");
    TForm3 browser(db.program());
    browser.PrepareOwnList();
    browser.FormShow();
    ScriptedEditor ed;
    ed.fill = [&](TForm4& e) {
      EXPECT_EQ(e.date, db.program().today) << "an empty list proposes today";
      e.home_index = IndexOf(e.home_list, "T1");
      e.away_index = IndexOf(e.away_list, "T3");
      e.home_goals = c.h, e.away_goals = c.a, e.ht_home_goals = c.hth, e.ht_away_goals = c.hta;
      e.check = c.forfeit;
    };
    browser.Add(ed);
    ASSERT_TRUE(ed.ok_result);
    ASSERT_EQ(browser.RowCount(), 1);
    EXPECT_EQ(browser.RowId(browser.CurrentRow()), browser.remembered_row);
    const Row r = ReadRow(db, browser.remembered_row);
    EXPECT_EQ(r.vysledok, c.want.vysledok);
    EXPECT_EQ(r.ht, c.want.ht);
    EXPECT_EQ(r.sht, c.want.sht);
    EXPECT_EQ(std::vector<int64_t>({r.ht_h, r.ht_a, r.sht_h, r.sht_a}),
              std::vector<int64_t>({c.want.ht_h, c.want.ht_a, c.want.sht_h, c.want.sht_a}));
    EXPECT_EQ(r.forfeit, c.want.forfeit);
    EXPECT_EQ(browser.CellText(0, 3), c.score);
    EXPECT_TRUE(browser.results_changed);
  }
}

TEST(ResultEditorTest, RefusesWhatItCannotStoreAndWritesNothing) {
  test::TablesDb db(3);
  const int id = db.Match("2020-08-01", 1, 2, 2, 1, false, false, 1, 0);
  TForm3 browser(db.program());
  browser.PrepareOwnList();
  browser.FormShow();
  struct Case {
    int home, away, h, a, hth, hta;
    std::string message;
  } cases[] = {
      {1, 1, 2, 1, 0, 0, "The same two teams are selected !"},
      {1, 2, 1, 1, 2, 0, "The half-time score cannot be higher than the final score !"},
      {1, 2, 1, 3, 0, 4, "The half-time score cannot be higher than the final score !"},
  };
  for (const Case& c : cases) {
    db.ui.messages.clear();
    ScriptedEditor ed;
    ed.fill = [&](TForm4& e) {
      e.home_index = IndexOf(e.home_list, "T" + std::to_string(c.home));
      e.away_index = IndexOf(e.away_list, "T" + std::to_string(c.away));
      e.home_goals = c.h, e.away_goals = c.a, e.ht_home_goals = c.hth, e.ht_away_goals = c.hta;
    };
    browser.Edit(ed);
    EXPECT_FALSE(ed.ok_result);
    ASSERT_EQ(db.ui.messages.size(), 1u);
    EXPECT_EQ(db.ui.messages[0].text, c.message);
    const Row r = ReadRow(db, std::to_string(id));
    EXPECT_EQ(r.vysledok, "1");
    EXPECT_EQ(r.ht_h, 1);
    EXPECT_FALSE(browser.saved);
  }
  EXPECT_FALSE(browser.results_changed);
}

TEST(ResultsBrowserTest, OpensAtTheRowNearestTodayTheLaterWinningTies) {
  test::TablesDb db(4);
  db.Match("2020-08-01", 1, 2, 1, 0);
  db.Match("2020-08-05", 3, 4, 1, 0);  // 2 days before today
  db.Match("2020-08-09", 2, 1, 1, 0);  // 2 days after: the later row wins
  db.Match("2020-08-20", 4, 3, 1, 0);
  db.program().today = *ParseIsoDate("2020-08-07");
  TForm3 browser(db.program());
  browser.PrepareOwnList();
  browser.FormShow();
  EXPECT_EQ(browser.CurrentRow(), 2);
  EXPECT_EQ(browser.CellText(2, 0), "09.08.2020");

  db.program().selection.season = "2019/2020";  // a past season starts at the first row
  browser.FormShow();
  EXPECT_EQ(browser.CurrentRow(), 0);
}

TEST(ResultsBrowserTest, TitleClicksSortAndTheirNoOps) {
  test::TablesDb db(3);
  db.Match("2020-08-01", 3, 1, 1, 0);
  db.Match("2020-08-02", 1, 2, 1, 0);
  db.Match("2020-08-03", 2, 3, 1, 0);
  // The teams sort by the names the list shows, not by their ids.
  db.db().conn().Execute("UPDATE MUZSTVA SET NAZOV_EN='Z1' WHERE ID=" + std::to_string(db.Team(1)));
  db.program().today = *ParseIsoDate("2020-08-01");
  TForm3 browser(db.program());
  browser.PrepareOwnList();
  browser.FormShow();
  auto homes = [&] {
    std::string s;
    for (int r = 0; r < browser.RowCount(); ++r) s += browser.CellText(r, 1);
    return s;
  };
  constexpr auto kUp = SortDirection::kAscending;
  constexpr auto kDown = SortDirection::kDescending;
  struct Step {
    int column;
    ResultsSort sort;
    SortDirection dir;
    std::string homes;
  } steps[] = {
      {1, ResultsSort::kHome, kUp, "T2T3Z1"},   {1, ResultsSort::kHome, kDown, "Z1T3T2"},
      {3, ResultsSort::kHome, kDown, "Z1T3T2"},  // the score column does nothing
      {2, ResultsSort::kGuest, kUp, "Z1T2T3"},  {0, ResultsSort::kDate, kUp, "T3Z1T2"},
      {0, ResultsSort::kDate, kDown, "T2Z1T3"},
  };
  for (const Step& s : steps) {
    const std::string selected = browser.RowId(browser.CurrentRow());
    browser.TitleClick(s.column);
    EXPECT_EQ(browser.sort, s.sort) << s.column;
    EXPECT_EQ(browser.direction, s.dir);
    EXPECT_EQ(homes(), s.homes);
    EXPECT_EQ(browser.RowId(browser.CurrentRow()), selected) << "the selected match stays";
  }

  // After a search title clicks do nothing, also after Back in the editor.
  ScriptedEditor back;
  back.press_ok = false;
  browser.Search(back);
  browser.TitleClick(1);
  EXPECT_EQ(browser.sort, ResultsSort::kDate);
  EXPECT_EQ(browser.direction, SortDirection::kDescending);

  // An external list keeps its rows but stores the new sort.
  browser.FormShow();
  browser.external_list = true;
  db.db().conn().Execute("DELETE FROM VYSLEDKY");
  browser.TitleClick(2);
  EXPECT_EQ(browser.sort, ResultsSort::kGuest);
  EXPECT_EQ(browser.RowCount(), 3);
}

TEST(ResultsBrowserTest, ClosingReplaysTheActiveSeasonOnceAfterAChange) {
  test::TablesDb db(3);
  db.Match("2020-08-01", 1, 2, 3, 0);
  const int later = db.Match("2020-08-08", 2, 3, 1, 1);
  const int last = db.Match("2020-08-15", 1, 3, 0, 0);
  auto diff = [&](int id) {
    Query q(db.db().conn());
    q.Open("SELECT ELO_ROZDIEL FROM VYSLEDKY WHERE ID=" + std::to_string(id));
    return q.FieldByName("ELO_ROZDIEL").AsInteger();
  };
  auto mark = [&] { db.db().conn().Execute("UPDATE VYSLEDKY SET ELO_ROZDIEL=999"); };
  db.program().today = *ParseIsoDate("2020-08-01");
  TForm3 browser(db.program());

  // Unchanged: nothing replays.
  mark();
  browser.PrepareOwnList();
  browser.FormShow();
  EXPECT_FALSE(browser.Close());
  EXPECT_EQ(diff(later), 999);

  // Delete (answered Yes) and close: one replay.
  browser.FormShow();
  browser.SelectRow(0);
  browser.Delete();
  ASSERT_EQ(db.ui.messages.back().text, "Really delete the match T1 - T2 ?");
  EXPECT_EQ(browser.RowCount(), 2);
  EXPECT_TRUE(browser.Close());
  EXPECT_NE(diff(later), 999);
  mark();
  EXPECT_FALSE(browser.Close()) << "a second close replays nothing";
  EXPECT_EQ(diff(last), 999);

  // No to the question: nothing deleted, nothing to replay.
  db.ui.yes_answer = false;
  browser.FormShow();
  browser.Delete();
  EXPECT_EQ(browser.RowCount(), 2);
  EXPECT_FALSE(browser.Close());

  // A past season never replays.
  db.ui.yes_answer = true;
  db.program().selection.season = "2019/2020";
  browser.FormShow();
  browser.Delete();
  EXPECT_TRUE(browser.results_changed);
  EXPECT_FALSE(browser.Close());
  EXPECT_EQ(diff(last), 999);

  // An empty list refuses Edit and Delete.
  db.db().conn().Execute("DELETE FROM VYSLEDKY");
  browser.FormShow();
  db.ui.messages.clear();
  ScriptedEditor ed;
  browser.Edit(ed);
  browser.Delete();
  ASSERT_EQ(db.ui.messages.size(), 2u);
  EXPECT_EQ(db.ui.messages[1].text, "No results are recorded !");
}

TEST(ResultEditorTest, SearchCountsFromTheHomeTeamsPointOfView) {
  test::TablesDb db(3);
  db.Match("2019-08-01", 1, 2, 2, 1);  // A wins at home (an over)
  db.Match("2019-09-01", 1, 2, 0, 2);  // B wins at A's ground: a loss of A
  db.Match("2020-08-01", 2, 1, 1, 1);  // draw at B's ground
  db.Match("2020-09-01", 2, 1, 0, 1);  // A wins away
  db.Match("2020-09-02", 1, 3, 5, 0);  // another pairing
  struct Case {
    int mode;
    bool both;
    int rows;
    std::array<std::string, 3> buttons;
  } cases[] = {
      {0, false, 2, {"Wins: 1", "Draws: 0", "Losses: 1"}},
      {0, true, 4, {"Wins: 2", "Draws: 1", "Losses: 1"}},
      {3, true, 4, {"Under: 3", "", "Over: 1"}},
  };
  for (const Case& c : cases) {
    db.program().selection.result_mode = test::ModeOf(c.mode);
    TForm3 browser(db.program());
    browser.PrepareOwnList();
    browser.FormShow();
    ScriptedEditor ed;
    ed.fill = [&](TForm4& e) {
      EXPECT_FALSE(e.goal_fields_visible);
      e.home_index = IndexOf(e.home_list, "T1");
      e.away_index = IndexOf(e.away_list, "T2");
      e.check = c.both;
    };
    browser.Search(ed);
    EXPECT_EQ(browser.RowCount(), c.rows);
    EXPECT_EQ(browser.buttons, c.buttons);
    EXPECT_FALSE(browser.buttons_enabled);
    EXPECT_EQ(browser.caption, "  Results .: T1 - T2 :.");
    EXPECT_EQ(browser.CurrentRow(), 0);
    EXPECT_EQ(browser.CellText(0, 0), c.both ? "01.09.2020" : "01.09.2019") << "newest first";
  }
}

}  // namespace
}  // namespace morvela

namespace morvela {
namespace {

// The main window's "Results": the browser works on full time while it is shown, and the
// under/over mode comes back afterwards, also when showing fails.
class ModeRecordingBrowser : public ResultsBrowserView {
 public:
  explicit ModeRecordingBrowser(Program& p) : p_(p), browser_(p) {}
  TForm3& Browser() override { return browser_; }
  void ShowResultsBrowser() override {
    mode_while_shown = p_.selection.result_mode;
    if (fail) throw DatabaseError("gone");
  }
  ResultMode mode_while_shown = ResultMode::kSecondHalf;
  bool fail = false;

 private:
  Program& p_;
  TForm3 browser_;
};

TEST(ResultsBrowserTest, OpeningFromTheMainWindowShowsFullTimeAndRestoresTheMode) {
  struct Case {
    int mode, shown;
    bool fail;
  } cases[] = {{3, 0, false}, {1, 1, false}, {3, 0, true}};
  for (const Case& c : cases) {
    test::TablesDb db(2);
    Program& p = db.program();
    p.selection.result_mode = test::ModeOf(c.mode);
    ModeRecordingBrowser view(p);
    view.Browser().external_list = true;
    view.Browser().buttons_enabled = false;
    view.fail = c.fail;
    if (c.fail)
      EXPECT_THROW(OpenResultsBrowser(p, view), DatabaseError);
    else
      OpenResultsBrowser(p, view);
    EXPECT_EQ(view.mode_while_shown, test::ModeOf(c.shown));
    EXPECT_EQ(p.selection.result_mode, test::ModeOf(c.mode));
    EXPECT_FALSE(view.Browser().external_list) << "the own list again";
    EXPECT_TRUE(view.Browser().buttons_enabled);
    EXPECT_EQ(view.Browser().buttons[0], "Add");
  }
}

}  // namespace
}  // namespace morvela
