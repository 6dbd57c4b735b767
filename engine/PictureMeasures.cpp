#include "engine/PictureMeasures.h"

#include <QImage>

namespace {

qint16 bitsPerPixelOf(const QImage& picture)
{
    switch (picture.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    // Palette and grey pictures keep one byte a pixel, as the device-independent
    // bitmap of a GIF or a grey JPEG would.
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_Alpha8:
        return 8;
    default:
        return picture.hasAlphaChannel() ? 32 : 24;
    }
}

} // namespace

PictureMeasures measurePicture(const QImage& picture)
{
    if (picture.isNull())
        return {};
    return {picture.width(), picture.height(), 1, bitsPerPixelOf(picture)};
}

QString pictureInfoText(qint32 width, qint32 height, qint32 bitsPerPixel)
{
    return QStringLiteral("%1x%2, %3 bitů").arg(width).arg(height).arg(bitsPerPixel);
}
