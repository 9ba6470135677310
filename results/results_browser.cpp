#include "results/results_browser.h"

#include <cstdlib>

#include "builder/schema.h"
#include "core/database.h"
#include "core/folder_lock.h"
#include "core/helpers.h"
#include "core/kill_point.h"
#include "core/outcome.h"
#include "core/text.h"
#include "i18n/message_ids.h"
#include "program/program.h"
#include "rating/season_replay.h"

namespace morvela {

namespace {

constexpr const char* kActive = "Active";

// The score column of the own list: a forfeit shows its score alone, so its stored half-time
// goals (written as 0 : 0) do not look like a played half.
constexpr const char* kOwnScore =
    "IIF(VYSLEDKY.HT_AWAY_GOAL IS NOT NULL AND VYSLEDKY.HT_HOME_GOAL IS NOT NULL AND "
    "KONTUMACIA=0,TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))+\"   "
    "(\"+TRIM(STR(VYSLEDKY.HT_HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.HT_AWAY_GOAL))+\")\","
    "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))) AS SKORE";

constexpr const char* kSearchScore =
    "IIF(VYSLEDKY.HT_AWAY_GOAL IS NOT NULL AND VYSLEDKY.HT_HOME_GOAL IS NOT NULL,"
    "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))+\"   "
    "(\"+TRIM(STR(VYSLEDKY.HT_HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.HT_AWAY_GOAL))+\")\","
    "TRIM(STR(VYSLEDKY.HOME_GOAL))+\" : \"+TRIM(STR(VYSLEDKY.AWAY_GOAL))) AS SKORE";

// Runs `work` on the current row `row` of Work1 and puts the cursor back where it was.
template <typename F>
auto AtRow(Query& q, int row, F work) {
  const int keep = q.RecNo();
  q.MoveTo(row);
  auto result = work();
  q.MoveTo(keep);
  return result;
}

}  // namespace

void TForm3::WriteResult(const std::string& sql, bool must_change_a_row) {
  FolderLock lock(p_.folder, kWriterPatience, "result edit");
  if (!lock.Held()) throw DatabaseError(FolderLock::BusyMessage(p_.folder));
  Connection& conn = p_.dm.ADOConnection1;
  EnsureBuilderTables(conn);
  InTransaction(conn, [&] {
    // The season's stored differences are stale from this commit until the replay at Close;
    // the mark commits with the change, so a program killed in between finishes the replay at
    // its next start. It goes first: the result's own insert must be the last, for @@IDENTITY.
    if (p_.selection.season == kActive)
      conn.ExecuteNative("INSERT OR IGNORE INTO REPLAY_PENDING (ID_SUTAZ) VALUES (" +
                         std::to_string(std::atoll(p_.selection.competition.c_str())) + ")");
    if (p_.dm.Command1.Execute(sql) == 0 && must_change_a_row)
      throw DatabaseError("the match is no longer in the database");
  });
  KillPoint("edit:committed");
}

std::array<std::string, 3> CountButtonTexts(const Program& p, const ListCounts& c,
                                            bool under_over) {
  const Messages& m = p.messages;
  if (under_over)
    return {m.NastavJazykPar(msg::kUnderCase, std::to_string(c.under)), "",
            m.NastavJazykPar(msg::kOverCase, std::to_string(c.over))};
  return {m.NastavJazykPar(msg::kWinsCase, std::to_string(c.wins)),
          m.NastavJazykPar(msg::kDrawsCase, std::to_string(c.draws)),
          m.NastavJazykPar(msg::kLossesCase, std::to_string(c.losses))};
}

void OpenResultsBrowser(Program& p, ResultsBrowserView& view) {
  const ResultMode remembered = p.selection.result_mode;
  if (remembered == ResultMode::kUnderOver) p.selection.result_mode = ResultMode::kFullTime;
  view.Browser().PrepareOwnList();
  try {
    view.ShowResultsBrowser();
  } catch (...) {
    p.selection.result_mode = remembered;
    throw;
  }
  p.selection.result_mode = remembered;
}

// ---------------------------------------------------------------- TForm3

TForm3::TForm3(Program& program) : p_(program) {}

void TForm3::PrepareOwnList() {
  const Messages& m = p_.messages;
  caption = "  " + m.Msg(msg::kResults);
  buttons = {m.Msg(msg::kAdd), m.Msg(msg::kEdit), m.Msg(msg::kDelete)};
  buttons_enabled = true;
  external_list = false;
}

std::string TForm3::SearchCaption() const {
  return p_.messages.Msg(msg::kSearch);
}

std::string TForm3::ColumnTitle(int column) const {
  static constexpr std::array<MessageId, 4> kTitles = {msg::kDateTitle, msg::kHomeTitle,
                                                       msg::kGuestTitle, msg::kScoreTitle};
  return p_.messages.Msg(kTitles.at(column));
}

void TForm3::FormShow() {
  sort = ResultsSort::kDate;
  direction = SortDirection::kAscending;
  ZobrazList("0");
  search_flag = false;
  results_changed = false;
}

std::string TForm3::ListHead() const {
  return ResultsListHead(p_.messages.Language());
}

std::string ResultsListHead(int language) {
  const std::string n = NameColumn(language);
  return "SELECT DATUM,(SELECT " + n +
         " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.HOME) AS DOMACI, "
         "(SELECT " +
         n + " FROM MUZSTVA WHERE MUZSTVA.ID=VYSLEDKY.AWAY) AS HOSTIA,";
}

namespace {

// ORDER BY of the list: the teams by the names the list shows, so the order is the one the user
// reads; ties, and the date itself, by date then match id.
std::string OrderBy(ResultsSort sort, SortDirection direction) {
  const char* dir = direction == SortDirection::kAscending ? " ASC" : " DESC";
  switch (sort) {
    case ResultsSort::kHome:
      return std::string("DOMACI") + dir + ", DATUM" + dir;
    case ResultsSort::kGuest:
      return std::string("HOSTIA") + dir + ", DATUM" + dir;
    case ResultsSort::kDate:
      break;
  }
  return std::string("DATUM") + dir + ", ID" + dir;
}

}  // namespace

void TForm3::ZobrazList(const std::string& id) {
  Query& w = p_.dm.Work1;
  if (!external_list) {
    w.Open(ListHead() + kOwnScore +
           ",HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,KONTUMACIA,NERATAT,ID FROM "
           "VYSLEDKY WHERE (VYSLEDKY.ID_SUTAZ=" +
           p_.selection.competition + ") ORDER BY " + OrderBy(sort, direction));
    p_.dm.Work1Uprav();
  }
  if (id == "0") {
    if (p_.selection.season == kActive) MoveToNearestToday();
    return;
  }
  for (; !w.Eof(); w.Next())
    if (w.FieldByName("ID").AsString() == id) return;
  // The row is not in the list (it moved to another season): stay on the first row rather
  // than past the end.
  w.First();
}

void TForm3::MoveToNearestToday() {
  Query& w = p_.dm.Work1;
  int best = -1;
  int best_distance = 0;
  for (int r = 0; r < w.RecordCount(); ++r) {
    w.MoveTo(r);
    const std::optional<Date> d = ParseShortDate(w.FieldByName("DATUM").AsString());
    if (!d) continue;
    const int distance = std::abs(DaysBetween(p_.today, *d));
    if (best < 0 || distance <= best_distance) {  // the later row wins a tie
      best = r;
      best_distance = distance;
    }
  }
  w.MoveTo(best < 0 ? 0 : best);
}

int TForm3::RowCount() const {
  const Query& w = p_.dm.Work1;
  return w.Active() ? w.RecordCount() : 0;
}

int TForm3::CurrentRow() const {
  return RowCount() == 0 ? -1 : p_.dm.Work1.RecNo();
}

void TForm3::SelectRow(int row) {
  if (row >= 0 && row < RowCount()) p_.dm.Work1.MoveTo(row);
}

std::string TForm3::CellText(int row, int column) const {
  Query& w = p_.dm.Work1;
  return AtRow(w, row, [&] { return w.DisplayText(kResultsColumns.at(column).field); });
}

bool TForm3::RowNotCounted(int row) const {
  Query& w = p_.dm.Work1;
  return AtRow(w, row, [&] { return w.FieldByName("NERATAT").AsBoolean(); });
}

std::string TForm3::RowId(int row) const {
  Query& w = p_.dm.Work1;
  return AtRow(w, row, [&] { return w.FieldByName("ID").AsString(); });
}

bool TForm3::NoRows() {
  if (RowCount() > 0 && !p_.dm.Work1.Eof()) return false;
  p_.ui.ShowMessage(MessageKind::kError, p_.messages.Msg(msg::kNoResultsRecorded));
  return true;
}

void TForm3::Add(ResultEditorView& view) {
  search_flag = false;
  external_list = false;
  TForm4 editor(p_, *this, EditorMode::kAdd);
  editor.FormShow();
  view.ShowResultEditor(editor);
  if (saved) ZobrazList(remembered_row);
}

void TForm3::Edit(ResultEditorView& view) {
  if (NoRows()) return;
  search_flag = false;
  external_list = false;
  remembered_row = p_.dm.Work1.FieldByName("ID").AsString();
  TForm4 editor(p_, *this, EditorMode::kEdit);
  editor.FormShow();
  view.ShowResultEditor(editor);
  if (saved) ZobrazList(remembered_row);
}

void TForm3::Delete() {
  if (NoRows()) return;
  Query& w = p_.dm.Work1;
  const std::string question = p_.messages.NastavJazykPar(
      msg::kReallyDeleteCase,
      w.FieldByName("DOMACI").AsString() + " - " + w.FieldByName("HOSTIA").AsString());
  if (!p_.ui.AskYesNo(question)) return;
  try {
    WriteResult("DELETE FROM VYSLEDKY WHERE ID=" + w.FieldByName("ID").AsString(), true);
  } catch (const DatabaseError& e) {
    p_.ui.ShowMessage(MessageKind::kError, e.what());
    return;
  }
  results_changed = true;
  ZobrazList("0");
}

void TForm3::Search(ResultEditorView& view) {
  external_list = false;
  search_flag = true;
  TForm4 editor(p_, *this, EditorMode::kSearch);
  editor.FormShow();
  view.ShowResultEditor(editor);
}

void TForm3::DoubleClick(ResultEditorView& view) {
  if (buttons_enabled) Edit(view);
}

void TForm3::TitleClick(int column) {
  if (search_flag || column == 3) return;
  if (column < 0 || column > 2) return;
  const auto clicked = static_cast<ResultsSort>(column);
  if (clicked != sort) {
    direction = SortDirection::kAscending;
  } else {
    direction = direction == SortDirection::kAscending ? SortDirection::kDescending
                                                       : SortDirection::kAscending;
  }
  sort = clicked;
  if (RowCount() > 0 && !p_.dm.Work1.Eof())
    remembered_row = p_.dm.Work1.FieldByName("ID").AsString();
  else
    remembered_row = "0";
  ZobrazList(remembered_row);
}

bool TForm3::Close() {
  p_.dm.Work1.Close();
  if (!results_changed || p_.selection.season != kActive) return false;
  FolderLock lock(p_.folder, kWriterPatience, "replay");
  // Without the lock the mark stays and the next start replays the season.
  if (!lock.Held()) throw DatabaseError(FolderLock::BusyMessage(p_.folder));
  Connection& conn = p_.dm.ADOConnection1;
  const ReplayReport r = InTransaction(conn, [&] {
    ReplayReport report = ReplaySeason(p_.dm, p_.wait, p_.messages, p_.selection.competition);
    conn.ExecuteNative("DELETE FROM REPLAY_PENDING WHERE ID_SUTAZ=" +
                       std::to_string(std::atoll(p_.selection.competition.c_str())));
    return report;
  });
  // The replay leaves a season beyond its limits untouched; the user must hear why the
  // ratings did not follow the change.
  if (r.over_limits) {
    std::string text;
    for (const std::string& problem : r.problems) text += problem + "\r\n";
    p_.ui.ShowMessage(MessageKind::kWarning, text);
  }
  results_changed = false;
  return true;
}

// ---------------------------------------------------------------- TForm4

TForm4::TForm4(Program& program, TForm3& browser, EditorMode mode)
    : p_(program), browser_(browser), mode_(mode) {}

int TForm4::IndexOfTeam(const std::vector<TeamItem>& list, int64_t id) const {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].id == id) return static_cast<int>(i);
  return 0;
}

