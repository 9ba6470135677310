#include "ui/match_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "i18n/message_ids.h"
#include "program/program.h"
#include "ui/choice_band.h"
#include "ui/placement.h"
#include "ui/qt_text.h"
#include "ui/qt_user_interface.h"

namespace morvela {

namespace {

constexpr int kChartHeight = 265;
// What the chart's height gives to other things than the plot: the legend above it, the
// bottom axis's labels and title below it, the margins.
constexpr int kChartFurniture = 95;
constexpr double kSmallestTitlePoints = 5.5;
// How near the pointer must be to a line's point or segment for a hit, in pixels.
constexpr double kHitTolerance = 5.0;
// The "Show matches" button stands this far right of the head-to-head line's end.
constexpr int kShowMatchesGap = 15;

QColor ColourOf(ScreenColour c) {
  return QColor(c.r, c.g, c.b);
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double len2 = QPointF::dotProduct(ab, ab);
  double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const QPointF d = p - (a + t * ab);
  return std::hypot(d.x(), d.y());
}

}  // namespace

// The chart view passes every pointer movement to the window's hint.
class MatchChartView : public QChartView {
 public:
  MatchChartView(QChart* chart, MatchTipWindow* window) : QChartView(chart), window_(window) {
    setMouseTracking(true);
  }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    window_->ShowHint(event->position().toPoint());
    QChartView::mouseMoveEvent(event);
  }
  // The toolkit asks for a tooltip once the pointer has rested a moment; the graphics view
  // would answer with the chart items' tooltips, which are empty, and so hide the hint the
  // pointer rests on. The hint answers instead.
  bool viewportEvent(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      window_->ShowHint(viewport()->mapTo(this, static_cast<QHelpEvent*>(event)->pos()));
      return true;
    }
    return QChartView::viewportEvent(event);
  }

 private:
  MatchTipWindow* window_;
};

MatchTipWindow::MatchTipWindow(Program& program, bool modal, QWidget* parent)
    : ModelWindow(program, parent),
      modal_(modal),
      model_(program),
      tables_view_(this, modal),
      results_view_(program, this, modal) {
  setObjectName(QStringLiteral("Form5"));
  Build();
}

MatchTipWindow::~MatchTipWindow() = default;

QChartView* MatchTipWindow::ChartView() const {
  return chart_view_;
}

