// The band at the top of the match analysis windows (match tip, live tip): the two team
// choosers under their bold headings, OK and Back.
#pragma once

#include <QFrame>

class QComboBox;
class QHBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace morvela {

struct PairingCaptions;
struct TeamChooser;
struct WindowLabel;

struct ChoiceBand {
  QGridLayout* layout = nullptr;
  QLabel* home_head = nullptr;
  QLabel* guest_head = nullptr;
  QComboBox* home = nullptr;    // "HomeTeam"
  QComboBox* away = nullptr;    // "AwayTeam"
  QPushButton* ok = nullptr;    // "OkButton"
  QPushButton* back = nullptr;  // "BackButton"
};

// The controls both windows draw alike: the band's choosers and every caption of
// PairingCaptions.
struct PairingControls {
  QComboBox* home;
  QComboBox* away;
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
void DrawPairingControls(const PairingControls& controls, const PairingCaptions& captions,
                         const TeamChooser& home, const TeamChooser& away);

// A sunken separator line, horizontal or vertical.
QFrame* Line(QFrame::Shape shape, QWidget* parent);

// The buttons under the two teams' figures.
struct TeamBlockButtons {
  QPushButton* latest_home = nullptr;  // "LatestHome"
  QPushButton* table_home = nullptr;   // "TableHome"
  QPushButton* latest_away = nullptr;  // "LatestAway"
  QPushButton* table_away = nullptr;   // "TableAway"
};

// The two team blocks below the chart of both match analysis windows: each team's four figure
// labels in two rows over its "Latest matches" and "Table" buttons, a line between the teams.
// `vertical_spacing` < 0 keeps the layout's own.
QHBoxLayout* BuildTeamBlocks(QWidget* parent, QLabel* const (&home)[4], QLabel* const (&away)[4],
                             int vertical_spacing, TeamBlockButtons& buttons);

// A chooser filled with the model's teams (ids as item data), its selection set, no signals.
void FillChooser(QComboBox* box, const TeamChooser& chooser);
// A label drawn as the model says: text, colour, weight, size (large: 1.2 times) and visibility.
void DrawLabel(QLabel* label, const WindowLabel& model);
// Joins the numbers of a drawn count ("7 - 2 - 1") with non-breaking spaces, so that a line too
// long for its row wraps before the count, not inside it.
void KeepCountTogether(QLabel* label);

// Creates the band's controls as children of `window` and lays them out in a grid: headings
// over the choosers, the two buttons beside them, the choosers taking the spare width.
ChoiceBand BuildChoiceBand(QWidget* window);

}  // namespace morvela
