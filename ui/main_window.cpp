#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "i18n/message_ids.h"
#include "program/program.h"
#include "ui/live_window.h"
#include "ui/pictures.h"
#include "ui/public_fetch.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"
#include "update/server_checks.h"

namespace morvela {

namespace {

// Button heights: a flag picture with room around it.
constexpr int kButtonHeight = kFlagHeight + 12;
// A league button's caption stands left, after the flag, with this padding and some room to
// its right.
constexpr int kLeagueButtonPadding = 8;
constexpr int kLeagueButtonSlack = 24;

QFrame* Panel(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Plain);
  return frame;
}

QPushButton* MakeFunctionButton(int n, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QStringLiteral("Button%1").arg(n));
  b->setMinimumHeight(kButtonHeight);
  b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  b->setAutoDefault(false);
  // The tip buttons hide while the season chooser stands in their place; the rest of the window
  // keeps its place.
  QSizePolicy keep = b->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  b->setSizePolicy(keep);
  return b;
}

QToolButton* IconButton(const char* name, ToolIcon icon, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setIcon(ToolButtonIcon(icon));
  b->setIconSize(QSize(24, 24));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

}  // namespace

MainWindow::MainWindow(TForm1& model, Program& program, bool modal_tips, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      p_(program),
      tips_view_(this, modal_tips),
      tables_view_(this, modal_tips),
      results_view_(program, this, modal_tips) {
  setObjectName(QStringLiteral("Form1"));
  setWindowIcon(QIcon(EmblemPixmap(64)));
  match_window_ = new MatchTipWindow(p_, modal_tips, this);
  tips_view_.SetMatchWindow(match_window_);
  live_window_ = new LiveTipWindow(p_, tables_view_, modal_tips, this);
  live_window_->SetModeChangedHandler([this] { Refresh(); });
  settings_dialog_ = new SettingsDialog(
      p_, [this] { RestartProgram(this); }, [this] { FindNewVersion(); }, this);
  modal_settings_ = modal_tips;
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(12, 8, 12, 10);
  layout->setSpacing(10);
  layout->addWidget(BuildHeader());
  layout->addWidget(BuildFunctions());
  layout->addWidget(BuildLeagues());
  layout->addStretch(1);
  setCentralWidget(central);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusBar1"));
  status_->setContentsMargins(6, 2, 6, 2);
  QFont bold = status_->font();
  bold.setBold(true);
  status_->setFont(bold);
  statusBar()->addWidget(status_, 1);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->setStyleSheet(QStringLiteral("QStatusBar { background: rgb(190, 220, 190); }"));

  Refresh();
  leagues_[0]->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::StartCheck(BackgroundWork work, std::function<void()> done) {
  if (check_ && check_->Running()) {
    if (QDialog* dialog = check_->Dialog()) {
      dialog->show();
      dialog->raise();
    }
    return;
  }
  if (check_) check_->deleteLater();
  check_ = new BackgroundCheck(this, p_.messages, std::move(work), std::move(done));
}

void MainWindow::RunStartupChecks(const ServerCheckPlan& plan, std::function<void()> end_program) {
  if (plan.Empty()) return;
  auto found = std::make_shared<ServerCheckResult>();
  StartCheck([plan, found](const std::atomic<bool>& cancel,
                           const BackgroundProgress&) { *found = RunServerChecks(plan, &cancel); },
             [this, plan, found, end_program = std::move(end_program)] {
               bool go_on = true;
               Guarded(p_.ui, [&] { go_on = model_.ShowStartupFindings(plan, *found); });
               Refresh();
               if (!go_on) end_program();
             });
}

void MainWindow::FindNewVersion() {
  ServerCheckPlan plan;
  Guarded(p_.ui, [&] { plan = model_.Updates().PlanVersionCheck(); });
  if (plan.Empty()) return;  // the settings could not be read; the user has been told
  auto found = std::make_shared<ServerCheckResult>();
  StartCheck([plan, found](const std::atomic<bool>& cancel,
                           const BackgroundProgress&) { *found = RunServerChecks(plan, &cancel); },
             [this, found] {
               Guarded(p_.ui, [&] { model_.Updates().ShowVersionFinding(*found->version); });
             });
}

QWidget* MainWindow::BuildHeader() {
  auto* header = new QWidget(this);
  auto* row = new QHBoxLayout(header);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);
  auto* emblem = new QLabel(header);
  emblem->setPixmap(EmblemPixmap(30));
  row->addWidget(emblem);
  auto* title = new QLabel(QLatin1String(kProgramTitle), header);
  title->setObjectName(QStringLiteral("Title"));
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.7);
  big.setBold(true);
  title->setFont(big);
  title->setStyleSheet(QStringLiteral("color: rgb(30, 90, 42);"));
  row->addWidget(title);
  row->addStretch(1);

  help_ = IconButton("TBHelp", ToolIcon::kWebPage, header);
  settings_ = IconButton("TBSettings", ToolIcon::kSettings, header);
  update_ = IconButton("TBUpdate", ToolIcon::kUpdate, header);
  connect(help_, &QToolButton::clicked, this, [this] { Handle([this] { model_.TBHelpClick(); }); });
  connect(settings_, &QToolButton::clicked, this, [this] {
    settings_dialog_->Open();
    ShowWindow(*settings_dialog_, modal_settings_);
  });
  connect(update_, &QToolButton::clicked, this, [this] {
    // Without an update server there is nothing to install; the public results site is offered.
    if (NoUpdateServerSet(p_)) {
      Handle([this] {
        OfferPublicFetch(
            p_, [this](auto work, auto done) { StartCheck(std::move(work), std::move(done)); },
            [this] { Refresh(); });
      });
      return;
    }
    Handle([this] {
      // The install left no database connected: nothing can go on.
      if (model_.TBUpdateClick() == UpdateOutcome::kEndProgram) QCoreApplication::exit(1);
    });
  });
  for (QToolButton* b : {help_, settings_, update_}) row->addWidget(b);
  return header;
}

