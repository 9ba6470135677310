// The league tables window `TForm2` without its toolkit: one table of the teams of the current
// competition — standings (home, away, together), form, goals under/over 2.5, goal form, or
// one of the three rating tables — with its grid texts and the way every cell is drawn.
//
// An opener hands the window its table context (the table kind and, from a match window, the
// match whose teams are highlighted), which the window owns from then on; showing runs FormShow,
// which loads the teams and computes the view the kind asks for. The side buttons Home / Away /
// Together recompute the current view family for that side; the rating buttons show "ELO",
// "ELO Home" and "ELO Away". A view only draws: the grid's texts, column widths and cell styles
// (background, text colour, weight, alignment) all come from here.
//
// Everything is computed in the result mode the main window had when the window opened.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/result_mode.h"
#include "i18n/message_ids.h"
#include "rating/rating_tables.h"
#include "tables/table_kind.h"

namespace morvela {

struct Program;

inline constexpr int kTableSlotCount = 25;   // teams a table holds
inline constexpr int kFormHistorySize = 51;  // ratings kept per team: the start and 50 matches

// The per-team records of the league tables window (the match analysis has records of the
// same names but another shape, in its own namespace).
namespace tables {

// One team in the standings, form and rating views.
struct Tmuzstva {
  int64_t id = 0;  // MUZSTVA.ID
  std::string name;
  int played = 0;
  int wins = 0;
  int draws = 0;
  int losses = 0;
  int goals_for = 0;
  int goals_against = 0;
  int32_t value = 0;        // points (standings); the rating or its change (form, rating views)
  int32_t rating_home = 0;  // the home rating kept beside `value` in the away views
  int32_t rating_away = 0;  // the away rating kept beside `value` in the home views
  std::array<uint16_t, kFormHistorySize> history{};  // rating after each counted match
  int history_count = 0;                             // last used index of `history`
};

// One team in the goal views.
struct TGoly {
  int64_t id = 0;
  std::string name;
  int played = 0;
  int over_matches = 0;          // matches with 3 or more goals
  int under_percent = 0;         // matches with at most 2 goals, in percent of `played`
  int over_percent = 0;          // matches with 3 or more goals, in percent of `played`
  int goals = 0;                 // goals of both teams in the counted matches
  std::array<int, 7> buckets{};  // matches with 0..5 goals; index 6: 6 or more
};

}  // namespace tables

enum class TableSide : uint8_t { kHome = 1, kAway = 2, kTogether = 3 };

enum class TableView : uint8_t { kStandings, kForm, kGoals, kGoalForm, kElo, kEloHome, kEloAway };

// The view family the side buttons compute for a table kind: form, goals, goal form, anything
// else standings.
TableView SideViewOfKind(TableKind kind);

// The coloured zones of column 0 in the full-time "Together" standings.
enum class Zone : uint8_t { kNone, kTop, kSecond, kPlayOff, kRelegation };

struct ZoneLimits {
  uint8_t LM = 0, EL = 0, BARAZ = 0, VYP = 0;  // 0: the competition has no such zone
};

// The zone of a place; a later rule wins: top (place <= LM), second (LM < place <= EL),
// play-off (place >= BARAZ), relegation (place >= VYP).
Zone ZoneOfPlace(int place, const ZoneLimits& limits);

struct TableColour {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const TableColour&) const = default;
};

enum class TableAlign : uint8_t { kLeft, kRight, kCenter };

// How one grid cell is drawn.
struct CellStyle {
  std::optional<TableColour> background;  // none: the grid's plain background
  TableColour text{0, 0, 0};
  bool bold = false;
  int points = 8;  // font size of the design's sans-serif font
  TableAlign align = TableAlign::kCenter;
  int top = 2;     // pixels between the cell's top and the text
  int margin = 0;  // pixels between the text and the cell's edge it is aligned to
};

inline constexpr TableColour kHeaderBackground{255, 255, 0};
inline constexpr TableColour kHeaderText{0, 0, 128};
inline constexpr TableColour kOddRow{255, 255, 255};
inline constexpr TableColour kEvenRow{215, 215, 215};
inline constexpr TableColour kTopZone{192, 224, 144};
inline constexpr TableColour kSecondZone{200, 224, 255};
inline constexpr TableColour kPlayOffZone{255, 200, 200};
inline constexpr TableColour kRelegationZone{255, 112, 96};
inline constexpr TableColour kMatchTeam{255, 208, 80};

struct GridColumn {
  std::string title;
  int width = 0;  // pixels in the design
};

// The league tables window as its openers reach it: the main window's "Tables" and "Form"
// buttons and the match windows' "Table home" / "Table away". The desktop program shows its
// window modally; tests and the command line use their own.
// The two teams of a match window's match (MUZSTVA.ID), highlighted in the tables.
struct TableMatch {
  int64_t home_team = 0;
  int64_t away_team = 0;
};

// What an opener hands the window: the table kind and, when a match window opens it, the two
// teams of that match, which the tables highlight. The main window opens the tables without a
// match. The window itself moves the kind between home and away as the user switches sides.
struct TableContext {
  TableKind kind = TableKind::kStandings;
  std::optional<TableMatch> match;
};

