#include "ui/results_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "i18n/message_ids.h"
#include "program/program.h"
#include "ui/pictures.h"
#include "ui/placement.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

// The grid shows this many rows before it scrolls.
constexpr int kVisibleRows = 20;
constexpr int kMaxGoals = 99;

QColor ColorOf(const ResultsColour& c) {
  return QColor(c.r, c.g, c.b);
}

QDate ToQDate(const Date& d) {
  return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
               static_cast<int>(static_cast<unsigned>(d.day())));
}

}  // namespace

// The browser's rows as the model holds them: the four display columns, the light red
// background of a row that does not count, the centred score.
class ResultsTableModel : public WindowTableModel<TForm3> {
 public:
  using WindowTableModel::WindowTableModel;
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(kResultsColumns.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    switch (role) {
      case Qt::DisplayRole:
        return Q(m_.CellText(index.row(), index.column()));
      case Qt::BackgroundRole:
        if (m_.RowNotCounted(index.row())) return QBrush(ColorOf(kNotCountedRow));
        return {};
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (kResultsColumns.at(static_cast<size_t>(index.column())).centred
                                        ? Qt::AlignHCenter
                                        : Qt::AlignLeft));
      default:
        return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return Q(m_.ColumnTitle(section));
  }
};

// ---------------------------------------------------------------- the editor

ResultEditorDialog::ResultEditorDialog(Program& program, QWidget* parent)
    : QDialog(parent), p_(program) {
  setObjectName(QStringLiteral("Form4"));
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 10);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  for (size_t i = 0; i < labels_.size(); ++i) labels_[i] = new QLabel(this);
  home_ = new QComboBox(this);
  home_->setObjectName(QStringLiteral("HomeTeam"));
  away_ = new QComboBox(this);
  away_->setObjectName(QStringLiteral("AwayTeam"));
  for (QComboBox* c : {home_, away_}) c->setMinimumWidth(190);
  date_ = new QDateEdit(this);
  date_->setObjectName(QStringLiteral("MatchDate"));
  date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  date_->setCalendarPopup(true);
  for (size_t i = 0; i < goals_.size(); ++i) {
    goals_[i] = new QSpinBox(this);
    goals_[i]->setObjectName(QStringLiteral("Goals%1").arg(i + 1));
    goals_[i]->setRange(0, kMaxGoals);
  }
  check_ = new QCheckBox(this);
  check_->setObjectName(QStringLiteral("CheckBox1"));
  ok_ = new QPushButton(this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  back_ = new QPushButton(this);
  back_->setObjectName(QStringLiteral("BackButton"));
  ok_->setDefault(true);

  grid->addWidget(labels_[0], 0, 0);
  grid->addWidget(labels_[1], 0, 1);
  grid->addWidget(home_, 1, 0);
  grid->addWidget(away_, 1, 1);
  grid->addWidget(labels_[2], 2, 0);
  grid->addWidget(date_, 3, 0);
  auto score_row = [this](QLabel* label, QSpinBox* h, QSpinBox* a, QLabel* colon) {
    auto* row = new QHBoxLayout();
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(h);
    colon->setText(QStringLiteral(":"));
    row->addWidget(colon);
    row->addWidget(a);
    return row;
  };
  grid->addLayout(score_row(labels_[3], goals_[0], goals_[1], labels_[5]), 4, 0);
  grid->addLayout(score_row(labels_[4], goals_[2], goals_[3], labels_[6]), 4, 1);
  grid->addWidget(check_, 5, 0, 1, 2);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(back_);
  grid->addLayout(buttons, 6, 0, 1, 2);

  connect(ok_, &QPushButton::clicked, this, [this] {
    if (!e_) return accept();
    Store();
    bool written = false;
    Guarded(p_.ui, [this, &written] { written = e_->Ok(); });
    if (written) accept();
  });
  connect(back_, &QPushButton::clicked, this, &QDialog::reject);
}

