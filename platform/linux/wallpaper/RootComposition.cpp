#include "platform/linux/wallpaper/RootComposition.h"

#include "platform/WallpaperSetter.h"

#include <QImage>
#include <QPainter>

namespace {

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

void drawStretched(QPainter& painter, const QImage& picture, const QRect& area)
{
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

void composeRootPicture(const QImage& picture, int style, const QList<QRect>& monitors,
                        QImage& screen)
{
    screen.fill(Qt::black);
    if (picture.isNull())
        return;
    QPainter painter(&screen);
    for (const QRect& monitor : monitors) {
        const QRect area = monitor.intersected(screen.rect());
        if (area.isEmpty())
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
