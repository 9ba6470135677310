// The program's own pictures: the flag set of the twenty leagues (drawn, not loaded, so they
// scale to any cell) and the icons of the main window's three icon buttons.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace morvela {

// The flag picture size of the main window's buttons.
inline constexpr int kFlagWidth = 30;
inline constexpr int kFlagHeight = 20;

// Paints flag `flag` (picture index 0..19, ID_LIGA - 1) stretched into `rect`, with a thin
// frame so that white fields stand out. An index outside the set paints a grey field.
void DrawFlag(QPainter& painter, const QRectF& rect, int flag);

// Flag `flag` as a picture of the given size (device pixels follow the screen's scale).
QPixmap FlagPixmap(int flag, int width = kFlagWidth, int height = kFlagHeight);

// The icon buttons: the web page (a globe), the settings (a gear), the update (a circular
// arrow).
enum class ToolIcon { kWebPage, kSettings, kUpdate };
QIcon ToolButtonIcon(ToolIcon which);

// The program's emblem: a football, for the window icon and the title bar of the main window.
QPixmap EmblemPixmap(int size);

}  // namespace morvela