void ResultEditorDialog::Load(TForm4& e) {
  e_ = &e;
  const Messages& m = p_.messages;
  setWindowTitle(Q(e.title));
  labels_[0]->setText(Q(m.Msg(msg::kHomeLabel)));
  labels_[1]->setText(Q(m.Msg(msg::kGuestLabel)));
  labels_[2]->setText(Q(m.Msg(msg::kDateLabel)));
  labels_[3]->setText(Q(m.Msg(msg::kResultLabel)));
  labels_[4]->setText(Q(m.Msg(msg::kHalftimeLabel)));
  ok_->setText(Q(m.Msg(msg::kOk)));
  back_->setText(Q(m.Msg(msg::kBack)));
  check_->setText(Q(e.check_caption));
  for (auto [box, list, index] : {std::tuple{home_, &e.home_list, e.home_index},
                                  std::tuple{away_, &e.away_list, e.away_index}}) {
    box->clear();
    for (const TeamItem& t : *list) box->addItem(Q(t.name), QVariant::fromValue<qlonglong>(t.id));
    box->setCurrentIndex(index);
  }
  date_->setDate(ToQDate(e.date));
  const std::array<int, 4> goals = {e.home_goals, e.away_goals, e.ht_home_goals, e.ht_away_goals};
  for (size_t i = 0; i < goals_.size(); ++i) goals_[i]->setValue(goals[i]);
  check_->setChecked(e.check);
  // The search asks for the two teams only.
  const bool fields = e.goal_fields_visible;
  date_->setVisible(fields);
  for (size_t i = 2; i < labels_.size(); ++i) labels_[i]->setVisible(fields);
  for (QSpinBox* g : goals_) g->setVisible(fields);
  adjustSize();
}

void ResultEditorDialog::Store() {
  e_->home_index = home_->currentIndex();
  e_->away_index = away_->currentIndex();
  const QDate d = date_->date();
  if (auto date = MakeDate(d.year(), d.month(), d.day())) e_->date = *date;
  e_->home_goals = goals_[0]->value();
  e_->away_goals = goals_[1]->value();
  e_->ht_home_goals = goals_[2]->value();
  e_->ht_away_goals = goals_[3]->value();
  e_->check = check_->isChecked();
}

void ResultEditorDialog::reject() {
  if (e_) e_->Back();
  QDialog::reject();
}

// ---------------------------------------------------------------- the browser

ResultsBrowserWindow::ResultsBrowserWindow(Program& program, bool modal, QWidget* parent)
    : ModelWindow(program, parent), modal_(modal), model_(program) {
  setObjectName(QStringLiteral("Form3"));
  setWindowIcon(QIcon(EmblemPixmap(64)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("DBGrid1"));
  table_model_ = new ResultsTableModel(model_, this);
  grid_->setModel(table_model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setSectionsClickable(true);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The selected row: white on navy, whether or not the grid has the focus.
  QPalette palette = grid_->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(g, QPalette::Highlight, ColorOf(kSelectedRow));
    palette.setColor(g, QPalette::HighlightedText, ColorOf(kSelectedText));
  }
  grid_->setPalette(palette);
  layout->addWidget(grid_, 1);

  auto* row = new QHBoxLayout();
  for (int n = 1; n <= 4; ++n) {
    auto* b = new QPushButton(this);
    b->setObjectName(QStringLiteral("Button%1").arg(n));
    b->setAutoDefault(false);
    b->setMinimumWidth(100);
    buttons_[static_cast<size_t>(n - 1)] = b;
    row->addWidget(b);
    if (n == 3) row->addStretch(1);
  }
  layout->addLayout(row);

  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) model_.SelectRow(current.row());
          });
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { Act([this, column] { model_.TitleClick(column); }); });
  connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    Act([this, index] {
      model_.SelectRow(index.row());
      model_.DoubleClick(*this);
    });
  });
  connect(buttons_[0], &QPushButton::clicked, this, [this] { Act([this] { model_.Add(*this); }); });
  connect(buttons_[1], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Edit(*this); }); });
  connect(buttons_[2], &QPushButton::clicked, this, [this] { Act([this] { model_.Delete(); }); });
  connect(buttons_[3], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Search(*this); }); });
}

