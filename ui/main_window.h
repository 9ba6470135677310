// The main window `TForm1` on screen. It draws the toolkit-free model (core/main_window_model.h)
// and forwards every click to it; the tip buttons open the tips list window, "Tables" and "Form"
// the league tables.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>

#include "main_window/main_window_model.h"
#include "ui/background_check.h"
#include "ui/league_tables_window.h"
#include "ui/live_window.h"
#include "ui/results_window.h"
#include "ui/settings_dialog.h"
#include "ui/tips_list_window.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;
class QToolButton;

namespace morvela {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `modal_tips`: the tip runs show their list modally (the interactive program) or leave it
  // open and return (a screenshot).
  MainWindow(TForm1& model, Program& program, bool modal_tips, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Draws the model's state: captions, hints, flags, enable and visible flags, the season
  // chooser, the tabs and the status line.
  void Refresh();

  // Runs once, just after the window first appeared on screen (the start-up sequence).
  void SetFirstShowHandler(std::function<void()> handler) { first_show_ = std::move(handler); }
  // Runs when the user closes the window (the exit sequence).
  void SetCloseHandler(std::function<void()> handler) { close_ = std::move(handler); }

  // The tips list window of the latest tip run; null before the first.
  TipsListWindow* TipsWindow() const { return tips_view_.Window(); }
  // The league tables window of the latest "Tables" or "Form"; null before the first.
  LeagueTablesWindow* TablesWindow() const { return tables_view_.Window(); }
  // The way the match windows open the league tables (with their match).
  LeagueTablesView& TablesView() { return tables_view_; }
  // The match tip window of "Search for tip" and of the tips list's double click.
  MatchTipWindow* MatchWindow() const { return match_window_; }
  // The live tip window of "LIVE tip".
  LiveTipWindow* LiveWindow() const { return live_window_; }
  // The settings dialog of the settings button.
  SettingsDialog* SettingsWindow() const { return settings_dialog_; }
  // The results browser of "Results"; null before the first.
  ResultsBrowserWindow* ResultsWindow() const { return results_view_.Window(); }

  // Asks the server what `plan` says on a worker thread and shows the findings once they are
  // in; `end_program` runs when an install they led to left no database.
  void RunStartupChecks(const ServerCheckPlan& plan, std::function<void()> end_program);
  // "Find a new version" of the settings dialog, asked on a worker thread in the same way.
  void FindNewVersion();
  // The latest update check on a worker thread; null before the first.
  BackgroundCheck* UpdateCheck() const { return check_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildHeader();
  QWidget* BuildFunctions();
  QWidget* BuildLeagues();
  // Runs a click through the general error report, then draws the model again.
  void Handle(const std::function<void()>& handler);
  // Starts an update check on a worker thread, unless one is still running (its dialog comes
  // to the front instead).
  void StartCheck(BackgroundWork work, std::function<void()> done);

  TForm1& model_;
  Program& p_;
  QtTipsListView tips_view_;
  QtLeagueTablesView tables_view_;
  QtResultsBrowserView results_view_;
  MatchTipWindow* match_window_ = nullptr;
  LiveTipWindow* live_window_ = nullptr;
  SettingsDialog* settings_dialog_ = nullptr;
  bool modal_settings_ = true;
  std::function<void()> first_show_;
  std::function<void()> close_;

  std::array<QPushButton*, kLeagueCount> leagues_{};
  std::array<QPushButton*, kFunctionButtonCount> functions_{};
  QToolButton* help_ = nullptr;
  QToolButton* settings_ = nullptr;
  QToolButton* update_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QWidget* chooser_ = nullptr;
  QLabel* chooser_label_ = nullptr;
  QComboBox* seasons_ = nullptr;
  QPushButton* confirm_ = nullptr;
  QLabel* status_ = nullptr;
  QPointer<BackgroundCheck> check_;
};

}  // namespace morvela
