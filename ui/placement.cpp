#include "ui/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace morvela {

namespace {

QRect AvailableArea(const QWidget& w) {
  QScreen* screen = w.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

// The frame's extra size around the client area: the window's own once it is on screen, else
// that of `frame_like`.
QSize FrameExtra(const QWidget& window, const QWidget* frame_like) {
  const QWidget& w = window.isVisible() || !frame_like ? window : *frame_like;
  return w.frameGeometry().size() - w.geometry().size();
}

}  // namespace

QPoint InsideScreen(QPoint wanted, QSize frame, const QRect& screen) {
  const int x = std::max(screen.left(), std::min(wanted.x(), screen.right() + 1 - frame.width()));
  const int y = std::max(screen.top(), std::min(wanted.y(), screen.bottom() + 1 - frame.height()));
  return {x, y};
}

QPoint BesideWindow(const QRect& main, QSize frame, const QRect& screen) {
  const QPoint candidates[] = {
      {main.right() + 1, main.top()},
      {main.left() - frame.width(), main.top()},
      {main.left(), main.bottom() + 1},
      {main.left(), main.top() - frame.height()},
  };
  QPoint best;
  qint64 least = -1;
  for (QPoint c : candidates) {
    const QPoint p = InsideScreen(c, frame, screen);
    const QRect overlap = QRect(p, frame).intersected(main);
    const qint64 area = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
    if (least < 0 || area < least) {
      least = area;
      best = p;
    }
  }
  return best;
}

void PlaceInsideScreen(QWidget& window, QPoint top_left, const QWidget* frame_like) {
  const QSize frame = window.size() + FrameExtra(window, frame_like);
  const QPoint p = InsideScreen(top_left, frame, AvailableArea(frame_like ? *frame_like : window));
  if (p != window.pos()) window.move(p);
}

void CentreOver(QWidget& window, const QWidget* owner, QSize size) {
  const bool over_owner = owner && owner->isVisible();
  const QRect area = over_owner ? owner->frameGeometry() : AvailableArea(owner ? *owner : window);
  const QSize frame = size + FrameExtra(window, owner);
  const QPoint centred = area.center() - QPoint(frame.width() / 2, frame.height() / 2);
  window.move(InsideScreen(centred, frame, AvailableArea(owner ? *owner : window)));
}

void KeepInsideScreenOnShow(QWidget& window) {
  QTimer::singleShot(0, &window, [w = &window] { PlaceInsideScreen(*w, w->pos()); });
}

void PlaceBeside(QWidget& window, const QWidget& main) {
  const QSize frame = window.size() + FrameExtra(window, &main);
  window.move(BesideWindow(main.frameGeometry(), frame, AvailableArea(main)));
}

}  // namespace morvela
