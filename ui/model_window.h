// A window that shows one toolkit-free model. Every user action runs through Act: an error
// becomes a message and the window stays, and the window is drawn afresh from the model after
// the action, whatever the action changed.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>

#include "program/program.h"
#include "ui/qt_user_interface.h"

namespace morvela {

class ModelWindow : public QDialog {
 public:
  ModelWindow(Program& program, QWidget* parent) : QDialog(parent), p_(program) {}

 protected:
  void Act(const std::function<void()>& action) {
    Guarded(p_.ui, action);
    Refresh();
  }
  // Draws the whole window from its model.
  virtual void Refresh() = 0;

  Program& p_;
};

// The cells of a window's grid, read from the window's model (anything with RowCount()); the
// view redraws all of them after every action.
template <class Model>
class WindowTableModel : public QAbstractTableModel {
 public:
  WindowTableModel(Model& model, QObject* parent) : QAbstractTableModel(parent), m_(model) {}
  void Reload() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : m_.RowCount();
  }

 protected:
  Model& m_;
};

}  // namespace morvela
