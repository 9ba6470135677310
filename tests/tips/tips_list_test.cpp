#include "tips/tips_list.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tips_test_support.h"

namespace morvela {
namespace {

using test::TipsDb;

// Four stored tips of a week in four leagues (17 Denmark, 4 England, 1 Austria, 20 Ukraine).
// Home teams were created in the order A, B, C, so their ids sort that way; all play "Zulu".
//   id league date        home tip   1/0/2     perc odds profit
//   1  17     06.06.2010  B    "  1" 70/20/10  70   1.5  3
//   2  4      05.06.2010  C    "102" 40/30/30  100  0    0
//   3  1      05.06.2010  B    " 10" 50/40/10  90   1.2  7
//   4  20     07.06.2010  A    "  2" 10/20/70  70   2    20
class ListDb : public TipsDb {
 public:
  explicit ListDb(int language = kEnglish, int result_mode = 0, TipRun kind = TipRun::kWeek)
      : TipsDb("2010-06-05", language) {
    a_ = db().AddTeam(20, "A");
    b_ = db().AddTeam(1, "B");
    c_ = db().AddTeam(4, "C");
    zulu_ = db().AddTeam(1, "Zulu");
    Add(1, 17, "06.06.2010", b_, "  1", 70, 20, 10, 70, 1.5, 3);
    Add(2, 4, "05.06.2010", c_, "102", 40, 30, 30, 100, std::nullopt, 0);
    Add(3, 1, "05.06.2010", b_, " 10", 50, 40, 10, 90, 1.2, 7);
    Add(4, 20, "07.06.2010", a_, "  2", 10, 20, 70, 70, 2.0, 20);
    program().selection.result_mode = test::ModeOf(result_mode);
    program().tip_run.TipRunKind = kind;
  }

  int team_a() const { return a_; }
  int zulu() const { return zulu_; }

 private:
  void Add(int id, int league, const std::string& date, int home, const std::string& tip, int t1,
           int tx, int t2, int perc, std::optional<double> odds, int profit) {
    InsertTipRow(program().dm, ResultMode::kFullTime,
                 {id, league, date, home, zulu_, t1, tx, t2, tip, perc, odds, profit});
  }

