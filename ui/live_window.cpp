#include "ui/live_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "i18n/message_ids.h"
#include "program/program.h"
#include "ui/choice_band.h"
#include "ui/placement.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

// The "Show matches" buttons stand this far right of their head-to-head lines.
constexpr int kShowMatchesGap = 15;
constexpr const char* kOutcomeHeads[kLiveOddsCount] = {"1", "0", "2", "10", "02", "12"};

}  // namespace

LiveTipWindow::LiveTipWindow(Program& program, LeagueTablesView& tables, bool modal,
                             QWidget* parent)
    : ModelWindow(program, parent),
      tables_(tables),
      modal_(modal),
      model_(program),
      results_view_(program, this, modal) {
  setObjectName(QStringLiteral("FormLive"));
  Build();
}

LiveTipWindow::~LiveTipWindow() = default;

void LiveTipWindow::Build() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 6);
  outer->setSpacing(4);

  for (size_t n = 0; n < labels_.size(); ++n) {
    labels_[n] = new QLabel(this);
    labels_[n]->setObjectName(QStringLiteral("Label%1").arg(n));
  }

  // The band: column heads, the two choosers, OK and Back, the half-time score below.
  choice_ = BuildChoiceBand(this);
  QGridLayout* band = choice_.layout;
  auto* score = new QHBoxLayout();
  pb1_ = new QSpinBox(this);
  pb1_->setObjectName(QStringLiteral("PB1"));
  pb2_ = new QSpinBox(this);
  pb2_->setObjectName(QStringLiteral("PB2"));
  for (QSpinBox* b : {pb1_, pb2_}) {
    b->setRange(0, kMaxHalfTimeGoals);
    b->setAlignment(Qt::AlignCenter);
    b->setMinimumWidth(b->sizeHint().width() +
                       b->fontMetrics().horizontalAdvance(QLatin1Char('0')));
  }
  score->addStretch(1);
  score->setSpacing(6);
  score->addWidget(labels_[kHalfTimeHead]);
  score->addSpacing(8);  // the label's text keeps clear of the spin box
  score->addWidget(pb1_);
  score->addWidget(new QLabel(QStringLiteral(":"), this));
  score->addWidget(pb2_);
  score->addStretch(1);
  band->addLayout(score, 2, 0, 1, 4);
  outer->addLayout(band);

  analysis_ = new QWidget(this);
  auto* body = new QVBoxLayout(analysis_);
  body->setContentsMargins(0, 0, 0, 0);
  body->setSpacing(3);
  outer->addWidget(analysis_, 1);
  // Before the analysis the window's spare height goes below the band, not between its heads
  // and its choosers.
  outer->addStretch(0);
  // Labels go where their layouts put them; the unused numbers stay hidden on the window.

  // Information before the match.
  labels_[kBeforeMatch]->setAlignment(Qt::AlignCenter);
  body->addWidget(Line(QFrame::HLine, analysis_));
  body->addWidget(labels_[kBeforeMatch]);
  QLabel* const home_labels[4] = {labels_[kHomeRating], labels_[kHomeVenueRating],
                                  labels_[kHomeForm], labels_[kHomeVenueForm]};
  QLabel* const away_labels[4] = {labels_[kAwayRating], labels_[kAwayVenueRating],
                                  labels_[kAwayForm], labels_[kAwayVenueForm]};
  TeamBlockButtons team_buttons;
  auto* blocks = BuildTeamBlocks(analysis_, home_labels, away_labels, 1, team_buttons);
  latest_home_ = team_buttons.latest_home;
  table_home_ = team_buttons.table_home;
  latest_away_ = team_buttons.latest_away;
  table_away_ = team_buttons.table_away;
  body->addLayout(blocks);
  auto h2h_row = [this](int label, QPushButton*& button, const char* name) {
    auto* row = new QHBoxLayout();
    row->setSpacing(kShowMatchesGap);
    // The line wraps where a language's text is longer than the row (see the match window).
    labels_[label]->setWordWrap(true);
    row->addWidget(labels_[label], 1);
    button = new QPushButton(analysis_);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row->addWidget(button, 0, Qt::AlignVCenter);
    return row;
  };
  body->addLayout(h2h_row(kHeadToHead, show_matches_, "ShowMatches"));
  for (int n : {kTipLine, kOddsLine, kDifferenceLine}) body->addWidget(labels_[n]);

  // Tip after half time and the odds calculator.
  body->addWidget(Line(QFrame::HLine, analysis_));
  labels_[kAfterHalfTime]->setAlignment(Qt::AlignCenter);
  body->addWidget(labels_[kAfterHalfTime]);
  body->addLayout(h2h_row(kLiveHeadToHead, show_live_matches_, "ShowLiveMatches"));
  body->addWidget(labels_[kLiveTipLine]);
  // The goal model's chances from the half-time score, in small grey type.
  in_play_ = new QLabel(analysis_);
  in_play_->setObjectName(QStringLiteral("InPlayModel"));
  in_play_->setStyleSheet(QStringLiteral("color: #555555; font-size: 8pt"));
  body->addWidget(in_play_);
  auto* calculator = new QGridLayout();
  calculator->setHorizontalSpacing(8);
  calculator->setVerticalSpacing(2);
  calculator->addWidget(labels_[kEnterOdds], 1, 0);
  calculator->addWidget(labels_[kDifferencesHead], 2, 0);
  for (int i = 0; i < kLiveOddsCount; ++i) {
    auto* head = new QLabel(QString::fromLatin1(kOutcomeHeads[i]), analysis_);
    head->setAlignment(Qt::AlignCenter);
    calculator->addWidget(head, 0, i + 1);
    auto* entry = new QDoubleSpinBox(analysis_);
    entry->setObjectName(QStringLiteral("PBS%1").arg(i + 1));
    entry->setDecimals(2);
    entry->setRange(kMinLiveOdds, kMaxLiveOdds);
    entry->setSingleStep(0.01);
    entry->setValue(kMinLiveOdds);
    // The user types odds freely ("2.35" key by key); the spin box's validator only refuses
    // what can never become odds, and the figure is taken and written in its two-decimal form
    // when the user leaves the field or presses Enter, not after every key.
    entry->setKeyboardTracking(false);
    entry->installEventFilter(this);
    odds_[static_cast<size_t>(i)] = entry;
    calculator->addWidget(entry, 1, i + 1);
    labels_[kFirstLiveDifference + i]->setAlignment(Qt::AlignCenter);
    calculator->addWidget(labels_[kFirstLiveDifference + i], 2, i + 1);
    connect(entry, &QDoubleSpinBox::valueChanged, this,
            [this, i](double v) { Act([this, i, v] { model_.SetOdds(i, v); }); });
  }
  body->addLayout(calculator);
  body->addStretch(1);

  connect(choice_.ok, &QPushButton::clicked, this, [this] {
    Act([this] {
      model_.home.index = choice_.home->currentIndex();
      model_.away.index = choice_.away->currentIndex();
      model_.SetHalfTime(pb1_->value(), pb2_->value());
      model_.SetTop(y(), screen() ? screen()->availableGeometry().top() : 0);
      model_.Button1Click();
    });
  });
  connect(choice_.back, &QPushButton::clicked, this, &QDialog::reject);
  connect(latest_home_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.LatestMatchesClick(true, results_view_); }); });
  connect(latest_away_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.LatestMatchesClick(false, results_view_); }); });
  connect(show_matches_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.ShowMatchesClick(results_view_); }); });
  connect(show_live_matches_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.ShowLiveMatchesClick(results_view_); }); });
  connect(table_home_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.TableClick(true, tables_); }); });
  connect(table_away_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.TableClick(false, tables_); }); });
}

