#include "ui/tips_list_window.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "i18n/message_ids.h"
#include "program/program.h"
#include "program/settings.h"
#include "ui/pictures.h"
#include "ui/placement.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

constexpr int kFlagRole = Qt::UserRole + 1;
// The design's widths suit a date column of 65 pixels for "07.03.2011"; a bigger font widens
// every column in proportion.
constexpr int kDesignDateWidth = 65;
constexpr const char* kSampleDate = "07.03.2011";
// The league cell's flag stands this far inside the cell.
constexpr int kFlagInset = 2;

Qt::Alignment AlignmentOf(CellAlign align) {
  switch (align) {
    case CellAlign::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlign::kCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case CellAlign::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// The list query's sort key back to the column that shows it.
std::string ColumnOfSortKey(const std::string& key) {
  if (key == "HOME") return "DOMACI";
  if (key == "AWAY") return "HOSTIA";
  if (key == "ID_LIGA") return "LIGA";
  return key;
}

// The league cell: the flag at the left, stretched to the cell's height and the height plus 10
// pixels wide, the league name to its right.
class LeagueCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    initStyleOption(&o, index);
    const QString name = o.text.trimmed();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The cell's background first, then the flag, then the name in the rest of the cell, drawn
    // by the style like every other cell's text.
    o.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, widget);
    // The flag keeps its proportions and stays clear of the grid lines above and below it.
    const int h = option.rect.height() - 2 * kFlagInset;
    const int w = h * kFlagWidth / kFlagHeight;
    DrawFlag(*painter,
             QRectF(option.rect.left() + kFlagInset, option.rect.top() + kFlagInset, w, h),
             index.data(kFlagRole).toInt());
    o.text = name;
    o.rect.setLeft(option.rect.left() + w + 2 * kFlagInset + 2);
    o.state &= ~QStyle::State_HasFocus;
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, widget);
  }
};

}  // namespace

// The grid's rows and cells, read from the tips list model.
class TipsTableModel : public QAbstractTableModel {
 public:
  TipsTableModel(TipsList& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

  // Re-reads everything after the list query was rebuilt (or closed: then the grid is empty).
  void Reload(bool open) {
    beginResetModel();
    open_ = open;
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || !open_ ? 0 : list_.RowCount();
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() || !open_ ? 0 : static_cast<int>(list_.Columns().size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const TipsColumn& column = list_.Columns()[static_cast<size_t>(index.column())];
    switch (role) {
      case Qt::DisplayRole:
        return QString::fromStdString(list_.DisplayText(index.row(), column.field));
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(column.align));
      case Qt::ToolTipRole: {
        const std::string tip = list_.CellToolTip(index.row(), column.field);
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
      }
      case kFlagRole:
        return list_.FlagIndex(index.row());
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || !open_) return {};
    const TipsColumn& column = list_.Columns()[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromStdString(column.title).trimmed();
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(column.align));
    return {};
  }

 private:
  TipsList& list_;
  bool open_ = false;
};

TipsListWindow::TipsListWindow(Program& program, MatchWindowOpener& opener, QWidget* parent)
    : QDialog(parent), p_(program), opener_(opener), list_(program) {
  setObjectName(QStringLiteral("Form6"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("SG"));
  model_ = new TipsTableModel(list_, this);
  grid_->setModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setAlternatingRowColors(true);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setSectionsClickable(true);
  grid_->horizontalHeader()->setSortIndicatorShown(true);
  grid_->setItemDelegateForColumn(1, new LeagueCellDelegate(grid_));
  grid_->installEventFilter(this);
  layout->addWidget(grid_);

  width_scale_ =
      std::max(1.0, (grid_->fontMetrics().horizontalAdvance(QLatin1String(kSampleDate)) + 12.0) /
                        kDesignDateWidth);

  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &TipsListWindow::TitleClick);
  second_opinion_ =
      new QAction(QString::fromStdString(p_.messages.Msg(msg::kShowSecondOpinion)), this);
  second_opinion_->setCheckable(true);
  grid_->horizontalHeader()->setContextMenuPolicy(Qt::ActionsContextMenu);
  grid_->horizontalHeader()->addAction(second_opinion_);
  connect(second_opinion_, &QAction::toggled, this, &TipsListWindow::ShowSecondOpinion);
  connect(grid_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { OpenMatch(index.row()); });
}

// The grid and its model read list_, a member that dies before QObject's destructor deletes the
// children; a header still repainting while the window hides would read freed columns.
TipsListWindow::~TipsListWindow() {
  delete grid_;
  delete model_;
}

void TipsListWindow::Open() {
  const bool shown = ReadSecondOpinionColumns(p_.SettingsPath());
  {
    const QSignalBlocker quiet(second_opinion_);
    second_opinion_->setChecked(shown);
  }
  list_.ShowSecondOpinion(shown);
  list_.Show();
  setWindowTitle(QString::fromStdString(list_.Caption()));
  Reload();
  int width = 0;
  for (int w : column_widths_) width += w;
  width += grid_->verticalScrollBar()->sizeHint().width() + 2 * grid_->frameWidth() + 14;
  // Room for the rows, between a short list's 8 and a long one's 22 before it scrolls.
  const int rows = std::clamp(model_->rowCount({}), 8, 22);
  const int height = grid_->horizontalHeader()->sizeHint().height() +
                     rows * grid_->verticalHeader()->defaultSectionSize() +
                     2 * grid_->frameWidth() + 14;
  resize(width, height);
}

void TipsListWindow::Reload() {
  model_->Reload(true);
  const std::vector<TipsColumn>& columns = list_.Columns();
  const QFontMetrics header_metrics(grid_->horizontalHeader()->font());
  column_widths_.assign(columns.size(), 0);
  for (size_t c = 0; c < columns.size(); ++c) {
    const int title = header_metrics.horizontalAdvance(QString::fromStdString(columns[c].title)) +
                      header_metrics.height() + 8;
    column_widths_[c] = std::max(title, static_cast<int>(columns[c].width * width_scale_));
  }
  StretchColumns();
  const TipsListSort& sort = list_.Sort();
  const std::string shown = ColumnOfSortKey(sort.SortColumn);
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].field == shown) {
      grid_->horizontalHeader()->setSortIndicator(static_cast<int>(c), sort.SortDirection == "ASC"
                                                                           ? Qt::AscendingOrder
                                                                           : Qt::DescendingOrder);
    }
  }
  if (model_->rowCount({}) > 0) grid_->selectRow(0);
  grid_->setFocus();
}