void TForm4::FormShow() {
  const Messages& m = p_.messages;
  Connection& conn = p_.dm.ADOConnection1;
  if (mode_ == EditorMode::kSearch) {
    home_list = LeagueTeams(conn, p_.selection.league, p_.messages.Language());
    goal_fields_visible = false;
    check_caption = "  " + m.Msg(msg::kAlsoViceVersa);
  } else {
    home_list = CompetitionTeams(conn, p_.selection.competition, p_.messages.Language());
    goal_fields_visible = true;
    check_caption = "  " + m.Msg(msg::kForfeit);
  }
  away_list = home_list;
  home_index = away_index = 0;
  Query& w = p_.dm.Work1;
  const bool has_row = browser_.RowCount() > 0 && !w.Eof();
  if (mode_ != EditorMode::kAdd && has_row) {
    home_index = IndexOfTeam(home_list, w.FieldByName("HOME").AsInteger());
    away_index = IndexOfTeam(away_list, w.FieldByName("AWAY").AsInteger());
  }
  switch (mode_) {
    case EditorMode::kAdd:
      date =
          has_row ? ParseShortDate(w.FieldByName("DATUM").AsString()).value_or(p_.today) : p_.today;
      check = false;
      home_goals = away_goals = ht_home_goals = ht_away_goals = 0;
      title = "  " + m.Msg(msg::kAddResult);
      break;
    case EditorMode::kEdit:
      date = ParseShortDate(w.FieldByName("DATUM").AsString()).value_or(p_.today);
      check = w.FieldByName("KONTUMACIA").AsBoolean();
      home_goals = static_cast<int>(w.FieldByName("HOME_GOAL").AsInteger());
      away_goals = static_cast<int>(w.FieldByName("AWAY_GOAL").AsInteger());
      ht_home_goals = static_cast<int>(w.FieldByName("HT_HOME_GOAL").AsInteger());
      ht_away_goals = static_cast<int>(w.FieldByName("HT_AWAY_GOAL").AsInteger());
      title = "  " + m.Msg(msg::kEditResult);
      break;
    case EditorMode::kSearch:
      title = "  " + m.Msg(msg::kSearchResult);
      break;
  }
}

