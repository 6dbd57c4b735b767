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

constexpr int kScaleBandRows = 64;

} // namespace

QImage smoothlyScaled(const QImage& picture, const QSize& size)
{
    // A picture narrower than the result would give a wider 32-bit copy than a whole
    // conversion does; that one costs four bytes a pixel beside the picture's one.
    if (picture.isNull() || size.isEmpty() || scalesAsItIs(picture.format()) || size.width() > picture.width())
        return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    // Averaging works on rows and columns apart: each band of rows is converted and
    // narrowed on its own (rows do not mix in this pass, so bands leave no seams), and
    // the narrow 32-bit picture is then brought to its height in one go.
    const QImage::Format wide = picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    QImage narrow(size.width(), picture.height(), wide);
    if (narrow.isNull())
        return {};
    for (int top = 0; top < picture.height(); top += kScaleBandRows) {
        const int rows = qMin(kScaleBandRows, picture.height() - top);
        QImage band(picture.constScanLine(top), picture.width(), rows, picture.bytesPerLine(), picture.format());
        band.setColorTable(picture.colorTable());
        const QImage scaled
            = band.convertToFormat(wide).scaled(size.width(), rows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int row = 0; row < rows; ++row)
            std::memcpy(narrow.scanLine(top + row), scaled.constScanLine(row), size_t(size.width()) * 4);
    }
    return narrow.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
