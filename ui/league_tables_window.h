// The league tables window `TForm2` on screen: the grid of the toolkit-free model
// (tables/league_tables.h), painted cell by cell from the model's drawing rules, with the side
// buttons, the rating buttons and the form-window list.
#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>

#include "tables/league_tables.h"
#include "ui/model_window.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace morvela {

class LeagueTableModel;

class LeagueTablesWindow : public ModelWindow {
  Q_OBJECT

 public:
  LeagueTablesWindow(Program& program, const TableContext& context, QWidget* parent = nullptr);
  ~LeagueTablesWindow() override;

  // Shows the tables for the program's table context (the model's FormShow). Database errors
  // pass through.
  void Open();

  TForm2& Model() { return model_; }
  QTableView* Grid() const { return grid_; }
  // Button1 .. Button6 (Home, Away, Together, ELO, ELO Home, ELO Away).
  QPushButton* Button(int n) const { return buttons_[static_cast<size_t>(n - 1)]; }
  QComboBox* FormList() const { return form_list_; }

  void done(int result) override;

 private:
  // Runs a button through the general error report, then draws the model again.
  // Draws the model's state: captions, header line, visible controls, the grid.
  void Refresh() override;

  TForm2 model_;
  LeagueTableModel* table_model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* header_line_ = nullptr;
  std::array<QPushButton*, 6> buttons_{};
  QComboBox* form_list_ = nullptr;
  double width_scale_ = 1.0;
  int widest_grid_ = 0;  // the grid's width so far: views switch without the window narrowing
};

// The desktop program's league tables: the window, modal; or, for a screenshot, left open.
class QtLeagueTablesView : public LeagueTablesView {
 public:
  QtLeagueTablesView(QWidget* parent, bool modal) : parent_(parent), modal_(modal) {}
  ~QtLeagueTablesView() override;
  void ShowLeagueTables(Program& program, const TableContext& context) override;
  // The window of the latest showing; null before the first.
  LeagueTablesWindow* Window() const { return window_.data(); }

 private:
  QWidget* parent_;
  bool modal_;
  QPointer<LeagueTablesWindow> window_;
};

}  // namespace morvela