std::string TForm4::WriteStatement() const {
  const std::string h = std::to_string(home_list.at(home_index).id);
  const std::string a = std::to_string(away_list.at(away_index).id);
  auto q = [](const std::string& s) { return "\"" + s + "\""; };
  auto outcome_of = [&](int home, int away) {
    return q(std::string(OutcomeText(ScoreOutcome(home, away))));
  };
  const std::string n = std::to_string(home_goals);
  const std::string o = std::to_string(away_goals);
  std::array<std::string, 6> half = {"0", "0", q(""), "0", "0", q("")};
  if (!check) {
    half = {std::to_string(ht_home_goals),
            std::to_string(ht_away_goals),
            outcome_of(ht_home_goals, ht_away_goals),
            std::to_string(home_goals - ht_home_goals),
            std::to_string(away_goals - ht_away_goals),
            outcome_of(home_goals - ht_home_goals, away_goals - ht_away_goals)};
  }
  const std::array<std::string, 14> values = {p_.selection.competition,
                                              q(FormatDateText(date)),
                                              h,
                                              a,
                                              n,
                                              o,
                                              outcome_of(home_goals, away_goals),
                                              half[0],
                                              half[1],
                                              half[2],
                                              half[3],
                                              half[4],
                                              half[5],
                                              q(check ? "-1" : "0")};
  static constexpr std::array<const char*, 14> kColumns = {
      "ID_SUTAZ",      "DATUM",         "HOME",         "AWAY",         "HOME_GOAL",
      "AWAY_GOAL",     "VYSLEDOK",      "HT_HOME_GOAL", "HT_AWAY_GOAL", "HT_VYSLEDOK",
      "SHT_HOME_GOAL", "SHT_AWAY_GOAL", "SHT_VYSLEDOK", "KONTUMACIA"};
  std::string sql;
  if (mode_ == EditorMode::kAdd) {
    sql = "INSERT INTO VYSLEDKY (";
    for (size_t i = 0; i < kColumns.size(); ++i) sql += (i ? "," : "") + std::string(kColumns[i]);
    sql += ") Values (";
    for (size_t i = 0; i < values.size(); ++i) sql += (i ? "," : "") + values[i];
    return sql + ")";
  }
  sql = "UPDATE VYSLEDKY SET ";
  for (size_t i = 0; i < kColumns.size(); ++i)
    sql += (i ? "," : "") + std::string(kColumns[i]) + "=" + values[i];
  return sql + " WHERE ID=" + browser_.remembered_row + " ";
}