  int a_ = 0, b_ = 0, c_ = 0, zulu_ = 0;
};

std::vector<int64_t> ListedIds(TipsList& list) {
  std::vector<int64_t> ids;
  for (int r = 0; r < list.RowCount(); ++r) ids.push_back(list.Value(r, "ID").AsInteger());
  return ids;
}

std::string SortText(const TipsListSort& s) {
  return s.SortColumn + " " + s.SortDirection + ", " + s.SecondSortColumn + " " +
         s.SecondSortDirection;
}

TEST(TipsListTest, InitialSortAndTitleClicks) {
  struct Case {
    const char* name;
    TipRun kind;
    int mode;
    int language;
    std::vector<std::string> clicks;
    std::string sort;
    std::vector<int64_t> ids;
  };
  const Case cases[] = {
      {"week initial", TipRun::kWeek, 0, kEnglish, {}, "PERC DESC, TIP ASC", {2, 3, 1, 4}},
      {"today under/over initial", TipRun::kToday, 3, kEnglish, {}, "TIP2 DESC, TIP ASC", {}},
      {"league initial", TipRun::kLeague, 0, kEnglish, {}, "DATUM ASC, ID ASC", {2, 3, 1, 4}},
      {"value initial", TipRun::kValue, 0, kEnglish, {}, "PROFIT DESC, KURZ DESC", {4, 3, 1, 2}},
      {"HOME once", TipRun::kWeek, 0, kEnglish, {"DOMACI"}, "HOME ASC, DATUM ASC", {4, 3, 1, 2}},
      {"HOME twice",
       TipRun::kWeek,
       0,
       kEnglish,
       {"DOMACI", "DOMACI"},
       "HOME DESC, DATUM DESC",
       {2, 1, 3, 4}},
      {"TIP in a fresh week list",
       TipRun::kWeek,
       0,
       kEnglish,
       {"TIP"},
       "TIP ASC, PERC DESC",
       {1, 4, 3, 2}},
      {"PERC flips to ascending",
       TipRun::kWeek,
       0,
       kEnglish,
       {"PERC"},
       "PERC ASC, TIP ASC",
       {1, 4, 3, 2}},
      {"DATUM", TipRun::kWeek, 0, kEnglish, {"DATUM"}, "DATUM ASC, PERC DESC", {2, 3, 1, 4}},
      {"PROFIT keeps the second column",
       TipRun::kWeek,
       0,
       kEnglish,
       {"PROFIT"},
       "PROFIT DESC, TIP DESC",
       {4, 3, 1, 2}},
      {"English league order",
       TipRun::kWeek,
       0,
       kEnglish,
       {"LIGA"},
       "ID_LIGA ASC, DATUM ASC",
       {3, 1, 2, 4}},
      {"English league order reversed",
       TipRun::kWeek,
       0,
       kEnglish,
       {"LIGA", "LIGA"},
       "ID_LIGA DESC, DATUM DESC",
       {4, 2, 1, 3}},
      {"German league order",
       TipRun::kWeek,
       0,
       kGerman,
       {"LIGA"},
       "ID_LIGA ASC, DATUM ASC",
       {1, 2, 3, 4}},
      {"value list league order",
       TipRun::kValue,
       0,
       kEnglish,
       {"LIGA"},
       "ID_LIGA ASC, PROFIT DESC",
       {3, 1, 2, 4}},
      {"league list sorts league ids",
       TipRun::kLeague,
       0,
       kEnglish,
       {"LIGA"},
       "ID_LIGA ASC, DATUM ASC",
       {3, 2, 1, 4}},
      {"value TIP", TipRun::kValue, 0, kEnglish, {"TIP"}, "TIP ASC, PROFIT DESC", {1, 4, 3, 2}},
      {"value KURZ", TipRun::kValue, 0, kEnglish, {"KURZ"}, "KURZ ASC, PROFIT DESC", {2, 3, 1, 4}},
      {"value DATUM", TipRun::kValue, 0, kEnglish, {"DATUM"}, "DATUM ASC, PERC DESC", {2, 3, 1, 4}},
      {"value DATUM under/over",
       TipRun::kValue,
       3,
       kEnglish,
       {"DATUM"},
       "DATUM ASC, TIP2 DESC",
       {2, 3, 1, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDb t(c.language, c.mode, c.kind);
    TipsList list(t.program());
    list.Show();
    for (const std::string& click : c.clicks) list.TitleClick(click);
    EXPECT_EQ(SortText(list.Sort()), c.sort);
    if (!c.ids.empty()) {
      EXPECT_EQ(ListedIds(list), c.ids);
    }
  }
}

TEST(TipsListTest, TodayListShowsOnlyTheBestTips) {
  struct Case {
    int mode;
    int best;
    std::vector<int64_t> ids;
  };
  const Case cases[] = {
      {0, 70, {1, 4}},                   // PERC 70
      {0, 90, {3}},    {3, 70, {4, 1}},  // TIP1 70 or TIP2 70, TIP2 descending
      {3, 30, {2}},    {3, 76, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.best));
    ListDb t(kEnglish, c.mode, TipRun::kToday);
    t.program().tip_run.BestTipPercent = static_cast<uint8_t>(c.best);
    TipsList list(t.program());
    list.Show();
    EXPECT_EQ(ListedIds(list), c.ids);
  }
}

TEST(TipsListTest, CaptionAndExportName) {
  struct Case {
    int language;
    TipRun kind;
    int mode;
    std::string caption;
    std::string export_name;
  };
  const Case cases[] = {
      {kEnglish, TipRun::kToday, 0, "  Tip for today :: FULL TIME :: 05.06.2010",
       "tip-for-today-full-time-05062010"},
      // 5 June 2010 is a Saturday: the week ends on Monday the 7th.
      {kGerman, TipRun::kWeek, 1, "  Tipps für die Woche :: 1. HÄLFTE :: 05.06.2010 <-> 07.06.2010",
       "tipps-fur-die-woche-1-halfte-05062010-07062010"},
      {kSlovak, TipRun::kLeague, 2, "  Morvela ligu :: 2. POLČAS :: 05.06.2010 <-> 26.06.2010",
       "morvela-ligu-2-polcas-05062010-26062010"},
      {kItalian, TipRun::kValue, 3, "  Value tips :: UNDER / OVER",
       "value-tips-under-over-05062010"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.export_name);
    ListDb t(c.language, c.mode, c.kind);
    t.program().settings.Dni = 21;
    TipsList list(t.program());
    list.Show();
    EXPECT_EQ(list.Caption(), c.caption);
    EXPECT_EQ(list.ExportName(), c.export_name);
  }
}

TEST(TipsListTest, CellsShowTheDisplayRules) {
  struct Case {
    int mode;
    int64_t id;
    const char* field;
    std::string text;
  };
  const Case cases[] = {
      {0, 2, "KURZ", " "},  // odds 0 show blank
      {0, 1, "KURZ", "1,50"},        {0, 4, "KURZ", "2,00"},
      {0, 3, "TIP1", "50"},          {3, 3, "TIP1", "50%"},
      {3, 3, "TIP2", "10%"},         {0, 3, "LIGA", "  Austria"},  // room for the flag
      {0, 3, "DOMACI", "B"},         {0, 3, "HOSTIA", "Zulu"},
      {0, 3, "DATUM", "05.06.2010"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " of " + std::to_string(c.id));
    ListDb t(kEnglish, c.mode, TipRun::kWeek);
    TipsList list(t.program());
    list.Show();
    const std::vector<int64_t> ids = ListedIds(list);
    const int row = static_cast<int>(std::find(ids.begin(), ids.end(), c.id) - ids.begin());
    EXPECT_EQ(list.DisplayText(row, c.field), c.text);
    EXPECT_EQ(list.FlagIndex(row), list.Value(row, "ID_LIGA").AsInteger() - 1);
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TipsListTest, ExportWritesTheListAsSemicolonSeparatedLines) {
  struct Case {
    const char* name;
    int language;
    int mode;
    std::string bytes;
  };
  // Odds are written as the grid shows them ("1,20"), except that odds 0 stay 0.
  const Case cases[] = {
      {"English full time", kEnglish, 0,
       "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%\r\n"
       "05.06.2010;England;C;Zulu;40;30;30;102;100;0;0\r\n"
       "05.06.2010;Austria;B;Zulu;50;40;10;10;90;1,20;7\r\n"
       "06.06.2010;Denmark;B;Zulu;70;20;10;1;70;1,50;3\r\n"
       "07.06.2010;Ukraine;A;Zulu;10;20;70;2;70;2,00;20\r\n"},
      // Sorted by TIP2 descending, then TIP ascending.
      {"German under/over", kGerman, 3,
       "DATUM;LIGA;HEIMMANNSCHAFT;GASTMANNSCHAFT;<2,5;>2,5;TIPP;QUOTE;UNT.%\r\n"
       "07.06.2010;Ukraine;A;Zulu;10;70;2;2,00;20\r\n"
       "05.06.2010;England;C;Zulu;40;30;102;0;0\r\n"
       "06.06.2010;Dänemark;B;Zulu;70;10;1;1,50;3\r\n"
       "05.06.2010;Österreich;B;Zulu;50;10;10;1,20;7\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDb t(c.language, c.mode, TipRun::kWeek);
    TipsList list(t.program());
    list.Show();
    list.SetCurrentRow(2);
    const std::string path = t.db().Folder() + "chosen.csv";
    t.ui.save_answer = path;
    EXPECT_EQ(list.ExportToCSV("proposed.csv"), path);
    EXPECT_EQ(ReadFile(path), c.bytes);
    EXPECT_EQ(list.CurrentRow(), 2);
    EXPECT_EQ(t.ui.save_folder, t.program().ExportFolder());
    EXPECT_EQ(t.ui.save_filter, "CSV File");
    EXPECT_EQ(t.ui.save_proposed, "proposed.csv");
  }
}

// A name holding the separator, a quote or a line break is quoted (quotes doubled) so that its
// line keeps its eleven fields; every other field is written as it stands.
TEST(TipsListTest, ExportQuotesOnlyFieldsThatWouldBreakTheLine) {
  struct Case {
    const char* name;
    const char* field;
  };
  const Case cases[] = {
      {"Club; United", "\"Club; United\""}, {"The \"Reds\"", "\"The \"\"Reds\"\"\""},
      {"Two\nLines", "\"Two\nLines\""},     {"Comma, Town", "Comma, Town"},
      {"Ö'Brien FC", "Ö'Brien FC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDb t;
    Connection& conn = t.program().dm.ADOConnection1;
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(conn.Handle(), "UPDATE MUZSTVA SET NAZOV_EN=?1 WHERE ID=?2", -1,
                                 &stmt, nullptr),
              SQLITE_OK);
    sqlite3_bind_text(stmt, 1, c.name, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(stmt, 2, t.team_a());
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
    sqlite3_finalize(stmt);
    TipsList list(t.program());
    list.Show();
    const std::string path = t.db().Folder() + "names.csv";
    t.ui.save_answer = path;
    ASSERT_TRUE(list.ExportToCSV("x.csv"));
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.substr(bytes.rfind("07.06.2010")),
              "07.06.2010;Ukraine;" + std::string(c.field) + ";Zulu;10;20;70;2;70;2,00;20\r\n");
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n05.06.2010;Austria")),
              "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%\r\n"
              "05.06.2010;England;C;Zulu;40;30;30;102;100;0;0")
        << "the other lines stay as they were";
  }
}

TEST(TipsListTest, CtrlEOffersTheExportNameAndACancelWritesNothing) {
  ListDb t;
  TipsList list(t.program());
  list.Show();
  std::filesystem::create_directories(t.program().ExportFolder());
  EXPECT_FALSE(list.KeyDown('E', true, true, false));  // Ctrl+Shift+E is not the export
  EXPECT_FALSE(list.KeyDown('E', false, false, false));
  EXPECT_TRUE(t.ui.save_proposed.empty());
  t.ui.save_answer.reset();  // the user cancels the dialog
  EXPECT_TRUE(list.KeyDown('E', true, false, false));
  EXPECT_EQ(t.ui.save_proposed, "tips-for-the-week-full-time-05062010-07062010.csv");
  EXPECT_EQ(list.ExportToCSV("x.csv"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_empty(t.program().ExportFolder()));
}

TEST(TipsListTest, ExportOfAnEmptyListIsTheHeaderOnly) {
  ListDb t(kEnglish, 0, TipRun::kToday);
  t.program().tip_run.BestTipPercent = 55;
  TipsList list(t.program());
  list.Show();
  const std::string path = t.db().Folder() + "empty.csv";
  t.ui.save_answer = path;
  ASSERT_TRUE(list.ExportToCSV("x.csv"));
  EXPECT_EQ(ReadFile(path), "DATE;LEAGUE;HOME;GUEST;%1;%0;%2;TIP;%;ODD;DIF.%\r\n");
}

// Records what the match window would see.
class FakeMatchWindow : public MatchWindowOpener {
 public:
  explicit FakeMatchWindow(Program& p) : p_(p) {}
  void PresetTeams(const Team& h, const Team& a) override {
    home = h;
    away = a;
  }
  void SetOpenedFromTips(bool value) override { opened_from_tips = value; }
  void ShowModal() override {
    ++shown;
    seen_league = p_.selection.league;
    seen_competition = p_.selection.competition;
    seen_team_count = p_.selection.team_count;
    seen_opened = opened_from_tips;
    seen_raised = p_.WindowRaised;
    seen_id = p_.dm.Work3.FieldByName("ID").AsInteger();
    seen_date = p_.dm.Work3.FieldByName("DATUM").AsString();
    if (fail) throw std::runtime_error("window failed");
  }

  Team home, away;
  bool opened_from_tips = false;
  bool fail = false;
  int shown = 0;
  std::string seen_league, seen_competition;
  int seen_team_count = 0;
  bool seen_opened = false, seen_raised = false;
  int64_t seen_id = 0;
  std::string seen_date;

 private:
  Program& p_;
};

TEST(TipsListTest, DoubleClickOpensTheMatchWindowInTheTipsLeagueAndRestoresTheSelection) {
  for (bool fail : {false, true}) {
    SCOPED_TRACE(fail ? "window fails" : "window closes");
    ListDb t;
    t.db().AddCompetition(20, "2008/2009", 16, 1);
    const int active = t.db().AddCompetition(20, "Active", 16, 2);
    Program& p = t.program();
    p.selection.league = "4";
    p.selection.competition = "77";
    p.selection.team_count = 18;
    p.selection.season = "2010/2011";
    p.selection.LM = 4, p.selection.EL = 7, p.selection.VYP = 18;
    TipsList list(p);
    list.Show();
    FakeMatchWindow window(p);
    window.fail = fail;
    const int row = 3;  // id 4: league 20, home A
    ASSERT_EQ(list.Value(row, "ID").AsInteger(), 4);
    if (fail) {
      EXPECT_THROW(list.OpenMatch(row, window), std::runtime_error);
    } else {
      list.OpenMatch(row, window);
    }
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(window.home.id, t.team_a());
    EXPECT_EQ(window.home.name, "A");
    EXPECT_EQ(window.away.id, t.zulu());
    EXPECT_EQ(window.away.name, "Zulu");
    EXPECT_EQ(window.seen_league, "20");
    EXPECT_EQ(window.seen_competition, std::to_string(active));
    EXPECT_EQ(window.seen_team_count, 16);
    EXPECT_TRUE(window.seen_opened);
    EXPECT_TRUE(window.seen_raised);
    EXPECT_EQ(window.seen_id, 4);
    EXPECT_EQ(window.seen_date, "07.06.2010");
    // Afterwards: the flag is cleared, WindowRaised stays, the selection is back.
    EXPECT_FALSE(window.opened_from_tips);
    EXPECT_TRUE(p.WindowRaised);
    EXPECT_EQ(p.selection.league, "4");
    EXPECT_EQ(p.selection.competition, "77");
    EXPECT_EQ(p.selection.team_count, 18);
    // The tables opened later for the loaded league show its own zones, not the match's.
    EXPECT_EQ(p.selection.season, "2010/2011");
    EXPECT_EQ(
        std::vector<int>({p.selection.LM, p.selection.EL, p.selection.BARAZ, p.selection.VYP}),
        std::vector<int>({4, 7, 0, 18}));
  }
}

// The second-opinion columns through the model: absent until switched on, then the goal
// model's and the market's percentage for the row's tip, kept through a re-sort and exported.
TEST(TipsListTest, SecondOpinionColumnsShowTheFiguresOfTheRowsTip) {
  TipsDb t("2010-06-05");
  const int id = t.Fixture(4, "2010-06-06", 1100, test::k70Home);
  t.Odds(id, {{"KURZ1", "1.5"}, {"KURZX", "4"}, {"KURZ2", "6"}});
  test::RecordingView view;
  ASSERT_TRUE(RunWeekTips(t.program(), view));
  TipsList list(t.program());
  list.Show();
  const size_t own = TipsListColumns(ResultMode::kFullTime, t.program().messages).size();
  EXPECT_FALSE(list.SecondOpinionShown());
  EXPECT_EQ(list.Columns().size(), own);

  list.ShowSecondOpinion(true);
  ASSERT_EQ(list.Columns().size(), own + 2);
  EXPECT_EQ(list.Columns()[own].title, "Model %");
  EXPECT_EQ(list.Columns()[own + 1].title, "Market %");
  ASSERT_EQ(list.RowCount(), 1);
  TipSecondOpinions opinions(t.db().conn(), ResultMode::kFullTime);
  const TipSecondOpinions::Figures f = opinions.Of(id, list.Value(0, "TIP").AsString());
  ASSERT_TRUE(f.model_percent && f.market_percent);
  const std::string model = std::to_string(*f.model_percent);
  const std::string market = std::to_string(*f.market_percent);
  EXPECT_EQ(list.DisplayText(0, kModelPercentField), model);
  EXPECT_EQ(list.DisplayText(0, kMarketPercentField), market);

  // Their titles sort nothing (they are no fields of the list query); another title re-sorts
  // and keeps them.
  const std::string sort = SortText(list.Sort());
  list.TitleClick(std::string(kModelPercentField));
  EXPECT_EQ(SortText(list.Sort()), sort);
  list.TitleClick("DATUM");
  ASSERT_EQ(list.Columns().size(), own + 2);

  const std::string path = t.db().Folder() + "second.csv";
  t.ui.save_answer = path;
  ASSERT_TRUE(list.ExportToCSV("x.csv"));
  const std::string bytes = ReadFile(path);
  EXPECT_NE(bytes.find(";DIF.%;Model %;Market %\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find(";" + model + ";" + market + "\r\n"), std::string::npos) << bytes;

  list.ShowSecondOpinion(false);
  EXPECT_EQ(list.Columns().size(), own);
}

}  // namespace
}  // namespace morvela