void TipsListWindow::StretchColumns() {
  int natural = 0;
  for (int w : column_widths_) natural += w;
  if (natural <= 0) return;
  // A wider window widens every column in proportion; a narrower one scrolls.
  const double scale = std::max(1.0, double(grid_->viewport()->width()) / natural);
  int used = 0;
  for (size_t c = 0; c < column_widths_.size(); ++c) {
    const bool last = c + 1 == column_widths_.size();
    const int w = last && scale > 1.0 ? grid_->viewport()->width() - used
                                      : static_cast<int>(column_widths_[c] * scale);
    grid_->setColumnWidth(static_cast<int>(c), w);
    used += w;
  }
}

void TipsListWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  StretchColumns();
}

void TipsListWindow::TitleClick(int column) {
  const std::vector<TipsColumn>& columns = list_.Columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) return;
  const std::string field = columns[static_cast<size_t>(column)].field;
  Guarded(p_.ui, [&] { list_.TitleClick(field); });
  Reload();
}

void TipsListWindow::ShowSecondOpinion(bool on) {
  Guarded(p_.ui, [&] { list_.ShowSecondOpinion(on); });
  // Only a preference: a settings file that cannot be written leaves the list switched for now.
  WriteSecondOpinionColumns(p_.SettingsPath(), on);
  Reload();
}

void TipsListWindow::OpenMatch(int row) {
  if (row < 0) return;
  Guarded(p_.ui, [&] { list_.OpenMatch(row, opener_); });
  grid_->viewport()->update();
}

bool TipsListWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Enter opens the selected row's match as a double click does (the dialog would otherwise
    // take it as its default button and close).
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      OpenMatch(grid_->currentIndex().row());
      return true;
    }
    if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) {
      const char letter = static_cast<char>('A' + (key->key() - Qt::Key_A));
      const Qt::KeyboardModifiers m = key->modifiers();
      bool handled = false;
      Guarded(p_.ui, [&] {
        handled = list_.KeyDown(letter, m & Qt::ControlModifier, m & Qt::ShiftModifier,
                                m & Qt::AltModifier);
      });
      if (handled) {
        grid_->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TipsListWindow::done(int result) {
  list_.Close();
  model_->Reload(false);
  QDialog::done(result);
}

QtTipsListView::~QtTipsListView() {
  delete window_.data();
}

void QtTipsListView::ShowTipsList(Program& program) {
  delete window_.data();
  if (!match_window_) match_window_ = new MatchTipWindow(program, modal_, parent_);
  window_ = new TipsListWindow(program, *match_window_, parent_);
  window_->Open();
  // The list stands beside the main window where the screen has room, so that both stay in
  // sight.
  if (parent_) PlaceBeside(*window_, *parent_);
  ShowWindow(*window_, modal_);
}

}  // namespace morvela
