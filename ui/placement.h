// Where the program's windows open: inside the screen's available area (no window reaches
// under a panel or off the screen, whatever the size of the screen), dialogs centred over the
// window they belong to, and lists beside the main window rather than over it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace morvela {

// The top left corner nearest to `wanted` at which a frame of `frame` size lies inside
// `screen`; a frame larger than the screen keeps its top left corner on the screen.
QPoint InsideScreen(QPoint wanted, QSize frame, const QRect& screen);

// Where a frame of `frame` size beside `main` overlaps it least, inside `screen`: right of it,
// left of it, below or above (the first of equal ones), each moved inside the screen.
QPoint BesideWindow(const QRect& main, QSize frame, const QRect& screen);

// Moves the top-level `window` so that its top left corner stands at `top_left`, or as near
// as the available area of its screen allows. A window not yet shown has no frame of its own;
// the frame of `frame_like` (the main window), when given, stands in for it.
void PlaceInsideScreen(QWidget& window, QPoint top_left, const QWidget* frame_like = nullptr);

// Centres `window`, at the size `size`, over `owner` when `owner` is on screen, else over the
// available area of the screen; inside that area either way.
void CentreOver(QWidget& window, const QWidget* owner, QSize size);

// Once `window` is on screen (the next turn of the event loop after show() or exec()), moves
// it inside the available area of its screen, its frame included: the toolkit centres a dialog
// over its owner and keeps only the dialog's client area on the screen.
void KeepInsideScreenOnShow(QWidget& window);

// Places `window` beside `main` (BesideWindow) on the screen of `main`.
void PlaceBeside(QWidget& window, const QWidget& main);

}  // namespace morvela
