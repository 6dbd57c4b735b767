#include "platform/linux/wallpaper/RootComposition.h"

#include "engine/SmoothScale.h"
#include "platform/WallpaperSetter.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

namespace {

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

// Bilinear sampling straight into the screen is the fastest and, down to half the
// size, as good as averaging (at exactly half it is the 2 x 2 average). Beyond that
// it skips pixels and thin lines fall apart, so larger reductions average every
// source pixel, at about twice the time (an 8K photo on a 1080p screen).
void drawStretched(QPainter& painter, const QImage& picture, const QRect& area)
{
    if (picture.width() > 2 * area.width() || picture.height() > 2 * area.height()) {
        painter.drawImage(area.topLeft(), smoothlyScaled(picture, area.size()));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, picture);
}

void drawTiled(QPainter& painter, const QImage& picture, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); y += picture.height()) {
        for (int x = area.left(); x <= area.right(); x += picture.width())
            painter.drawImage(QPoint(x, y), picture);
    }
}

} // namespace

QPoint centredOrigin(const QSize& pictureSize, const QRect& area)
{
    return {area.left() + floorHalf(area.width() - pictureSize.width()),
            area.top() + floorHalf(area.height() - pictureSize.height())};
}

namespace {

// Where the style puts opaque picture pixels inside monitor.
QRect paintedArea(const QImage& picture, int style, const QRect& monitor)
{
    switch (style) {
    case StyleCenter:
        return QRect(centredOrigin(picture.size(), monitor), picture.size()).intersected(monitor);
    case StyleStretch:
    case StyleTile:
        return monitor;
    default:
        return {};
    }
}

} // namespace

void composeRootPicture(const QImage& picture, int style, const QList<QRect>& monitors, QImage& screen)
{
    // Blackening the whole screen first would touch every pixel twice; only what the
    // picture leaves uncovered is filled (all of it under a transparent picture).
    QRegion black(screen.rect());
    if (!picture.isNull() && !picture.hasAlphaChannel()) {
        for (const QRect& monitor : monitors)
            black -= paintedArea(picture, style, monitor);
    }
    QPainter painter(&screen);
    for (const QRect& rect : black)
        painter.fillRect(rect, Qt::black);
    if (picture.isNull())
        return;
    for (const QRect& monitor : monitors) {
        if (monitor.intersected(screen.rect()).isEmpty())
            continue;
        painter.save();
        painter.setClipRect(monitor);
        switch (style) {
        case StyleCenter:
            painter.drawImage(centredOrigin(picture.size(), monitor), picture);
            break;
        case StyleStretch:
            drawStretched(painter, picture, monitor);
            break;
        case StyleTile:
            drawTiled(painter, picture, monitor);
            break;
        default:
            break;
        }
        painter.restore();
    }
}

bool randrReportsMonitors(int major, int minor)
{
    return major > 1 || (major == 1 && minor >= 5);
}
