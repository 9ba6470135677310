// The tip runs of the main window: a tip for every unplayed fixture of a period (today, the
// week up to the coming Monday, or the loaded league season over the next `Dni` days), kept in
// the table TIPY for the tips list. The runs clear TIPY, search the outcome frequencies of every
// fixture, select its tip, look the tip's odds up in KURZY and store the tip with its profit
// margin (the tip percentage minus the percentage the odds imply).
//
// The header also holds what the value-tip run shares with these runs: the TIPY row layout,
// which KURZY column prices a tip, how an odds cell is read, and the per-fixture search.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/result_mode.h"

namespace morvela {

struct Program;
struct Tdm;
class Field;
class Query;

// Where every tip run ends: the tips list over the TIPY rows it stored. The desktop program
// shows the list window modally; the command line prints the list.
class TipsListView {
 public:
  virtual ~TipsListView() = default;
  // Shows the list of the latest run; program.tip_run tells which run filled TIPY.
  virtual void ShowTipsList(Program& program) = 0;
};

// The last day of the week run: the coming Monday (today itself on a Monday, tomorrow on a
// Sunday).
Date WeekRunEnd(const Date& today);
// The last day of the league run: today plus `Dni` days.
Date LeagueRunEnd(const Date& today, int dni);

// The runs. Each reads the result mode, today's date and (league run) the current competition
// from the program. When the period holds no unplayed fixture it shows the run's warning
// (message 23, 24 or 25), leaves TIPY as it was and returns false. Otherwise it replaces TIPY
// with the run's tips, sets TipRunKind (the today run also BestTipPercent), shows the list
// through `view` and returns true. Database errors pass through; TIPY then holds the tips
// stored so far.
//
// The today run keeps only single and double-chance tips that reach the best tip percentage
// seen so far in the walk, raising that best as it goes; the list then shows the rows at the
// final best. The week and league runs keep every tip, three-way tips only when the `3tip`
// setting is on.
bool RunTodayTips(Program& program, TipsListView& view);
bool RunWeekTips(Program& program, TipsListView& view);
bool RunLeagueTips(Program& program, TipsListView& view);

// ---- Shared with the value-tip run ----

// The KURZY column that prices a tip in a result mode (0 full time, 1 first half, 2 second
// half, 3 under/over): "1" KURZ1, "0" KURZX, "2" KURZ2, "10"/"01" KURZ1X, "20"/"02" KURZX2,
// "12"/"21" KURZ12, with the prefix "HT_" or "SHT_" for the halves; blanks around the tip are
// ignored. In under/over mode " < " is UNDER and " > " is OVER. Empty for a three-way tip and
// for anything that is not a tip of the mode.
std::string OddsColumn(ResultMode result_mode, std::string_view tip);

// The odds an odds cell holds: its value when the cell reads as a number greater than 0. A
// NULL, an empty text, a text that is not a number, 0 and negative values give nullopt: such a
// tip counts as having no odds. The value is parsed from the cell's text, never pasted into SQL
// as that text.
std::optional<double> OddsValue(const Field& cell);

// TipPercent minus the percentage the odds imply; 0 without odds.
int TipProfit(int tip_percent, std::optional<double> odds);

// One row of TIPY.
struct TipRow {
  int64_t id = 0;         // the fixture's VYSLEDKY.ID
  int64_t league = 0;     // ID_LIGA
  std::string date_text;  // DATUM as the fixture cursor reads it (dd.mm.yyyy)
  int64_t home = 0, away = 0;
  int tip1 = 0, tipx = 0, tip2 = 0;  // home/draw/away percentages; under/over: under/over
  std::string tip;                   // untrimmed
  int perc = 0;                      // the tip's percentage (not stored in under/over mode)
  std::optional<double> odds;        // stored as KURZ, 0 without odds
  int profit = 0;
};

// The fixture part of a TIPY row (ID, ID_LIGA, DATUM, HOME, AWAY) from the fixture cursor's
// current row; id_column names the fixture's ID ("ID", or "VYSLEDKY.ID" in a join with KURZY).
TipRow FixtureTipRow(const Query& fixture, std::string_view id_column);

// Inserts a TIPY row with the statement of the result mode: under/over rows leave TIPX and
// PERC unwritten. KURZ is written with a decimal point.
void InsertTipRow(Tdm& dm, ResultMode result_mode, const TipRow& row);

// Runs the list search for the fixture the cursor stands on, with the difference column of the
// program's result mode (0..2) and the fixture's league, into program.prediction. The search
// reads through its own result sets, so the cursor stays on its row.
void SearchFixture(Program& program, const Query& fixture);

}  // namespace morvela
