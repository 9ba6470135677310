// The live tip window `TfLive` on screen: the band with the two team choosers, the half-time
// score, OK and Back; below it, once analysed, the information before the match (figures,
// head-to-head line, pre-match tip, odds and difference lines) and the tip after half time with
// the in-play odds calculator. It draws the toolkit-free model (analysis/live_window.h) and
// forwards every click and odds change to it.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "analysis/live_window.h"
#include "ui/choice_band.h"
#include "ui/model_window.h"
#include "ui/results_window.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace morvela {

class LiveTipWindow : public ModelWindow {
  Q_OBJECT

 public:
  // `modal`: Open waits for the window to close (the interactive program) or leaves it open
  // and returns (a screenshot run). "Table home" / "Table away" open `tables`.
  LiveTipWindow(Program& program, LeagueTablesView& tables, bool modal, QWidget* parent = nullptr);
  ~LiveTipWindow() override;

  TfLive& Model() { return model_; }
  // Runs when the window changes the main window's result mode (on opening and closing), so
  // that the main window shows it.
  void SetModeChangedHandler(std::function<void()> handler) { mode_changed_ = std::move(handler); }

  // The main window's "LIVE tip": fills the choosers, switches the result mode to full time,
  // shows the window centred on `main_window`, and when it closes gives the mode back (a
  // screenshot run gives it back in Finish()).
  void Open(QWidget* main_window);
  void Finish();

  // Selects the chooser items of the two teams (by id), enters the half-time score and presses
  // OK. False when a team is not in its chooser.
  bool ChooseAndAnalyse(int64_t home, int64_t away, int ht_home, int ht_away);

  QDoubleSpinBox* OddsEntry(int index) const { return odds_[static_cast<size_t>(index)]; }
  QLabel* LabelWidget(int n) const { return labels_[static_cast<size_t>(n)]; }
  // The results browser of the latest history list; null before the first.
  ResultsBrowserWindow* ResultsWindow() const { return results_view_.Window(); }

 protected:
  // Enter in an odds field takes the typed odds; it does not press the window's OK.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Refresh() override;

  LeagueTablesView& tables_;
  bool modal_;
  bool open_ = false;
  TfLive model_;
  QtResultsBrowserView results_view_;  // the history lists
  std::function<void()> mode_changed_;

  ChoiceBand choice_;  // the column heads, the two choosers, OK and Back
  QSpinBox* pb1_ = nullptr;
  QSpinBox* pb2_ = nullptr;
  QWidget* analysis_ = nullptr;
  std::array<QLabel*, kFirstLiveDifference + kLiveOddsCount> labels_{};
  QLabel* in_play_ = nullptr;
  std::array<QDoubleSpinBox*, kLiveOddsCount> odds_{};
  QPushButton* latest_home_ = nullptr;
  QPushButton* latest_away_ = nullptr;
  QPushButton* table_home_ = nullptr;
  QPushButton* table_away_ = nullptr;
  QPushButton* show_matches_ = nullptr;
  QPushButton* show_live_matches_ = nullptr;
};

}  // namespace morvela
