// The band at the top of the match analysis windows (match tip, live tip): the two team
// choosers under their bold headings, OK and Back.
#pragma once

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace morvela {

struct PairingCaptions;

struct ChoiceBand {
  QGridLayout* layout = nullptr;
  QLabel* home_head = nullptr;
  QLabel* guest_head = nullptr;
  QComboBox* home = nullptr;    // "HomeTeam"
  QComboBox* away = nullptr;    // "AwayTeam"
  QPushButton* ok = nullptr;    // "OkButton"
  QPushButton* back = nullptr;  // "BackButton"
};

// The controls whose captions both windows take from PairingCaptions.
struct PairingControls {
  QLabel* home_head;
  QLabel* guest_head;
  QPushButton* ok;
  QPushButton* back;
  QPushButton* latest_home;
  QPushButton* latest_away;
  QPushButton* table_home;
  QPushButton* table_away;
  QPushButton* show_matches;
};
void SetPairingCaptions(const PairingControls& controls, const PairingCaptions& captions);

// Creates the band's controls as children of `window` and lays them out in a grid: headings
// over the choosers, the two buttons beside them, the choosers taking the spare width.
ChoiceBand BuildChoiceBand(QWidget* window);

}  // namespace morvela
