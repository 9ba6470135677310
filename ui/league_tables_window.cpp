#include "ui/league_tables_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "program/program.h"
#include "ui/pictures.h"
#include "ui/placement.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

// The design's widths suit a team column of 200 pixels for about 28 characters; a bigger font
// widens every column in proportion.
constexpr int kDesignTeamWidth = 200;
constexpr const char* kSampleTeam = "Wolverhampton Wanderers FC";

QColor ColorOf(const TableColour& c) {
  return QColor(c.r, c.g, c.b);
}

Qt::Alignment AlignmentOf(TableAlign align) {
  switch (align) {
    case TableAlign::kLeft:
      return Qt::AlignLeft;
    case TableAlign::kRight:
      return Qt::AlignRight;
    case TableAlign::kCenter:
      break;
  }
  return Qt::AlignHCenter;
}

}  // namespace

// The grid's cells: the header row is row 0 of the model, as in the window's design.
class LeagueTableModel : public WindowTableModel<TForm2> {
 public:
  using WindowTableModel::WindowTableModel;
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : m_.ColumnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return Q(m_.Cell(index.column(), index.row()));
  }
};

// Paints a cell exactly as the model's drawing rules say: background, font weight and size,
// text colour, alignment and the text's distance from the cell's edges.
class LeagueCellDelegate : public QStyledItemDelegate {
 public:
  LeagueCellDelegate(TForm2& model, QObject* parent) : QStyledItemDelegate(parent), m_(model) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const CellStyle s = m_.Style(index.column(), index.row());
    painter->save();
    painter->fillRect(option.rect,
                      s.background ? ColorOf(*s.background) : option.palette.base().color());
    QFont font = option.font;
    font.setPointSizeF(s.points);
    font.setBold(s.bold);
    painter->setFont(font);
    painter->setPen(ColorOf(s.text));
    const QRect text_rect = option.rect.adjusted(s.margin + 1, s.top, -(s.margin + 1), 0);
    painter->drawText(text_rect, AlignmentOf(s.align) | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }

 private:
  TForm2& m_;
};

LeagueTablesWindow::LeagueTablesWindow(Program& program, const TableContext& context,
                                       QWidget* parent)
    : ModelWindow(program, parent), model_(program, context) {
  setObjectName(QStringLiteral("Form2"));
  setWindowIcon(QIcon(EmblemPixmap(64)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);
  // The window is as big as its grid, which is as big as its rows and columns.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(6);
  for (int n = 1; n <= 6; ++n) {
    auto* b = new QPushButton(panel);
    b->setObjectName(QStringLiteral("Button%1").arg(n));
    b->setAutoDefault(false);
    b->setMinimumWidth(78);
    buttons_[static_cast<size_t>(n - 1)] = b;
    if (n == 4) {
      auto* separator = new QFrame(panel);
      separator->setObjectName(QStringLiteral("RatingSeparator"));
      separator->setFrameShape(QFrame::VLine);
      separator->setFrameShadow(QFrame::Sunken);
      row->addWidget(separator);
    }
    row->addWidget(b);
  }
  form_list_ = new QComboBox(panel);
  form_list_->setObjectName(QStringLiteral("ComboBox1"));
  row->addWidget(form_list_);
  row->addStretch(1);
  header_line_ = new QLabel(panel);
  header_line_->setObjectName(QStringLiteral("Label1"));
  header_line_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont bold = header_line_->font();
  bold.setBold(true);
  header_line_->setFont(bold);
  header_line_->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));
  row->addWidget(header_line_);
  layout->addWidget(panel);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("SG"));
  table_model_ = new LeagueTableModel(model_, this);
  grid_->setModel(table_model_);
  grid_->setItemDelegate(new LeagueCellDelegate(model_, grid_));
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setFocusPolicy(Qt::NoFocus);
  grid_->setWordWrap(false);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setMinimumSectionSize(12);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QFont cell_font = grid_->font();
  cell_font.setPointSizeF(9);
  grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(cell_font).height() + 6);
  grid_->setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(160, 160, 160); }"));
  layout->addWidget(grid_);

  QFont team_font = grid_->font();
  team_font.setPointSizeF(8);
  width_scale_ =
      std::max(1.0, (QFontMetrics(team_font).horizontalAdvance(QLatin1String(kSampleTeam)) + 8.0) /
                        kDesignTeamWidth);

  connect(buttons_[0], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button1Click(); }); });
  connect(buttons_[1], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button2Click(); }); });
  connect(buttons_[2], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button3Click(); }); });
  connect(buttons_[3], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button4Click(); }); });
  connect(buttons_[4], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button5Click(); }); });
  connect(buttons_[5], &QPushButton::clicked, this,
          [this] { Act([this] { model_.Button6Click(); }); });
  // The list has no action of its own: a choice applies at the next side button.
  connect(form_list_, &QComboBox::activated, this,
          [this](int index) { model_.SelectFormWindow(index); });
}