QWidget* MainWindow::BuildFunctions() {
  auto* box = new QWidget(this);
  auto* outer = new QVBoxLayout(box);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  tabs_ = new QTabBar(box);
  tabs_->setObjectName(QStringLiteral("TabControl1"));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  for (int t = 0; t < kResultModeCount; ++t) tabs_->addTab(QString());
  connect(tabs_, &QTabBar::currentChanged, this,
          [this](int index) { Handle([this, index] { model_.SelectTab(index); }); });
  outer->addWidget(tabs_);

  QFrame* panel = Panel(box);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(10, 10, 10, 10);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(6);
  for (int n = 1; n <= kFunctionButtonCount; ++n) functions_[n - 1] = MakeFunctionButton(n, panel);

  auto* league_functions = new QHBoxLayout;
  league_functions->setSpacing(6);
  for (int n = kArchiveButton; n <= kFormButton; ++n)
    league_functions->addWidget(functions_[n - 1]);
  grid->addLayout(league_functions, 0, 0);

  auto* separator = new QFrame(panel);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  grid->addWidget(separator, 1, 0);

  // The tip buttons, and the season chooser that takes their place after "Archive".
  auto* tips = new QGridLayout;
  tips->setHorizontalSpacing(6);
  tips->setVerticalSpacing(6);
  const int order[] = {kTipForTodayButton,  kTipsForTheWeekButton, kTippingALeagueButton,
                       kSearchForTipButton, kValueTipsButton,      kLiveTipButton};
  for (int i = 0; i < 6; ++i) tips->addWidget(functions_[order[i] - 1], i / 3, i % 3);
  grid->addLayout(tips, 2, 0);

  chooser_ = new QWidget(panel);
  chooser_->setObjectName(QStringLiteral("Panel1"));
  auto* chooser = new QHBoxLayout(chooser_);
  chooser->setContentsMargins(0, 0, 0, 0);
  chooser->setSpacing(8);
  chooser_label_ = new QLabel(chooser_);
  chooser_label_->setObjectName(QStringLiteral("Label1"));
  seasons_ = new QComboBox(chooser_);
  seasons_->setObjectName(QStringLiteral("ComboBox1"));
  seasons_->setMinimumWidth(160);
  seasons_->setMinimumHeight(kButtonHeight - 4);
  confirm_ = new QPushButton(chooser_);
  confirm_->setObjectName(QStringLiteral("BitBtn13"));
  confirm_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  confirm_->setMinimumHeight(kButtonHeight);
  confirm_->setMinimumWidth(90);
  chooser->addStretch(1);
  chooser->addWidget(chooser_label_);
  chooser->addWidget(seasons_);
  chooser->addWidget(confirm_);
  chooser->addStretch(1);
  grid->addWidget(chooser_, 2, 0, Qt::AlignVCenter);
  connect(seasons_, &QComboBox::activated, this,
          [this](int index) { Handle([this, index] { model_.SeasonListClick(index); }); });
  connect(confirm_, &QPushButton::clicked, this, [this] {
    Handle([this] { model_.BitBtn13Click(); });
    functions_[kArchiveButton - 1]->setFocus();
  });

  auto connect_button = [this](int n, std::function<void()> action) {
    connect(functions_[n - 1], &QPushButton::clicked, this, [this, action] { Handle(action); });
  };
  connect_button(kArchiveButton, [this] {
    model_.Button1Click();
    // The chooser appears with this click; the list is where the user goes next.
    QTimer::singleShot(0, seasons_, [this] { seasons_->setFocus(); });
  });
  connect_button(kTipForTodayButton, [this] { model_.Button5Click(tips_view_); });
  connect_button(kTipsForTheWeekButton, [this] { model_.Button6Click(tips_view_); });
  connect_button(kTippingALeagueButton, [this] { model_.Button7Click(tips_view_); });
  connect_button(kValueTipsButton, [this] { model_.Button9Click(tips_view_); });
  connect_button(kTablesButton, [this] {
    tables_view_.ShowLeagueTables(p_, {MainWindowTableKind(p_, /*form_button=*/false)});
  });
  connect_button(kFormButton, [this] {
    tables_view_.ShowLeagueTables(p_, {MainWindowTableKind(p_, /*form_button=*/true)});
  });
  connect_button(kSearchForTipButton, [this] { match_window_->OpenForChoice(this); });
  connect_button(kResultsButton, [this] { model_.Button3Click(results_view_); });
  connect_button(kLiveTipButton, [this] { live_window_->Open(this); });

  outer->addWidget(panel);
  return box;
}

