#include "engine/PictureIO.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdlib>

namespace {

// Qt refuses pictures over 128 MB by default, which already rules out an 8K photo
// (7680 x 4320 is 127 MiB decoded). Qt counts four bytes a pixel whatever the format,
// so this limit lets exactly the pictures within the pixel cap through. It guards
// the formats whose header tells no size; the others are refused from the header.
constexpr int kAllocationLimitMiB = int(kMaxPicturePixels * 4 / (1024 * 1024));

// Real pictures pack at most a few thousand pixels into a byte of file (a flat-coloured
// PNG a few hundred, a GIF a few thousand). A header claiming far more than its file
// can hold is broken or hostile: believing it costs the time and memory of a huge
// picture made of nothing (Qt fills what a truncated BMP lacks). Below the size of a
// large screen the claim is believed, since decoding costs little.
constexpr qint64 kMaxPixelsPerFileByte = 8192;
constexpr qint64 kBelievedPixels = qint64(4096) * 4096;

bool claimIsPlausible(const QSize& claimed, qint64 fileBytes)
{
    // A top-down BMP gives its height as a negative number.
    const qint64 pixels = std::abs(qint64(claimed.width())) * std::abs(qint64(claimed.height()));
    if (pixels > kMaxPicturePixels)
        return false;
    return pixels <= kBelievedPixels || pixels <= fileBytes * kMaxPixelsPerFileByte;
}

} // namespace

bool loadPicture(const QString& path, QImage& into)
{
    QImageReader reader(path);
    reader.setAllocationLimit(kAllocationLimitMiB);
    // Cameras store portrait photos sideways with an orientation tag; every
    // viewer the user compares us with honours it, so the wallpaper does too.
    reader.setAutoTransform(true);

    const QSize claimed = reader.size();
    const bool sizeKnown = claimed != QSize(-1, -1);
    if (sizeKnown && !claimIsPlausible(claimed, QFileInfo(path).size())) {
        into = QImage();
        return false;
    }
    // A buffer of another size is reallocated by the decoder anyway; releasing it
    // first keeps the old and the new picture from being held at the same time.
    // A buffer shared with someone else would be copied before being overwritten.
    if (into.size() != claimed || !into.isDetached())
        into = QImage();

    // Some decoders (MNG) report success for a file that gave no picture at all.
    if (!reader.read(&into) || into.isNull()) {
        into = QImage();
        return false;
    }
    return true;
}
