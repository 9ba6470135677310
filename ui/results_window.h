// The results browser `TForm3` and the result editor `TForm4` on screen: the grid of a season's
// results (or of a history list) with its light red rows for matches that do not count, the
// column titles that sort, a double click that edits, the Add, Edit, Delete and Search buttons;
// and the editor dialog with its three modes. Both draw the toolkit-free models
// (results/results_browser.h) and forward every click to them.
#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>

#include "analysis/match_history.h"
#include "results/results_browser.h"
#include "ui/model_window.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace morvela {

class ResultsTableModel;

class ResultEditorDialog : public QDialog {
  Q_OBJECT

 public:
  ResultEditorDialog(Program& program, QWidget* parent = nullptr);

  // Draws `editor` (opened by its FormShow) and sends OK and Back to it until Unbind.
  void Load(TForm4& editor);
  void Unbind() { e_ = nullptr; }

  QComboBox* HomeList() const { return home_; }
  QComboBox* AwayList() const { return away_; }
  QDateEdit* DateField() const { return date_; }
  // 0 home goals, 1 away goals, 2 half-time home goals, 3 half-time away goals.
  QSpinBox* GoalField(int n) const { return goals_[static_cast<size_t>(n)]; }
  QCheckBox* CheckBox() const { return check_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* BackButton() const { return back_; }

  void reject() override;

 private:
  // The fields into the model.
  void Store();

  Program& p_;
  TForm4* e_ = nullptr;
  QComboBox* home_ = nullptr;
  QComboBox* away_ = nullptr;
  QDateEdit* date_ = nullptr;
  std::array<QSpinBox*, 4> goals_{};
  QCheckBox* check_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* back_ = nullptr;
  // Home, Guest, Date, Result, Halftime, and the colons between the full-time and the
  // half-time goals.
  std::array<QLabel*, 7> labels_{};
};

class ResultsBrowserWindow : public ModelWindow, public ResultEditorView {
  Q_OBJECT

 public:
  // `modal`: the editor waits for the user (the interactive program) or is left open and
  // counts as Back (a screenshot run).
  ResultsBrowserWindow(Program& program, bool modal, QWidget* parent = nullptr);
  ~ResultsBrowserWindow() override;

  TForm3& Model() { return model_; }
  // Opening: the model's FormShow, then everything drawn.
  void Open();

  QTableView* Grid() const { return grid_; }
  // 1 Add, 2 Edit, 3 Delete, 4 Search.
  QPushButton* Button(int n) const { return buttons_[static_cast<size_t>(n - 1)]; }
  ResultEditorDialog* Editor() const { return editor_; }
  // Plays the editor instead of the user (tests): called with the loaded dialog instead of
  // running it.
  void SetEditorDriver(std::function<void(ResultEditorDialog&)> driver) {
    driver_ = std::move(driver);
  }

  void ShowResultEditor(TForm4& editor) override;
  void done(int result) override;

 private:
  void Refresh() override;

  bool modal_;
  TForm3 model_;
  ResultsTableModel* table_model_ = nullptr;
  QTableView* grid_ = nullptr;
  std::array<QPushButton*, 4> buttons_{};
  ResultEditorDialog* editor_ = nullptr;
  std::function<void(ResultEditorDialog&)> driver_;
};

// The desktop program's results browser: one window, shown modally; or, for a screenshot, left
// open. It also shows the match windows' history lists.
class QtResultsBrowserView : public ResultsBrowserView, public HistoryListLinks {
 public:
  QtResultsBrowserView(Program& program, QWidget* parent, bool modal)
      : p_(program), parent_(parent), modal_(modal) {}
  ~QtResultsBrowserView() override;
  TForm3& Browser() override;
  void ShowResultsBrowser() override;
  void ShowHistoryList(const HistoryRequest& request) override;
  // The window; null before the first showing.
  ResultsBrowserWindow* Window() const { return window_.data(); }

 private:
  ResultsBrowserWindow& EnsureWindow();

  Program& p_;
  QWidget* parent_;
  bool modal_;
  QPointer<ResultsBrowserWindow> window_;
};

}  // namespace morvela