bool TForm4::Ok() {
  if (home_list.empty() || home_index == away_index) {
    p_.ui.ShowMessage(MessageKind::kError, p_.messages.Msg(msg::kSameTwoTeams));
    return false;
  }
  if (mode_ == EditorMode::kSearch) {
    RunSearch();
    return true;
  }
  // A half with more goals than the whole match would leave a negative second half; a forfeit
  // stores no halves, so only its final score counts.
  const bool bad_goals = home_goals < 0 || away_goals < 0 ||
                         (!check && (ht_home_goals < 0 || ht_away_goals < 0 ||
                                     ht_home_goals > home_goals || ht_away_goals > away_goals));
  if (bad_goals) {
    p_.ui.ShowMessage(MessageKind::kError, p_.messages.Msg(msg::kHalfTimeAboveFullTime));
    return false;
  }
  try {
    browser_.WriteResult(WriteStatement(), mode_ == EditorMode::kEdit);
    if (mode_ == EditorMode::kAdd) {
      Query& w = p_.dm.Work2;
      w.Open("SELECT @@IDENTITY AS NewID");
      browser_.remembered_row = w.FieldByName("NewID").AsString();
    }
  } catch (const DatabaseError& e) {
    p_.ui.ShowMessage(MessageKind::kError,
                      p_.messages.Msg(msg::kResultNotWritten) + "\r\n" + e.what());
    return false;
  }
  browser_.results_changed = true;
  browser_.saved = true;
  return true;
}

