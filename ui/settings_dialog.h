// The settings dialog `TfNastavenie` on screen: four tabs (Tips, Language, Update, Version)
// over the toolkit-free model (program/settings_dialog.h), with OK and Back.
#pragma once

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>

#include "program/settings_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace morvela {

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // `app_restart` and `find_new_version` as the model takes them.
  SettingsDialog(Program& program, std::function<void()> app_restart,
                 std::function<void()> find_new_version, QWidget* parent = nullptr);

  // Fills the dialog from the model's FormShow; the caller shows it (ShowWindow).
  void Open();

  TfNastavenie& Model() { return model_; }
  QSpinBox* DaysField() const { return days_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* BackButton() const { return back_; }
  QTabWidget* Tabs() const { return tabs_; }
  QRadioButton* LanguageButton(int index) const { return languages_[static_cast<size_t>(index)]; }
  QComboBox* DatabaseCheck() const { return database_check_; }

 protected:
  // Enter in the days field moves the focus to OK.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildTipsTab();
  QWidget* BuildLanguageTab();
  QWidget* BuildUpdateTab();
  QWidget* BuildVersionTab();
  // Writes the controls into the model before OK.
  void TakeControls();

  Program& p_;
  TfNastavenie model_;
  QTabWidget* tabs_ = nullptr;
  QLabel* tipping_for_ = nullptr;
  QSpinBox* days_ = nullptr;
  QLabel* days_ahead_ = nullptr;
  QCheckBox* three_way_ = nullptr;
  QLabel* select_language_ = nullptr;
  std::array<QRadioButton*, 4> languages_{};
  QLabel* database_check_label_ = nullptr;
  QComboBox* database_check_ = nullptr;
  QLabel* program_check_label_ = nullptr;
  QComboBox* program_check_ = nullptr;
  QLabel* version_ = nullptr;
  QLabel* database_version_ = nullptr;
  QPushButton* find_new_version_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* back_ = nullptr;
};

// The arguments the new run gets: this run's, without the program's name and without --lang
// (the language just saved must win).
QStringList RestartArguments(const QStringList& arguments);

// Starts the program's own executable anew with RestartArguments and ends this run (the main
// window closes, which runs the exit sequence). When the new process cannot be started the
// running program goes on.
void RestartProgram(QWidget* main_window);

}  // namespace morvela
