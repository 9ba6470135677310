#include "ui/choice_band.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "analysis/match_window.h"

namespace morvela {

void SetPairingCaptions(const PairingControls& c, const PairingCaptions& captions) {
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