class LeagueTablesView {
 public:
  virtual ~LeagueTablesView() = default;
  // Shows the window for `context` and returns when it closes.
  virtual void ShowLeagueTables(Program& program, const TableContext& context) = 0;
};

// The table kind of the main window's "Tables" (standings, or goals in the under/over mode) and
// "Form" (form, or goal form) buttons.
TableKind MainWindowTableKind(const Program& program, bool form_button);

// The kind a match window's "Table home" / "Table away" opens in `mode`.
TableKind MatchTableKind(ResultMode mode, bool home_table);

class TForm2 {
 public:
  explicit TForm2(Program& program, const TableContext& context = {});

  // Opening: captions, the rating buttons or the form-window list (set to "Last 4 matches"),
  // the competition's teams in ascending id, and the side the table kind asks for. Reads the
  // result mode and the competition from the program.
  void FormShow();

  // The side buttons "Home", "Away", "Together" for the view family of the table kind.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  // The rating buttons "ELO", "ELO Home", "ELO Away".
  void Button4Click();
  void Button5Click();
  void Button6Click();

  // The form-window list: entry 0..3 stands for the last 2..5 matches. It applies at the next
  // press of a side button.
  void SelectFormWindow(int index);

  // Closing the window: the team list is closed.
  void Close();

  // The window's steps, public for tests.
  void vycisti();
  void NastavSG(int layout);
  void utried();

  // What the window shows.
  const std::string& Caption() const { return caption_; }
  const std::string& HeaderLine() const { return header_line_; }
  const std::array<std::string, 3>& SideCaptions() const { return side_captions_; }
  bool RatingButtonsVisible() const { return rating_buttons_visible_; }
  const std::array<std::string, 3>& RatingCaptions() const { return rating_captions_; }
  bool FormListVisible() const { return form_list_visible_; }
  const std::array<std::string, 4>& FormListItems() const { return form_list_items_; }
  int FormListIndex() const { return form_list_index_; }
  int FormWindow() const { return form_list_index_ + 2; }

  // The grid: one header row and a row per team.
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int RowCount() const { return static_cast<int>(cells_.size()); }
  const std::vector<GridColumn>& Columns() const { return columns_; }
  const std::string& Cell(int column, int row) const;
  int64_t RowTeam(int row) const;  // 0 for the header row
  // The drawing rules of a cell.
  CellStyle Style(int column, int row) const;
  // The zone colour of a team row's place (none while zone colouring is off).
  Zone RowZone(int row) const;
  // Whether column 1 of a team row carries the match colour.
  bool RowHighlighted(int row) const;

  TableKind Kind() const { return context_.kind; }
  bool ZoneColouring() const { return zone_colouring_; }
  bool BothTeams() const { return both_teams_; }
  TableView View() const { return view_; }
  TableSide Side() const { return side_; }
  ResultMode Mode() const { return mode_; }
  // N: the teams the table holds.
  int TeamCount() const { return team_count_; }
  // Slots 1..N as the last computation left them (in grid order).
  std::span<const tables::Tmuzstva> Teams() const;
  std::span<const tables::TGoly> GoalRows() const;
  // What the window told the user about the competition or the computation, each once.
  const std::vector<std::string>& Notices() const { return notices_; }

 private:
  void Side(TableSide side);
  // The standings, form and goal views of a side.
  void Standings(TableSide side);
  void FormTable(TableSide side);
  void GoalTable(TableSide side);
  void GoalFormTable(TableSide side);
  void RatingView(RatingTable table);
  // Slots 1..N back in the team list's order (ascending team id), before every computation.
  void RestoreSlotOrder();
  int FindSlot(int64_t id) const;
  int FindGoalSlot(int64_t id) const;
  // Columns 0-2 of the rating and form views; the form shows a sign also before 0.
  void WriteValueRows(bool signed_form);
  void WriteStandingsRows();
  void WriteGoalRows(bool goal_form);
  void Notice(int key, const std::string& text);
  std::string ModeLabel() const;
  const std::string& Msg(MessageId k) const;

  Program& p_;
  TableContext context_;
  Query team_list_;
  ResultMode mode_ = ResultMode::kFullTime;
  int team_count_ = 0;
  ZoneLimits limits_;
  std::array<tables::Tmuzstva, kTableSlotCount + 1> teams_{};  // slot 0 unused
  std::array<tables::TGoly, kTableSlotCount + 1> goals_{};
  std::vector<int64_t> list_order_;  // the team ids of slots 1..N as loaded

  std::string caption_;
  std::string header_line_;
  std::array<std::string, 3> side_captions_;
  bool rating_buttons_visible_ = false;
  std::array<std::string, 3> rating_captions_;
  bool form_list_visible_ = false;
  std::array<std::string, 4> form_list_items_;
  int form_list_index_ = 2;

  bool zone_colouring_ = false;
  bool both_teams_ = false;
  TableView view_ = TableView::kStandings;
  TableSide side_ = TableSide::kTogether;
  std::vector<GridColumn> columns_;
  std::vector<std::vector<std::string>> cells_;  // [row][column]
  std::vector<int64_t> row_teams_;
  std::vector<std::string> notices_;
  uint32_t notice_keys_ = 0;
};

}  // namespace morvela
