#pragma once

#include <QImage>
#include <QSize>

// The picture scaled to size by averaging, as QImage::scaled with smooth transformation
// does, for a picture of any format. Qt first converts a whole grey or palette picture
// to 32 bits, four times its own size: such pictures are converted and scaled a band of
// rows at a time instead, so the cost stays that of the result.
QImage smoothlyScaled(const QImage& picture, const QSize& size);
