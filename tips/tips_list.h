// The tips list: the window every tip run opens over the TIPY rows it stored. It lists the tips
// with date, league, teams, percentages, tip, odds and profit margin, re-sorts on a click on a
// column title, opens the match tip window for a double-clicked row and exports the list to a
// semicolon-separated file on Ctrl+E. What it shows depends on the run that filled TIPY
// (TipRunKind), the result mode and the user's language.
//
// This is the window's model: the rows live in the data module's cursor Work3 (the list query),
// and a view draws everything from here: caption, columns (field, title, width, alignment), the
// display text of every cell and the flag of every row's league.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/database.h"
#include "core/result_mode.h"
#include "tips/calibration_store.h"
#include "tips/tip_second_opinion.h"

namespace morvela {

struct Program;
struct Tdm;
class Messages;

enum class CellAlign : uint8_t { kLeft, kRight, kCenter };

// One grid column: the list query's field it shows, its title, its width in pixels.
struct TipsColumn {
  std::string field;
  std::string title;
  int width = 0;
  CellAlign align = CellAlign::kLeft;
};

// The grid columns of a result mode with titles in the language of `messages`: DATUM, LIGA,
// DOMACI, HOSTIA, then TIP1, TIPX, TIP2, TIP, PERC, KURZ, PROFIT (under/over: TIP1, TIP2, TIP,
// KURZ, PROFIT).
std::vector<TipsColumn> TipsListColumns(ResultMode result_mode, const Messages& messages);

// The optional second-opinion columns, after the grid's own: the goal model's and the market's
// percentage for the row's tip (TipSecondOpinions), blank where there is none. They are no
// fields of the list query, so a click on their titles sorts nothing.
inline constexpr std::string_view kModelPercentField = "MODEL %";
inline constexpr std::string_view kMarketPercentField = "MARKET %";
std::vector<TipsColumn> SecondOpinionColumns(const Messages& messages);

// Work3's display rules for the list: KURZ shows a blank for 0, else two decimals with a decimal
// comma; in under/over mode TIP1 and TIP2 show "%" behind their value.
void Work3Uprav(Tdm& dm, ResultMode result_mode);

// The list's sort keys, reset every time the window is shown.
struct TipsListSort {
  std::string SortColumn;
  std::string SortDirection;  // "ASC" or "DESC"
  std::string SecondSortColumn;
  std::string SecondSortDirection;
};

// The match tip window as the tips list opens it for a row.
class MatchWindowOpener {
 public:
  struct Team {
    int64_t id = 0;  // MUZSTVA.ID
    std::string name;
  };
  virtual ~MatchWindowOpener() = default;
  // Puts one item into each team chooser, the home and the away team, and selects both.
  virtual void PresetTeams(const Team& home, const Team& away) = 0;
  // The window's OpenedFromTips flag. While it is set the window computes as soon as it shows,
  // taking DATUM and ID from the tips list's current row (the data module's Work3).
  virtual void SetOpenedFromTips(bool value) = 0;
  // Shows the window modally and returns when it closes.
  virtual void ShowModal() = 0;
};

class TipsList {
 public:
  explicit TipsList(Program& program);

  // Showing the window: sets the caption and the export name, the initial sort of the run kind
  // (today and week: PERC, or TIP2 in under/over mode, descending, then TIP ascending; league:
  // DATUM then ID ascending; value tips: PROFIT then KURZ descending) and runs ZobrazGrid.
  void Show();

  // Lays the columns out for the result mode, rebuilds the list query from the sort keys,
  // reopens it on Work3 and attaches the display rules (blank odds for 0, "%" behind the
  // under/over percentages). The today list holds only the rows at BestTipPercent; the week and
  // value-tip lists sort their league column in the language's league order.
  void ZobrazGrid();

  // A click on the title of the column that shows `field` (DATUM, LIGA, DOMACI, HOSTIA, TIP1,
  // TIPX, TIP2, TIP, PERC, KURZ, PROFIT): a new column sorts ascending (descending for the
  // percentages and the profit), the same column again flips its direction; the second key
  // follows the clicked column. Re-runs ZobrazGrid.
  void TitleClick(const std::string& field);

