#include "engine/PictureIO.h"

#include <QImage>
#include <QImageReader>

namespace {

// Qt refuses pictures over 128 MB by default, which already rules out an 8K photo
// (7680 x 4320 is 127 MiB decoded). Allow what the pixel cap allows at 32 bits a
// pixel; the cap itself is checked from the header before any decoding.
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