QWidget* MainWindow::BuildLeagues() {
  QFrame* panel = Panel(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(10, 10, 10, 10);
  // The design puts the columns 119 pixels and the rows 31 pixels apart for buttons of about
  // 113 by 27: the gaps keep that proportion.
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  for (int i = 0; i < kLeagueCount; ++i) {
    auto* b = new QPushButton(panel);
    b->setIconSize(QSize(kFlagWidth, kFlagHeight));
    b->setMinimumHeight(kButtonHeight);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: %1px; }")
                         .arg(kLeagueButtonPadding));
    b->setAutoDefault(false);
    b->setCheckable(true);
    const LeagueButton& slot = model_.LeagueButtons()[static_cast<size_t>(i)];
    grid->addWidget(b, slot.row, slot.column);
    connect(b, &QPushButton::clicked, this, [this, i] {
      Handle([this, i] {
        model_.LeagueButtonClick(model_.LeagueButtons()[static_cast<size_t>(i)].league);
      });
    });
    leagues_[static_cast<size_t>(i)] = b;
  }
  for (int c = 0; c < 5; ++c) grid->setColumnStretch(c, 1);
  return panel;
}

void MainWindow::Refresh() {
  setWindowTitle(Q(model_.WindowTitle()));
  int widest = 0;
  for (size_t i = 0; i < leagues_.size(); ++i) {
    const LeagueButton& slot = model_.LeagueButtons()[i];
    QPushButton* b = leagues_[i];
    b->setObjectName(QString::fromLatin1(slot.name.data(), static_cast<int>(slot.name.size())));
    b->setText(Q(slot.state.caption));
    b->setToolTip(Q(slot.state.hint));
    b->setIcon(QIcon(FlagPixmap(slot.flag)));
    b->setEnabled(slot.state.enabled);
    b->setVisible(slot.state.visible);
    // The loaded league's button stays pressed, so that the user sees which league the
    // functions work on.
    b->setChecked(!p_.selection.league.empty() &&
                  p_.selection.league == std::to_string(slot.league));
    widest = std::max(widest, b->fontMetrics().horizontalAdvance(b->text()));
  }
  // Five equal columns, as wide as the longest country name of the language needs.
  for (QPushButton* b : leagues_)
    b->setMinimumWidth(widest + kFlagWidth + kLeagueButtonPadding + kLeagueButtonSlack);
  for (int n = 1; n <= kFunctionButtonCount; ++n) {
    const ButtonState& s = model_.Function(n);
    QPushButton* b = functions_[n - 1];
    b->setText(Q(s.caption));
    b->setToolTip(Q(s.hint));
    b->setEnabled(s.enabled);
    b->setVisible(s.visible);
  }
  help_->setToolTip(Q(model_.HelpButton().hint).replace(QLatin1String("\r\n"), QLatin1String(" ")));
  settings_->setToolTip(Q(model_.SettingsButton().hint));
  update_->setToolTip(Q(model_.UpdateButton().hint));

  {
    const QSignalBlocker block(tabs_);
    for (int t = 0; t < kResultModeCount; ++t)
      tabs_->setTabText(t, Q(model_.TabCaptions()[static_cast<size_t>(t)]));
    tabs_->setCurrentIndex(model_.Tab());
  }

  chooser_->setVisible(model_.ChooserVisible());
  chooser_label_->setText(Q(model_.ChooserLabel()));
  {
    const QSignalBlocker block(seasons_);
    QStringList items;
    for (const std::string& s : model_.Seasons()) items << Q(s);
    QStringList shown;
    for (int i = 0; i < seasons_->count(); ++i) shown << seasons_->itemText(i);
    if (items != shown) {
      seasons_->clear();
      seasons_->addItems(items);
    }
    seasons_->setCurrentIndex(model_.SeasonIndex());
  }
  confirm_->setText(Q(model_.ConfirmButton().caption));
  confirm_->setEnabled(model_.ConfirmButton().enabled);
  status_->setText(Q(model_.Status()));
}

void MainWindow::Handle(const std::function<void()>& handler) {
  Guarded(p_.ui, handler);
  Refresh();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (first_show_) {
    // After this event the window is on screen; the start-up sequence may then show its
    // dialogs above it.
    QTimer::singleShot(0, this, [handler = std::move(first_show_)] { handler(); });
    first_show_ = nullptr;
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (close_) Guarded(p_.ui, close_);
  event->accept();
}

}  // namespace morvela
