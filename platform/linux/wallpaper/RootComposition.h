#pragma once

#include <QList>
#include <QRect>

class QImage;

// Draws the wallpaper of a whole X screen into screen (Format_RGB32, allocated by the
// caller at the screen's size). Each monitor rectangle shows the picture in the style
// on its own, as Windows draws it per monitor: center (picture centred and clipped,
// black around), stretch (scaled to the rectangle, proportions not kept), tile
// (repeated from the rectangle's top-left corner). Transparent parts lie over black,
// and so does whatever no monitor covers. A style outside 0..2 draws nothing but black.
void composeRootPicture(const QImage& picture, int style, const QList<QRect>& monitors, QImage& screen);

// Where a picture of pictureSize is centred in area; negative offsets clip.
QPoint centredOrigin(const QSize& pictureSize, const QRect& area);

// Whether an X server of this RandR version reports its monitors (RRGetMonitors came with
// 1.5); an older one has the picture drawn across the whole screen.
bool randrReportsMonitors(int major, int minor);
