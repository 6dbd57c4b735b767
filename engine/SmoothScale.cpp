#include "engine/SmoothScale.h"

#include <cstring>

namespace {

// The formats Qt's smooth scaling takes as they are.
bool scalesAsItIs(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Rows of the result made per band; the seams between bands lie where a row of the
// picture is split between two rows of the result, and are not to be seen.
constexpr int kBandRows = 32;

} // namespace

QImage smoothlyScaled(const QImage& picture, const QSize& size)
{
    const int height = picture.height();
    if (picture.isNull() || size.isEmpty() || scalesAsItIs(picture.format()) || height < size.height())
        return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const QImage::Format wide =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    QImage result(size, wide);
    if (result.isNull())
        return {};
    for (int first = 0; first < size.height(); first += kBandRows) {
        const int rows = qMin(kBandRows, size.height() - first);
        const int top = int(qint64(first) * height / size.height());
        const int bottom = int(qint64(first + rows) * height / size.height());
        QImage band(picture.constScanLine(top), picture.width(), bottom - top, picture.bytesPerLine(),
                    picture.format());
        band.setColorTable(picture.colorTable());
        const QImage scaled = band.convertToFormat(wide).scaled(size.width(), rows, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation);
        for (int row = 0; row < rows; ++row)
            std::memcpy(result.scanLine(first + row), scaled.constScanLine(row), size_t(size.width()) * 4);
    }
    return result;
}
