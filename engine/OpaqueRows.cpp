#include "engine/OpaqueRows.h"

#include <QImage>

namespace {

constexpr int kOpaqueBandRows = 64;

// Premultiplied colour is the colour laid over black.
bool isOpaqueRgb32(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

void forEachOpaqueRow(const QImage& picture, bool bottomUp, const std::function<void(int y, const QRgb* row)>& visit)
{
    const int height = picture.height();
    if (isOpaqueRgb32(picture.format())) {
        for (int i = 0; i < height; ++i) {
            const int y = bottomUp ? height - 1 - i : i;
            visit(y, reinterpret_cast<const QRgb*>(picture.constScanLine(y)));
        }
        return;
    }
    for (int done = 0; done < height; done += kOpaqueBandRows) {
        const int rows = qMin(kOpaqueBandRows, height - done);
        const int top = bottomUp ? height - done - rows : done;
        QImage view(picture.constScanLine(top), picture.width(), rows, picture.bytesPerLine(), picture.format());
        view.setColorTable(picture.colorTable());
        const QImage band = view.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < rows; ++i) {
            const int inBand = bottomUp ? rows - 1 - i : i;
            visit(top + inBand, reinterpret_cast<const QRgb*>(band.constScanLine(inBand)));
        }
    }
}