void MatchTipWindow::Build() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 6);
  outer->setSpacing(4);

  // The band: column heads, the two choosers, OK and Back.
  choice_ = BuildChoiceBand(this);
  QGridLayout* band = choice_.layout;
  outer->addLayout(band);

  analysis_ = new QWidget(this);
  auto* body = new QVBoxLayout(analysis_);
  body->setContentsMargins(0, 0, 0, 0);
  body->setSpacing(4);
  outer->addWidget(analysis_, 1);
  // Before the analysis the window's spare height goes below the band, not between its heads
  // and its choosers.
  outer->addStretch(0);

  // The chart: three line series, the legend on top.
  chart_ = new QChart();
  chart_->legend()->setAlignment(Qt::AlignTop);
  chart_->setMargins(QMargins(4, 2, 4, 2));
  axis_x_ = new QValueAxis(chart_);
  axis_y_ = new QValueAxis(chart_);
  axis_x_->setLabelFormat(QStringLiteral("%d"));
  axis_y_->setLabelFormat(QStringLiteral("%d"));
  // The left title must fit the chart's height.
  QFont title_font = axis_y_->titleFont();
  title_font.setPointSizeF(title_font.pointSizeF() * 0.8);
  axis_x_->setTitleFont(title_font);
  axis_y_->setTitleFont(title_font);
  chart_->addAxis(axis_x_, Qt::AlignBottom);
  chart_->addAxis(axis_y_, Qt::AlignLeft);
  for (size_t i = 0; i < series_.size(); ++i) {
    series_[i] = new QLineSeries(chart_);
    chart_->addSeries(series_[i]);
    series_[i]->attachAxis(axis_x_);
    series_[i]->attachAxis(axis_y_);
  }
  chart_view_ = new MatchChartView(chart_, this);
  chart_view_->setObjectName(QStringLiteral("Chart1"));
  chart_view_->setRenderHint(QPainter::Antialiasing);
  chart_view_->setFixedHeight(kChartHeight);
  body->addWidget(chart_view_);

  for (int n = kTipLine; n <= kAwayVenueForm; ++n) {
    labels_[n] = new QLabel(analysis_);
    labels_[n]->setObjectName(QStringLiteral("Label%1").arg(n));
  }
  QLabel* const home_labels[4] = {labels_[kHomeRating], labels_[kHomeVenueRating],
                                  labels_[kHomeForm], labels_[kHomeVenueForm]};
  QLabel* const away_labels[4] = {labels_[kAwayRating], labels_[kAwayVenueRating],
                                  labels_[kAwayForm], labels_[kAwayVenueForm]};
  TeamBlockButtons team_buttons;
  auto* blocks = BuildTeamBlocks(analysis_, home_labels, away_labels, -1, team_buttons);
  latest_home_ = team_buttons.latest_home;
  table_home_ = team_buttons.table_home;
  latest_away_ = team_buttons.latest_away;
  table_away_ = team_buttons.table_away;
  body->addLayout(blocks);
  body->addWidget(Line(QFrame::HLine, analysis_));

  auto* h2h = new QHBoxLayout();
  h2h->setSpacing(kShowMatchesGap);
  // The line takes the row's width and wraps where a language's text is longer than that; the
  // button stands at the row's end instead of covering the text's end.
  labels_[kHeadToHead]->setWordWrap(true);
  h2h->addWidget(labels_[kHeadToHead], 1);
  show_matches_ = new QPushButton(analysis_);
  show_matches_->setObjectName(QStringLiteral("ShowMatches"));
  show_matches_->setAutoDefault(false);
  h2h->addWidget(show_matches_, 0, Qt::AlignVCenter);
  body->addLayout(h2h);

  // The tip panel: tip, odds and difference lines, the bet button on the right.
  auto* panel = new QFrame(analysis_);
  panel->setObjectName(QStringLiteral("TipPanel"));
  panel->setFrameShape(QFrame::StyledPanel);
  auto* tip = new QHBoxLayout(panel);
  auto* lines = new QVBoxLayout();
  for (int n : {kTipLine, kOddsLine, kDifferenceLine}) {
    labels_[n]->setParent(panel);
    lines->addWidget(labels_[n]);
  }
  // The second opinion (goal model, market) in small grey type under the odds lines.
  second_opinion_ = new QLabel(panel);
  second_opinion_->setObjectName(QStringLiteral("SecondOpinion"));
  second_opinion_->setStyleSheet(QStringLiteral("color: #555555; font-size: 8pt"));
  // The model's line is longer than the window in every language but English: it wraps.
  second_opinion_->setWordWrap(true);
  lines->addWidget(second_opinion_);
  tip->addLayout(lines, 1);
  bet_ = new QPushButton(panel);
  bet_->setObjectName(QStringLiteral("BetButton"));
  bet_->setAutoDefault(false);
  tip->addWidget(bet_, 0, Qt::AlignVCenter);
  body->addWidget(panel);
  body->addStretch(1);

  connect(choice_.ok, &QPushButton::clicked, this, [this] {
    Act([this] {
      model_.home.index = choice_.home->currentIndex();
      model_.away.index = choice_.away->currentIndex();
      model_.SetTop(y(), screen() ? screen()->availableGeometry().top() : 0);
      model_.Button1Click();
    });
  });
  connect(choice_.back, &QPushButton::clicked, this, &QDialog::reject);
  connect(latest_home_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.LatestMatchesClick(true, *this); }); });
  connect(latest_away_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.LatestMatchesClick(false, *this); }); });
  connect(table_home_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.TableClick(true, *this); }); });
  connect(table_away_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.TableClick(false, *this); }); });
  connect(show_matches_, &QPushButton::clicked, this,
          [this] { Act([this] { model_.ShowMatchesClick(*this); }); });
  connect(bet_, &QPushButton::clicked, this, [this] { Act([this] { model_.BetClick(); }); });
}

void MatchTipWindow::Refresh() {
  setWindowTitle(Q(model_.Caption()));
  DrawPairingControls(
      {choice_.home, choice_.away, choice_.home_head, choice_.guest_head, choice_.ok, choice_.back,
       latest_home_, latest_away_, table_home_, table_away_, show_matches_},
      model_.Captions(), model_.home, model_.away);
  bet_->setText(Q(model_.BetCaption()));
  for (int n = kTipLine; n <= kAwayVenueForm; ++n) DrawLabel(labels_[n], model_.Label(n));
  KeepCountTogether(labels_[kHeadToHead]);
  QStringList opinion;
  for (const std::string& line : model_.SecondOpinionLines()) opinion << Q(line);
  second_opinion_->setText(opinion.join(QLatin1Char('\n')));
  const bool links = model_.LinksVisible();
  for (QPushButton* b : {latest_home_, latest_away_, table_home_, table_away_, show_matches_})
    b->setVisible(links);
  bet_->setVisible(model_.BetVisible());
  analysis_->setVisible(model_.Analysed());
  RefreshChart();
  setFixedSize(model_.ClientWidth(), model_.ClientHeight());
  // The analysis grows the window where the model wants its top, but never past the screen's
  // edge: a window that ends under the bottom of the screen hides its tip and its buttons.
  PlaceInsideScreen(*this, QPoint(x(), model_.Analysed() ? model_.Top() : y()), parentWidget());
}

