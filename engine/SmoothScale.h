#pragma once

#include <QImage>
#include <QSize>

// The picture scaled to size by averaging, as QImage::scaled with smooth transformation
// does, for a picture of any format. Qt first converts a whole grey or palette picture
// to 32 bits, four times its own size, beside it: such pictures are instead converted
// and narrowed a band of rows at a time, so the copy is only as wide as the result.
QImage smoothlyScaled(const QImage& picture, const QSize& size);
