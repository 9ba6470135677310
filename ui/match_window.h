// The match tip window `TForm5` on screen: two team choosers with OK and Back, the line chart
// of both teams' ratings (or goals) with a hint balloon per match, the two teams' figures, the
// head-to-head line, the tip panel and the bet link. It draws the toolkit-free model
// (analysis/match_window.h) and forwards every click to it.
#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "analysis/match_window.h"
#include "tips/tips_list.h"
#include "ui/choice_band.h"
#include "ui/league_tables_window.h"
#include "ui/model_window.h"
#include "ui/results_window.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace morvela {

class MatchChartView;

class MatchTipWindow : public ModelWindow, public MatchWindowOpener, public MatchWindowLinks {
  Q_OBJECT

 public:
  // `modal`: ShowModal waits for the window to close (the interactive program) or leaves it
  // open and returns (a screenshot run).
  MatchTipWindow(Program& program, bool modal, QWidget* parent = nullptr);
  ~MatchTipWindow() override;

  TForm5& Model() { return model_; }
  // The league tables of the latest "Table home" or "Table away"; null before the first.
  LeagueTablesWindow* TablesWindow() const { return tables_view_.Window(); }
  // The results browser of the latest history list; null before the first.
  ResultsBrowserWindow* ResultsWindow() const { return results_view_.Window(); }

  // The tip search: fills the choosers (FindTip), centres the window on `main_window` and
  // shows it.
  void OpenForChoice(QWidget* main_window);

  // The tips list's hand-over.
  void PresetTeams(const Team& home, const Team& away) override;
  void SetOpenedFromTips(bool value) override;
  void ShowModal() override;

  // The history lists in the results browser; the league tables window.
  void ShowHistoryList(const HistoryRequest& request) override;
  void ShowLeagueTable(const TableContext& context) override;

  // Selects the chooser items of the two teams (by id) and presses OK. False when a team is
  // not in its chooser.
  bool ChooseAndAnalyse(int64_t home, int64_t away);

  // The chart's hit test at a position of the chart view: the hint text of the first line
  // (home, then away) whose point or segment lies within a few pixels; empty when none.
  QString HintAt(const QPoint& view_pos) const;
  // Where point `index` of line `series` stands in the chart view (for tests and the hint).
  QPoint PointPosition(int series, int index) const;
  // Shows the hint balloon for a pointer at `view_pos` (the chart's mouse move).
  void ShowHint(const QPoint& view_pos);

  QChartView* ChartView() const;

 private:
  void Build();
  // Draws the model's state: captions, choosers, labels, chart, sizes and position.
  void Refresh() override;
  void RefreshChart();
  void FormShow();
  // Centres the window on `owner` (when there is one), runs FormShow and shows it.
  void ShowCentredOn(QWidget* owner);

  bool modal_;
  TForm5 model_;
  QtLeagueTablesView tables_view_;     // "Table home" and "Table away"
  QtResultsBrowserView results_view_;  // the history lists

  ChoiceBand choice_;            // the column heads, the two choosers, OK and Back
  QWidget* analysis_ = nullptr;  // everything below the band
  MatchChartView* chart_view_ = nullptr;
  QChart* chart_ = nullptr;
  std::array<QLineSeries*, 3> series_{};
  QValueAxis* axis_x_ = nullptr;
  QValueAxis* axis_y_ = nullptr;
  std::array<QLabel*, 15> labels_{};
  QLabel* second_opinion_ = nullptr;
  QPushButton* latest_home_ = nullptr;
  QPushButton* latest_away_ = nullptr;
  QPushButton* table_home_ = nullptr;
  QPushButton* table_away_ = nullptr;
  QPushButton* show_matches_ = nullptr;
  QPushButton* bet_ = nullptr;
};

}  // namespace morvela