// The grid's model reads model_, which dies before QObject's destructor deletes the children.
LeagueTablesWindow::~LeagueTablesWindow() {
  delete grid_;
  delete table_model_;
}

void LeagueTablesWindow::Open() {
  model_.FormShow();
  Refresh();
}

void LeagueTablesWindow::Refresh() {
  setWindowTitle(Q(model_.Caption()));
  header_line_->setText(Q(model_.HeaderLine()));
  for (int s = 0; s < 3; ++s)
    buttons_[static_cast<size_t>(s)]->setText(Q(model_.SideCaptions()[static_cast<size_t>(s)]));
  for (int r = 0; r < 3; ++r) {
    QPushButton* b = buttons_[static_cast<size_t>(3 + r)];
    b->setText(Q(model_.RatingCaptions()[static_cast<size_t>(r)]));
    b->setVisible(model_.RatingButtonsVisible());
  }
  if (auto* separator = findChild<QFrame*>(QStringLiteral("RatingSeparator")))
    separator->setVisible(model_.RatingButtonsVisible());
  {
    const QSignalBlocker block(form_list_);
    if (form_list_->count() == 0) {
      for (const std::string& item : model_.FormListItems()) form_list_->addItem(Q(item));
    }
    form_list_->setCurrentIndex(model_.FormListIndex());
    form_list_->setVisible(model_.FormListVisible());
  }

  table_model_->Reload();
  // The design's widths, widened where a title or a text of this font needs more room.
  QFont header_font = grid_->font();
  header_font.setPointSizeF(9);
  header_font.setBold(true);
  QFont cell_font = grid_->font();
  cell_font.setPointSizeF(8);
  const QFontMetrics header_metrics(header_font), cell_metrics(cell_font);
  std::vector<int> widths;
  int natural = 0;
  for (int c = 0; c < model_.ColumnCount(); ++c) {
    int w = static_cast<int>(model_.Columns()[static_cast<size_t>(c)].width * width_scale_);
    w = std::max(w, header_metrics.horizontalAdvance(Q(model_.Cell(c, 0))) + 10);
    for (int r = 1; r < model_.RowCount(); ++r)
      w = std::max(w, cell_metrics.horizontalAdvance(Q(model_.Cell(c, r))) + 10);
    widths.push_back(w);
    natural += w;
  }
  // The grid fills the window: as wide as the button row and as the widest view shown so far,
  // so that the window keeps its width from view to view and a narrow view (ELO, form) spreads
  // its columns instead of standing in half of it.
  const int panel = findChild<QFrame*>(QStringLiteral("Panel1"))->sizeHint().width();
  const int width = std::max({natural, panel - 2 * grid_->frameWidth() - 1, widest_grid_});
  widest_grid_ = width;
  int used = 0;
  for (size_t c = 0; c < widths.size(); ++c) {
    const int w = c + 1 == widths.size() ? width - used
                                         : static_cast<int>(int64_t(widths[c]) * width / natural);
    grid_->setColumnWidth(static_cast<int>(c), w);
    used += w;
  }
  const int height = model_.RowCount() * grid_->verticalHeader()->defaultSectionSize();
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setFixedSize(width + 2 * grid_->frameWidth() + 1, height + 2 * grid_->frameWidth() + 1);
  // A view that widens the window must not push it past the screen's edge.
  if (isVisible()) KeepInsideScreenOnShow(*this);
}

void LeagueTablesWindow::done(int result) {
  Guarded(p_.ui, [this] { model_.Close(); });
  QDialog::done(result);
}

QtLeagueTablesView::~QtLeagueTablesView() {
  delete window_.data();
}

void QtLeagueTablesView::ShowLeagueTables(Program& program, const TableContext& context) {
  delete window_.data();
  window_ = new LeagueTablesWindow(program, context, parent_);
  window_->Open();
  ShowWindow(*window_, modal_);
}

}  // namespace morvela
