#include "engine/PictureIO.h"

#include <QImage>
#include <QImageReader>

namespace {

// Qt refuses pictures over 128 MB by default, which already rules out an 8K photo
// (7680 x 4320 is 127 MiB decoded). Qt counts four bytes a pixel whatever the format,
// so this limit lets exactly the pictures within the pixel cap through. It guards
// the formats whose header tells no size; the others are refused from the header.
constexpr int kAllocationLimitMiB = int(kMaxPicturePixels * 4 / (1024 * 1024));

} // namespace

bool loadPicture(const QString& path, QImage& into)
{
    QImageReader reader(path);
    reader.setAllocationLimit(kAllocationLimitMiB);
    // Cameras store portrait photos sideways with an orientation tag; every
    // viewer the user compares us with honours it, so the wallpaper does too.
    reader.setAutoTransform(true);

    const QSize claimed = reader.size();
    if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > kMaxPicturePixels) {
        into = QImage();
        return false;
    }
    // A buffer of another size is reallocated by the decoder anyway; releasing it
    // first keeps the old and the new picture from being held at the same time.
    // A buffer shared with someone else would be copied before being overwritten.
    if (into.size() != claimed || !into.isDetached())
        into = QImage();

    if (!reader.read(&into)) {
        into = QImage();
        return false;
    }
    return true;
}