void TForm4::Back() {
  browser_.saved = false;
}

void TForm4::RunSearch() {
  const TeamItem& home = home_list.at(home_index);
  const TeamItem& away = away_list.at(away_index);
  const std::string h = std::to_string(home.id);
  const std::string a = std::to_string(away.id);
  browser_.sort = ResultsSort::kDate;
  browser_.direction = SortDirection::kDescending;
  const std::string filter = check ? "((VYSLEDKY.HOME=" + h + " AND VYSLEDKY.AWAY=" + a +
                                         ") OR (VYSLEDKY.HOME=" + a + " AND VYSLEDKY.AWAY=" + h +
                                         ")) AND (HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL )"
                                   : "VYSLEDKY.HOME=" + h + " AND VYSLEDKY.AWAY=" + a +
                                         " AND HOME_GOAL IS NOT NULL AND AWAY_GOAL IS NOT NULL";
  Query& w = p_.dm.Work1;
  w.Open(browser_.ListHead() + kSearchScore +
         ",HOME,AWAY,HOME_GOAL,AWAY_GOAL,HT_HOME_GOAL,HT_AWAY_GOAL,VYSLEDOK,KONTUMACIA,NERATAT,ID "
         "FROM VYSLEDKY WHERE (" +
         filter + ") ORDER BY  DATUM DESC, ID DESC ");
  p_.dm.Work1Uprav();

  const bool under_over = p_.selection.result_mode == ResultMode::kUnderOver;
  counts = {};
  for (w.First(); !w.Eof(); w.Next()) {
    if (under_over) {
      const int64_t goals =
          w.FieldByName("HOME_GOAL").AsInteger() + w.FieldByName("AWAY_GOAL").AsInteger();
      (goals < 3 ? counts.under : counts.over) += 1;
      continue;
    }
    const bool own_home = TrimSpaces(w.FieldByName("DOMACI").AsString()) == TrimSpaces(home.name);
    const std::string v = w.FieldByName("VYSLEDOK").AsString();
    if (v == "0") ++counts.draws;
    if (v == (own_home ? "1" : "2")) ++counts.wins;
    if (v == (own_home ? "2" : "1")) ++counts.losses;
  }
  browser_.buttons = CountButtonTexts(p_, counts, under_over);
  browser_.buttons_enabled = false;
  browser_.caption =
      "  " + p_.messages.NastavJazykPar(msg::kResultsOfCase, home.name + " - " + away.name);
  w.First();
}

}  // namespace morvela
