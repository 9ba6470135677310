// The results browser `TForm3` and the result editor `TForm4` without their toolkit.
//
// The browser lists the matches of the current competition in the data module's cursor Work1
// (or a list an opener prepared there, the external list), sorts them by a click on a column
// title, and adds, edits, deletes and searches results through the editor. Closing the browser
// after a change to the active season replays that season, so that the stored rating
// differences the tip runs search by follow the edited results.
//
// The editor is one modal dialog with three modes: add a result, edit the browser's current
// row, or search the results between two teams over all seasons (which replaces the browser's
// list and puts win/draw/loss counts on its buttons). Every change it makes is one statement;
// a statement that fails leaves the row as it was and the dialog open with the engine's text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/result_mode.h"
#include "rating/competition_teams.h"

namespace morvela {

struct Program;
class TForm4;

// The four display columns of the browser's grid.
struct ResultsColumn {
  const char* field;  // DATUM, DOMACI, HOSTIA, SKORE
  int width;          // pixels
  bool centred;
};
inline constexpr std::array<ResultsColumn, 4> kResultsColumns = {
    {{"DATUM", 65, false}, {"DOMACI", 163, false}, {"HOSTIA", 163, false}, {"SKORE", 90, true}}};

struct ResultsColour {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const ResultsColour&) const = default;
};
inline constexpr ResultsColour kNotCountedRow{255, 189, 191};  // a row with NERATAT set
inline constexpr ResultsColour kSelectedRow{0, 0, 128};        // drawn in white
inline constexpr ResultsColour kSelectedText{255, 255, 255};

// Wins, draws and losses of one team over a list (or unders and overs in the under/over mode).
struct ListCounts {
  int wins = 0, draws = 0, losses = 0;
  int under = 0, over = 0;
};

// The texts of the browser's three action buttons for counts: "Wins: n", "Draws: n",
// "Losses: n", or in the under/over mode "Under: n", "", "Over: n".
std::array<std::string, 3> CountButtonTexts(const Program& p, const ListCounts& c, bool under_over);

// How the editor is shown: the desktop program runs its dialog modally on the model; tests and
// the command line fill the fields and press OK or Back themselves.
class ResultEditorView {
 public:
  virtual ~ResultEditorView() = default;
  // Shows `editor` (already opened by FormShow) and returns when it closes.
  virtual void ShowResultEditor(TForm4& editor) = 0;
};

// The statement head of a results list: DATUM and the two teams' names (DOMACI, HOSTIA) in
// the name column of `language`, up to the score expression.
std::string ResultsListHead(int language);

// The results list's sort keys, as its title columns 0-2 name them.
enum class ResultsSort : uint8_t { kDate = 0, kHome = 1, kGuest = 2 };
enum class SortDirection : uint8_t { kAscending, kDescending };

class TForm3 {
 public:
  explicit TForm3(Program& program);

  // --- set by the opener before FormShow ---
  std::string caption;
  std::array<std::string, 3> buttons;  // Add, Edit, Delete (or the counts of a list)
  bool buttons_enabled = true;
  bool external_list = false;  // Work1 holds a list the opener prepared; it is not reloaded

  // The main window's opening: caption "  Results", the three captions, enabled, own list.
  void PrepareOwnList();

  // Opening: sort DATUM, ID, ASC; the list positioned at the row nearest today in the active
  // season; search and results-changed flags cleared.
  void FormShow();

  // Reloads the own list (unless an external list is shown) and positions it: with "0" at the
  // row nearest today in the active season, otherwise at the row with that ID.
  void ZobrazList(const std::string& id);

  // --- the grid ---
  int RowCount() const;
  int CurrentRow() const;  // -1 with no rows
  void SelectRow(int row);
  std::string CellText(int row, int column) const;
  bool RowNotCounted(int row) const;  // NERATAT: drawn on the light red background
  std::string RowId(int row) const;
  std::string SearchCaption() const;
  std::string ColumnTitle(int column) const;

  // --- actions ---
  void Add(ResultEditorView& view);
  void Edit(ResultEditorView& view);
  void Delete();
  void Search(ResultEditorView& view);
  void DoubleClick(ResultEditorView& view);
  void TitleClick(int column);
  // Detaches the list; replays the active season when results changed (under the folder's
  // writer lock; DatabaseError when another writer keeps it, the season then stays marked for
  // the next start). True when it replayed.
  bool Close();
  // Writes one result statement under the folder's writer lock, in one transaction with the
  // active season's replay mark. DatabaseError when another writer keeps the lock or, with
  // `must_change_a_row`, when no row changed (the match was deleted or replaced meanwhile).
  void WriteResult(const std::string& sql, bool must_change_a_row);

  // --- state ---
  // The list's order: a title column (date, home team's name, guest's name), then the date (or
  // the match id under the date), both keys in one direction.
  ResultsSort sort = ResultsSort::kDate;
  SortDirection direction = SortDirection::kAscending;
  std::string remembered_row;  // match ID shown after a change
  bool search_flag = false;
  bool results_changed = false;
  bool saved = false;  // set by the editor when it wrote a row, cleared by Back

  Program& program() { return p_; }
  const Program& program() const { return p_; }
  // The statement head with the team names of the user's language, shared by the search.
  std::string ListHead() const;

 private:
  void MoveToNearestToday();
  bool NoRows();

  Program& p_;
};

enum class EditorMode { kAdd, kEdit, kSearch };

class TForm4 {
 public:
  TForm4(Program& program, TForm3& browser, EditorMode mode);

  // Opening: captions, team lists and the fields as the mode asks.
  void FormShow();

  // OK: checks the input, writes (or searches) and closes; false when the dialog stays open
  // (the reason was shown).
  bool Ok();
  // Back: closes without writing.
  void Back();

  EditorMode mode() const { return mode_; }
  std::string title;
  std::string check_caption;  // "  Forfeit" or "    Also vice versa"
  bool goal_fields_visible = true;
  std::vector<TeamItem> home_list, away_list;
  int home_index = 0, away_index = 0;
  Date date{};
  int home_goals = 0, away_goals = 0, ht_home_goals = 0, ht_away_goals = 0;
  bool check = false;  // forfeit, or both venues in search mode
  ListCounts counts;   // of the last search

  // The statement OK would run for add or edit (exposed for the tests and the CLI's report).
  std::string WriteStatement() const;

 private:
  void RunSearch();
  int IndexOfTeam(const std::vector<TeamItem>& list, int64_t id) const;

  Program& p_;
  TForm3& browser_;
  EditorMode mode_;
};

// Where the browser is shown: the desktop program's window, or a test's recorder.
class ResultsBrowserView {
 public:
  virtual ~ResultsBrowserView() = default;
  // The browser model its opener prepares.
  virtual TForm3& Browser() = 0;
  // Opens the prepared browser (FormShow), shows it and runs Close once it is closed.
  virtual void ShowResultsBrowser() = 0;
};

// The main window's "Results": the own list of the current competition. The browser works on
// full time in the under/over mode; the mode comes back when the browser returns.
void OpenResultsBrowser(Program& program, ResultsBrowserView& view);

}  // namespace morvela