// The grid's model reads model_, which dies before QObject's destructor deletes the children.
ResultsBrowserWindow::~ResultsBrowserWindow() {
  delete grid_;
  delete table_model_;
}

void ResultsBrowserWindow::Open() {
  model_.FormShow();
  Refresh();
}

void ResultsBrowserWindow::Refresh() {
  setWindowTitle(Q(model_.caption));
  for (size_t i = 0; i < 3; ++i) {
    buttons_[i]->setText(Q(model_.buttons[i]));
    buttons_[i]->setEnabled(model_.buttons_enabled);
  }
  buttons_[3]->setText(Q(model_.SearchCaption()));

  const int current = model_.CurrentRow();
  table_model_->Reload();
  grid_->horizontalHeader()->setSortIndicatorShown(true);
  grid_->horizontalHeader()->setSortIndicator(
      static_cast<int>(model_.sort),
      model_.direction == SortDirection::kAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
  // The design's widths, widened where a title or a cell of this font needs more room.
  const QFontMetrics metrics(grid_->font());
  const QFontMetrics header_metrics(grid_->horizontalHeader()->font());
  int width = 0;
  for (int c = 0; c < static_cast<int>(kResultsColumns.size()); ++c) {
    int w = std::max(kResultsColumns[static_cast<size_t>(c)].width,
                     header_metrics.horizontalAdvance(Q(model_.ColumnTitle(c))) + 16);
    for (int r = 0; r < model_.RowCount(); ++r)
      w = std::max(w, metrics.horizontalAdvance(Q(model_.CellText(r, c))) + 12);
    grid_->setColumnWidth(c, w);
    width += w;
  }
  const int row_height = grid_->verticalHeader()->defaultSectionSize();
  grid_->setMinimumSize(
      width + grid_->verticalScrollBar()->sizeHint().width() + 2 * grid_->frameWidth(),
      kVisibleRows * row_height + grid_->horizontalHeader()->sizeHint().height() +
          2 * grid_->frameWidth());
  if (current >= 0) {
    model_.SelectRow(current);
    const QModelIndex index = table_model_->index(current, 0);
    grid_->setCurrentIndex(index);
    grid_->selectRow(current);
    // Once the grid has its size (the first showing lays it out later).
    QTimer::singleShot(
        0, grid_, [this, index] { grid_->scrollTo(index, QAbstractItemView::PositionAtCenter); });
  }
}

void ResultsBrowserWindow::ShowResultEditor(TForm4& editor) {
  if (!editor_) editor_ = new ResultEditorDialog(p_, this);
  editor_->Load(editor);
  KeepInsideScreenOnShow(*editor_);
  if (driver_) {
    driver_(*editor_);
  } else if (modal_) {
    editor_->exec();
  } else {
    // A screenshot run never waits: the dialog stays on screen and nothing is written.
    editor_->show();
    editor.Back();
  }
  editor_->Unbind();
}

void ResultsBrowserWindow::done(int result) {
  Guarded(p_.ui, [this] { model_.Close(); });
  QDialog::done(result);
}

// ---------------------------------------------------------------- the view

QtResultsBrowserView::~QtResultsBrowserView() {
  delete window_.data();
}

ResultsBrowserWindow& QtResultsBrowserView::EnsureWindow() {
  if (!window_) window_ = new ResultsBrowserWindow(p_, modal_, parent_);
  return *window_;
}

TForm3& QtResultsBrowserView::Browser() {
  return EnsureWindow().Model();
}

void QtResultsBrowserView::ShowResultsBrowser() {
  ResultsBrowserWindow& w = EnsureWindow();
  w.Open();
  ShowWindow(w, modal_);
}

void QtResultsBrowserView::ShowHistoryList(const HistoryRequest& request) {
  morvela::ShowHistoryList(p_, *this, request);
}

}  // namespace morvela
