#include "ui/choice_band.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "analysis/match_window.h"

namespace morvela {

QFrame* Line(QFrame::Shape shape, QWidget* parent) {
  auto* f = new QFrame(parent);
  f->setFrameShape(shape);
  f->setFrameShadow(QFrame::Sunken);
  return f;
}

QHBoxLayout* BuildTeamBlocks(QWidget* parent, QLabel* const (&home)[4], QLabel* const (&away)[4],
                             int vertical_spacing, TeamBlockButtons& buttons) {
  auto block = [&](QLabel* const(&labels)[4], QPushButton*& latest, QPushButton*& table,
                   const char* latest_name, const char* table_name) {
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(12);
    if (vertical_spacing >= 0) grid->setVerticalSpacing(vertical_spacing);
    for (int i = 0; i < 4; ++i) grid->addWidget(labels[i], i / 2, i % 2);
    latest = new QPushButton(parent);
    latest->setObjectName(QString::fromLatin1(latest_name));
    table = new QPushButton(parent);
    table->setObjectName(QString::fromLatin1(table_name));
    latest->setAutoDefault(false);
    table->setAutoDefault(false);
    grid->addWidget(latest, 2, 0);
    grid->addWidget(table, 2, 1);
    return grid;
  };
  auto* blocks = new QHBoxLayout();
  blocks->addLayout(block(home, buttons.latest_home, buttons.table_home, "LatestHome", "TableHome"),
                    1);
  blocks->addWidget(Line(QFrame::VLine, parent));
  blocks->addLayout(block(away, buttons.latest_away, buttons.table_away, "LatestAway", "TableAway"),
                    1);
  return blocks;
}

void FillChooser(QComboBox* box, const TeamChooser& chooser) {
  const QSignalBlocker blocker(box);
  box->clear();
  for (const TeamItem& t : chooser.items)
    box->addItem(QString::fromStdString(t.name), QVariant::fromValue<qlonglong>(t.id));
  box->setCurrentIndex(chooser.index);
}

void DrawPairingControls(const PairingControls& c, const PairingCaptions& captions,
                         const TeamChooser& home, const TeamChooser& away) {
  FillChooser(c.home, home);
  FillChooser(c.away, away);
  auto q = [](const std::string& s) { return QString::fromStdString(s); };
  c.home_head->setText(q(captions.home_head));
  c.guest_head->setText(q(captions.guest_head));
  c.ok->setText(q(captions.ok));
  c.back->setText(q(captions.back));
  c.latest_home->setText(q(captions.latest_matches));
  c.latest_away->setText(q(captions.latest_matches));
  c.table_home->setText(q(captions.table_home));
  c.table_away->setText(q(captions.table_away));
  c.show_matches->setText(q(captions.show_matches));
}

void DrawLabel(QLabel* w, const WindowLabel& l) {
  const QFont base = QApplication::font();
  w->setText(QString::fromStdString(l.text));
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, QColor(l.color.r, l.color.g, l.color.b));
  w->setPalette(pal);
  QFont f = base;
  f.setBold(l.bold);
  if (l.large) f.setPointSizeF(base.pointSizeF() * 1.2);
  w->setFont(f);
  w->setVisible(l.visible);
}

void KeepCountTogether(QLabel* w) {
  static const QRegularExpression kBetweenNumbers(QStringLiteral("(\\d) - (?=\\d)"));
  w->setText(w->text().replace(kBetweenNumbers, QStringLiteral("\\1\u00A0-\u00A0")));
}

ChoiceBand BuildChoiceBand(QWidget* window) {
  ChoiceBand b;
  b.layout = new QGridLayout();
  b.layout->setHorizontalSpacing(8);
  b.home_head = new QLabel(window);
  b.guest_head = new QLabel(window);
  QFont head_font = b.home_head->font();
  head_font.setBold(true);
  b.home_head->setFont(head_font);
  b.guest_head->setFont(head_font);
  b.home = new QComboBox(window);
  b.home->setObjectName(QStringLiteral("HomeTeam"));
  b.away = new QComboBox(window);
  b.away->setObjectName(QStringLiteral("AwayTeam"));
  b.ok = new QPushButton(window);
  b.ok->setObjectName(QStringLiteral("OkButton"));
  b.back = new QPushButton(window);
  b.back->setObjectName(QStringLiteral("BackButton"));
  b.layout->addWidget(b.home_head, 0, 0);
  b.layout->addWidget(b.guest_head, 0, 1);
  b.layout->addWidget(b.home, 1, 0);
  b.layout->addWidget(b.away, 1, 1);
  b.layout->addWidget(b.ok, 1, 2);
  b.layout->addWidget(b.back, 1, 3);
  b.layout->setColumnStretch(0, 1);
  b.layout->setColumnStretch(1, 1);
  return b;
}

}  // namespace morvela
