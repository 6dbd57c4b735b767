#pragma once

#include <QString>
#include <QtGlobal>

class QImage;

// Size and colour depth of a loaded picture, as a Windows BITMAP record reports
// them. A null picture measures all zero.
struct PictureMeasures {
    qint32 width = 0;
    qint32 height = 0;
    qint16 planes = 0;
    qint16 bitsPerPixel = 0;
};

PictureMeasures measurePicture(const QImage& picture);

// "1024x768, 24 bitů"
QString pictureInfoText(qint32 width, qint32 height, qint32 bitsPerPixel);