void MatchTipWindow::RefreshChart() {
  axis_x_->setTitleText(Q(model_.BottomAxisTitle()));
  axis_y_->setTitleText(Q(model_.LeftAxisTitle()));
  // The left title runs along the plot's height; a language whose title is longer than that
  // gets a smaller type for it rather than a cut title.
  QFont title_font = axis_x_->titleFont();
  const double laid_out = chart_->plotArea().height();
  const double room = laid_out > 0 ? laid_out : kChartHeight - kChartFurniture;
  for (double points = title_font.pointSizeF();
       points > kSmallestTitlePoints &&
       QFontMetricsF(title_font).horizontalAdvance(axis_y_->titleText()) > room;
       points -= 0.25)
    title_font.setPointSizeF(points - 0.25);
  axis_y_->setTitleFont(title_font);
  double max_x = 1, min_y = 0, max_y = 1;
  bool any = false;
  for (size_t i = 0; i < series_.size(); ++i) {
    const ChartSeries& s = model_.Series(static_cast<int>(i));
    QLineSeries* line = series_[i];
    line->clear();
    line->setName(Q(s.title));
    QPen pen(ColourOf(s.color));
    pen.setWidth(s.width);
    line->setPen(pen);
    for (const ChartPoint& pt : s.points) {
      line->append(pt.x, pt.y);
      max_x = std::max(max_x, pt.x);
      if (!any) {
        min_y = max_y = pt.y;
        any = true;
      }
      min_y = std::min(min_y, pt.y);
      max_y = std::max(max_y, pt.y);
    }
    line->setVisible(s.active);
    for (QLegendMarker* m : chart_->legend()->markers(line)) m->setVisible(s.active && s.in_legend);
  }
  axis_x_->setRange(0, max_x);
  axis_x_->setTickType(QValueAxis::TicksDynamic);
  axis_x_->setTickAnchor(0);
  axis_x_->setTickInterval(std::max(1.0, std::ceil(max_x / 20)));
  const double pad = std::max(1.0, (max_y - min_y) * 0.08);
  axis_y_->setRange(model_.Mode() == ResultMode::kUnderOver ? 0 : std::floor(min_y - pad),
                    std::ceil(max_y + pad));
  axis_y_->applyNiceNumbers();
}

QPoint MatchTipWindow::PointPosition(int series, int index) const {
  const ChartSeries& s = model_.Series(series);
  if (index < 0 || index >= static_cast<int>(s.points.size())) return {};
  const QPointF scene = chart_->mapToPosition(QPointF(s.points[index].x, s.points[index].y),
                                              series_[static_cast<size_t>(series)]);
  return chart_view_->mapFromScene(scene);
}

QString MatchTipWindow::HintAt(const QPoint& view_pos) const {
  for (int s : {kHomeLine, kAwayLine}) {
    const ChartSeries& line = model_.Series(s);
    if (!line.active) continue;
    const int n = static_cast<int>(line.points.size());
    // A point itself first, then the segment from point i to point i + 1.
    for (int i = 0; i < n; ++i) {
      const QPointF d = QPointF(PointPosition(s, i)) - QPointF(view_pos);
      if (std::hypot(d.x(), d.y()) <= kHitTolerance) return Q(model_.Chart1MouseMove(s, i));
    }
    for (int i = 0; i + 1 < n; ++i) {
      if (DistanceToSegment(view_pos, PointPosition(s, i), PointPosition(s, i + 1)) <=
          kHitTolerance)
        return Q(model_.Chart1MouseMove(s, i));
    }
  }
  return {};
}

void MatchTipWindow::ShowHint(const QPoint& view_pos) {
  const QString text = HintAt(view_pos);
  if (text.isEmpty()) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(chart_view_->mapToGlobal(view_pos), text, chart_view_);
}

void MatchTipWindow::FormShow() {
  Guarded(p_.ui, [this] {
    model_.SetTop(y(), screen() ? screen()->availableGeometry().top() : 0);
    model_.FormShow();
  });
  Refresh();
}

void MatchTipWindow::OpenForChoice(QWidget* main_window) {
  Guarded(p_.ui, [this] { FindTip(p_, model_); });
  Refresh();
  ShowCentredOn(main_window);
}

void MatchTipWindow::PresetTeams(const Team& home, const Team& away) {
  model_.PresetTeams({home.id, home.name}, {away.id, away.name});
}

void MatchTipWindow::SetOpenedFromTips(bool value) {
  model_.SetOpenedFromTips(value);
}

void MatchTipWindow::ShowModal() {
  ShowCentredOn(parentWidget());
}

void MatchTipWindow::ShowCentredOn(QWidget* owner) {
  if (owner) CentreOver(*this, owner, QSize(model_.ClientWidth(), model_.ClientHeight()));
  FormShow();
  ShowWindow(*this, modal_);
}

bool MatchTipWindow::ChooseAndAnalyse(int64_t home, int64_t away) {
  const int h = choice_.home->findData(QVariant::fromValue<qlonglong>(home));
  const int a = choice_.away->findData(QVariant::fromValue<qlonglong>(away));
  if (h < 0 || a < 0) return false;
  choice_.home->setCurrentIndex(h);
  choice_.away->setCurrentIndex(a);
  choice_.ok->click();
  return true;
}

void MatchTipWindow::ShowHistoryList(const HistoryRequest& request) {
  results_view_.ShowHistoryList(request);
}
void MatchTipWindow::ShowLeagueTable(const TableContext& context) {
  tables_view_.ShowLeagueTables(p_, context);
}

}  // namespace morvela
