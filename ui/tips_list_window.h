// The tips list `TForm6` on screen: a grid over the tips list model (tips/tips_list.h) with the
// league flags, sorting by a click on a column title, the match hand-over on a double click and
// the CSV export on Ctrl+E.
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "tips/tip_runs.h"
#include "tips/tips_list.h"
#include "ui/match_window.h"

class QAction;
class QTableView;

namespace morvela {

class TipsTableModel;

class TipsListWindow : public QDialog {
  Q_OBJECT

 public:
  TipsListWindow(Program& program, MatchWindowOpener& opener, QWidget* parent = nullptr);
  ~TipsListWindow() override;

  // Shows the list of the latest tip run: caption, initial sort and grid (the model's Show).
  // Database errors pass through.
  void Open();

  TipsList& List() { return list_; }
  QTableView* Grid() const { return grid_; }
  // The header's context menu entry that switches the columns Model % and Market % on and off;
  // the choice is kept in the settings file for the next list.
  QAction* SecondOpinionAction() const { return second_opinion_; }

  // Closing the window closes the list query.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Draws the list after the model rebuilt it: rows, column widths, the sort indicator.
  void Reload();
  void TitleClick(int column);
  // Sets the columns' widths: their natural widths, widened in proportion to fill the grid.
  void StretchColumns();
  // The match window for the fixture of `row` (a double click, Enter).
  void OpenMatch(int row);
  void ShowSecondOpinion(bool on);

  Program& p_;
  MatchWindowOpener& opener_;
  TipsList list_;
  TipsTableModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QAction* second_opinion_ = nullptr;
  double width_scale_ = 1.0;
  std::vector<int> column_widths_;  // each column's natural width (its title, its design width)
};

// The desktop program's way to show the list a tip run filled: the list window, modal; or,
// for a screenshot, left open without waiting. A double click on a row opens the match tip
// window (created once, beside the list).
class QtTipsListView : public TipsListView {
 public:
  QtTipsListView(QWidget* parent, bool modal) : parent_(parent), modal_(modal) {}
  ~QtTipsListView() override;
  void ShowTipsList(Program& program) override;
  // The match tip window a double click opens; the list makes its own when none is given.
  void SetMatchWindow(MatchTipWindow* window) { match_window_ = window; }
  MatchTipWindow* MatchWindow() const { return match_window_.data(); }
  // The window of the latest showing; null before the first.
  TipsListWindow* Window() const { return window_.data(); }

 private:
  QWidget* parent_;
  bool modal_;
  QPointer<MatchTipWindow> match_window_;
  // A child of parent_: whichever of the two goes first takes the window with it.
  QPointer<TipsListWindow> window_;
};

}  // namespace morvela