  // A double click on `row`: the match tip window analyses the row's pairing in the row's league
  // (its active season), with WindowRaised set. The current league, competition and team count
  // are saved before and restored afterwards, also when the window fails; the list's current row
  // is `row` while the window is open.
  void OpenMatch(int row, MatchWindowOpener& opener);

  // A key pressed in the grid; E with exactly Ctrl exports with ExportName() + ".csv". True
  // when the key did something.
  bool KeyDown(char key, bool ctrl, bool shift, bool alt);

  // Offers the save dialog in the Export folder with the filter "CSV File" and the proposed file
  // name, then writes the list to the chosen file: a header of the trimmed column titles, one
  // line per row of the trimmed raw field texts (odds as the grid writes them, "1,20", but odds 0
  // as 0; no "%"), ";" between values, every
  // line ended by CR LF. Returns the written path; nullopt when the dialog was cancelled (then
  // nothing is written). The current row is kept. Throws FileError when the file
  // cannot be written.
  // With `with_past` every line ends with two more fields, the past hit rate of tips like the
  // row's and their number (header "PAST %" and "PAST N"; empty fields without a record).
  std::optional<std::string> ExportToCSV(const std::string& proposed_name, bool with_past = false);

  // The past hit rate of tips like the row's tip: same result mode, league, tip kind and
  // five-point bucket of its percentage, from the stored calibration rows that end before the
  // row's day. nullopt for three-way tips and when nothing is stored.
  std::optional<PastRecord> Past(int row);
  // The tooltip of the row's percentage cell in the list's language, e.g. "Tips like this won
  // 71 % of 2 522 in 2022-2025"; empty without a past record.
  std::string PastText(int row);
  // The tooltip of a cell: PastText on the cell of the tip's percentage (PERC; in under/over mode
  // TIP1 for an under tip, TIP2 for an over tip), empty on every other cell.
  std::string CellToolTip(int row, std::string_view field);

  // Switches the second-opinion columns on or off (off for a new list); the rows stay as they
  // are. The choice holds across re-sorts.
  void ShowSecondOpinion(bool on);
  bool SecondOpinionShown() const { return second_opinion_; }
  // The model's and the market's figures for the row's tip; each match and tip is looked up
  // once per list.
  const TipSecondOpinions::Figures& SecondOpinion(int row);

  // Closing the window: closes the list query.
  void Close();

  const std::string& Caption() const { return caption_; }
  const std::string& ExportName() const { return export_name_; }
  const TipsListSort& Sort() const { return sort_; }
  const std::vector<TipsColumn>& Columns() const { return columns_; }
  // The list query's columns in their order.
  const std::vector<std::string>& FieldNames() const;

  int RowCount() const;
  int CurrentRow() const;
  void SetCurrentRow(int row);
  // The text the grid shows for `field` in `row` (display rules applied).
  std::string DisplayText(int row, std::string_view field);
  // The raw value of `field` in `row`; valid until the list query is reopened or closed.
  Field Value(int row, std::string_view field);
  // The flag picture drawn in the row's league cell: ID_LIGA - 1.
  int FlagIndex(int row);

 private:
  std::string ListQuery() const;
  // The percentage a row's tip states: PERC, or in under/over mode TIP1 for under and TIP2 for
  // over.
  int StatedPercent(int row);
  // The field that holds it.
  std::string StatedPercentField(int row);

  Program& p_;
  std::string caption_;
  std::string export_name_;
  TipsListSort sort_;
  std::vector<TipsColumn> columns_;
  // The grid's own columns of the result mode, and the second opinion's when shown.
  void LayOutColumns();
  // The text of a second-opinion cell: the percentage, or blank.
  std::string SecondOpinionText(int row, std::string_view field);

  bool second_opinion_ = false;
  std::optional<TipSecondOpinions> opinions_;  // made on first use
  std::map<std::pair<int64_t, std::string>, TipSecondOpinions::Figures> figures_;
  // Looked-up past records by league, kind, bucket and day; kept across re-sorts.
  std::map<std::tuple<int, int, int, int64_t>, std::optional<PastRecord>> past_;
};

}  // namespace morvela
