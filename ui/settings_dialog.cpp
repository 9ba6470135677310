#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "program/program.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

// A tab page on the dialog's pale yellow.
QWidget* Page(QTabWidget* tabs, const char* name) {
  auto* page = new QWidget(tabs);
  page->setObjectName(QLatin1String(name));
  page->setAutoFillBackground(true);
  QPalette palette = page->palette();
  palette.setColor(QPalette::Window, QColor(255, 255, 216));
  page->setPalette(palette);
  return page;
}

QComboBox* CheckList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QLatin1String(name));
  list->addItems({QString(), QString()});
  list->setMinimumWidth(220);
  return list;
}

}  // namespace

SettingsDialog::SettingsDialog(Program& program, std::function<void()> app_restart,
                               std::function<void()> find_new_version, QWidget* parent)
    : QDialog(parent),
      p_(program),
      model_(program, std::move(app_restart), std::move(find_new_version)) {
  setObjectName(QStringLiteral("fNastavenie"));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("PageControl1"));
  tabs_->addTab(BuildTipsTab(), QString());
  tabs_->addTab(BuildLanguageTab(), QString());
  tabs_->addTab(BuildUpdateTab(), QString());
  tabs_->addTab(BuildVersionTab(), QString());
  layout->addWidget(tabs_);

  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(this);
  ok_->setObjectName(QStringLiteral("btnUloz"));
  back_ = new QPushButton(this);
  back_->setObjectName(QStringLiteral("btnKoniec"));
  for (QPushButton* b : {ok_, back_}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
  }
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(back_);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, [this] {
    TakeControls();
    Guarded(p_.ui, [this] { model_.btnUlozClick(); });
    if (!model_.IsOpen()) accept();
  });
  connect(back_, &QPushButton::clicked, this, [this] {
    model_.btnKoniecClick();
    reject();
  });
  connect(find_new_version_, &QPushButton::clicked, this,
          [this] { Guarded(p_.ui, [this] { model_.JvTransparentButton1Click(); }); });
  days_->installEventFilter(this);
}

QWidget* SettingsDialog::BuildTipsTab() {
  QWidget* page = Page(tabs_, "TabSheet1");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(16, 20, 16, 16);
  tipping_for_ = new QLabel(page);
  days_ = new QSpinBox(page);
  days_->setObjectName(QStringLiteral("JvSpinEdit4"));
  days_->setRange(0, kMaxDaysAhead);
  days_ahead_ = new QLabel(page);
  three_way_ = new QCheckBox(page);
  three_way_->setObjectName(QStringLiteral("CheckBox1"));
  grid->addWidget(tipping_for_, 0, 0);
  grid->addWidget(days_, 0, 1);
  grid->addWidget(days_ahead_, 0, 2);
  grid->addWidget(three_way_, 1, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* SettingsDialog::BuildLanguageTab() {
  QWidget* page = Page(tabs_, "TabSheet2");
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(16, 20, 16, 16);
  select_language_ = new QLabel(page);
  column->addWidget(select_language_);
  for (int i = 0; i < 4; ++i) {
    languages_[static_cast<size_t>(i)] = new QRadioButton(page);
    languages_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    column->addWidget(languages_[static_cast<size_t>(i)]);
  }
  column->addStretch(1);
  return page;
}

QWidget* SettingsDialog::BuildUpdateTab() {
  QWidget* page = Page(tabs_, "TabSheet3");
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(16, 20, 16, 16);
  database_check_label_ = new QLabel(page);
  database_check_ = CheckList(page, "DatabaseCheckList");
  program_check_label_ = new QLabel(page);
  program_check_ = CheckList(page, "ProgramCheckList");
  grid->addWidget(database_check_label_, 0, 0);
  grid->addWidget(database_check_, 1, 0);
  grid->addWidget(program_check_label_, 2, 0);
  grid->addWidget(program_check_, 3, 0);
  grid->setRowMinimumHeight(2, 36);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* SettingsDialog::BuildVersionTab() {
  QWidget* page = Page(tabs_, "TabSheet4");
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(16, 20, 16, 16);
  version_ = new QLabel(page);
  database_version_ = new QLabel(page);
  find_new_version_ = new QPushButton(page);
  find_new_version_->setObjectName(QStringLiteral("JvTransparentButton1"));
  find_new_version_->setAutoDefault(false);
  column->addWidget(version_);
  column->addWidget(database_version_);
  column->addSpacing(12);
  auto* row = new QHBoxLayout;
  row->addWidget(find_new_version_);
  row->addStretch(1);
  column->addLayout(row);
  column->addStretch(1);
  return page;
}

void SettingsDialog::Open() {
  model_.FormShow();
  const SettingsDialogTexts& t = model_.Texts();
  setWindowTitle(Q(t.caption));
  for (int i = 0; i < kSettingsTabCount; ++i)
    tabs_->setTabText(i, Q(t.tabs[static_cast<size_t>(i)]));
  ok_->setText(Q(t.ok));
  back_->setText(Q(t.back));
  tipping_for_->setText(Q(t.tipping_for));
  // The Italian label is longer: the row's controls stand further right.
  tipping_for_->setMinimumWidth(model_.DaysRowShifted() ? 210 : 150);
  days_ahead_->setText(Q(t.days_ahead));
  three_way_->setText(Q(t.three_way));
  select_language_->setText(Q(t.select_language));
  for (size_t i = 0; i < languages_.size(); ++i) languages_[i]->setText(Q(t.languages[i]));
  database_check_label_->setText(Q(t.database_check));
  program_check_label_->setText(Q(t.program_check));
  for (QComboBox* list : {database_check_, program_check_})
    for (int i = 0; i < 2; ++i) list->setItemText(i, Q(t.check_choices[static_cast<size_t>(i)]));
  version_->setText(Q(t.version));
  database_version_->setText(Q(t.database_version));
  find_new_version_->setText(Q(t.find_new_version));

  const SettingsDialogControls& c = model_.Controls();
  days_->setValue(static_cast<int>(c.days));
  three_way_->setChecked(c.three_way);
  if (c.language_button >= 0 && c.language_button < 4)
    languages_[static_cast<size_t>(c.language_button)]->setChecked(true);
  database_check_->setCurrentIndex(c.database_check);
  program_check_->setCurrentIndex(c.program_check);
  tabs_->setCurrentIndex(c.tab);
  days_->setFocus();
}

void SettingsDialog::TakeControls() {
  SettingsDialogControls& c = model_.Controls();
  c.days = days_->value();
  c.three_way = three_way_->isChecked();
  for (size_t i = 0; i < languages_.size(); ++i)
    if (languages_[i]->isChecked()) c.language_button = static_cast<int>(i);
  c.database_check = database_check_->currentIndex();
  c.program_check = program_check_->currentIndex();
  c.tab = tabs_->currentIndex();
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == days_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ok_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

QStringList RestartArguments(const QStringList& arguments) {
  // The new language was just stored: a --lang of this run would bring the old one back.
  QStringList kept;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QStringLiteral("--lang")) {
      ++i;  // and its value
    } else if (!a.startsWith(QStringLiteral("--lang="))) {
      kept << a;
    }
  }
  return kept;
}

void RestartProgram(QWidget* main_window) {
  const QStringList arguments = RestartArguments(QCoreApplication::arguments());
  if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments)) return;
  // Closing the main window runs the exit sequence; after the dialog's own event loop ended.
  QTimer::singleShot(0, main_window, [main_window] { main_window->close(); });
}

}  // namespace morvela
