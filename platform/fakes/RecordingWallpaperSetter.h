#pragma once

#include "platform/WallpaperSetter.h"

#include <QSize>
#include <QString>

#include <functional>
#include <vector>

// Stands in for the desktop: remembers every hand-over and answers as scripted.
class RecordingWallpaperSetter final : public WallpaperSetter {
public:
    struct Call {
        QString bmpPath;
        int style = 0;
        bool hadPicture = false; // a non-null decoded picture came along
        QSize pictureSize;
        // Size in bytes of the bitmap file at the time of the call, -1 when missing:
        // tells whether the caller wrote the bitmap before handing it over.
        qint64 bmpBytes = -1;
    };

    bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) override;
    bool readsBitmapFile() const override { return readsFile; }

    std::vector<Call> calls;
    bool result = true;
    bool readsFile = false;
    // Runs during each hand-over, to look at the window while a change is under way.
    std::function<void()> onCall;
};