void LiveTipWindow::Refresh() {
  setWindowTitle(Q(model_.Caption()));
  DrawPairingControls(
      {choice_.home, choice_.away, choice_.home_head, choice_.guest_head, choice_.ok, choice_.back,
       latest_home_, latest_away_, table_home_, table_away_, show_matches_},
      model_.Captions(), model_.home, model_.away);
  show_live_matches_->setText(Q(model_.Captions().show_matches));
  in_play_->setText(Q(model_.InPlayLine()));
  {
    const QSignalBlocker b3(pb1_), b4(pb2_);
    pb1_->setValue(model_.HalfTimeHome());
    pb2_->setValue(model_.HalfTimeAway());
  }
  for (size_t n = 0; n < labels_.size(); ++n)
    DrawLabel(labels_[n], model_.Label(static_cast<int>(n)));
  KeepCountTogether(labels_[kHeadToHead]);
  KeepCountTogether(labels_[kLiveHeadToHead]);
  for (int i = 0; i < kLiveOddsCount; ++i) {
    QDoubleSpinBox* e = odds_[static_cast<size_t>(i)];
    const QSignalBlocker block(e);
    // The field being typed in keeps its text until the user leaves it.
    if (!(e->hasFocus() && qFuzzyCompare(e->value(), model_.Odds(i)))) e->setValue(model_.Odds(i));
    e->setEnabled(model_.OddsEnabled());
  }
  analysis_->setVisible(model_.Analysed());
  setFixedSize(model_.ClientWidth(), model_.ClientHeight());
  // Where the model wants the top, inside the screen (see the match tip window).
  PlaceInsideScreen(*this, QPoint(x(), model_.Analysed() ? model_.Top() : y()), parentWidget());
}

bool LiveTipWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (QDoubleSpinBox* entry : odds_) {
      if (watched != entry || (key != Qt::Key_Return && key != Qt::Key_Enter)) continue;
      entry->interpretText();
      entry->selectAll();
      return true;
    }
  }
  return ModelWindow::eventFilter(watched, event);
}

void LiveTipWindow::Open(QWidget* main_window) {
  Guarded(p_.ui, [this] { model_.Open(); });
  open_ = true;
  Refresh();
  if (main_window)
    CentreOver(*this, main_window, QSize(model_.ClientWidth(), model_.ClientHeight()));
  Guarded(p_.ui, [this] {
    model_.SetTop(y(), screen() ? screen()->availableGeometry().top() : 0);
    model_.FormShow();
  });
  Refresh();
  if (mode_changed_) mode_changed_();
  if (modal_) {
    exec();
    Finish();
  } else {
    show();
  }
}

void LiveTipWindow::Finish() {
  if (!open_) return;
  open_ = false;
  model_.Closed();
  if (mode_changed_) mode_changed_();
}

bool LiveTipWindow::ChooseAndAnalyse(int64_t home, int64_t away, int ht_home, int ht_away) {
  const int h = choice_.home->findData(QVariant::fromValue<qlonglong>(home));
  const int a = choice_.away->findData(QVariant::fromValue<qlonglong>(away));
  if (h < 0 || a < 0) return false;
  choice_.home->setCurrentIndex(h);
  choice_.away->setCurrentIndex(a);
  pb1_->setValue(ht_home);
  pb2_->setValue(ht_away);
  choice_.ok->click();
  return true;
}

}  // namespace morvela
