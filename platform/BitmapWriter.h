#pragma once

#include <QImage>
#include <QString>

// Writes the wallpaper bitmap (see engine/WallpaperBitmap.h). The real writer works
// beside the window's thread: the desktop already has the picture by then, and nobody
// waits for the file. Writes happen one after the other in the order asked for.
class BitmapWriter {
public:
    virtual ~BitmapWriter() = default;

    virtual void write(QImage picture, const QString& path) = 0;
    // Waits until every write asked for is complete; whether the last one succeeded.
    virtual bool finish() = 0;
};
