#include "platform/fakes/RecordingWallpaperSetter.h"

#include <QFileInfo>
#include <QImage>

bool RecordingWallpaperSetter::setWallpaper(const QString& bmpPath, int style, const QImage* picture)
{
    Call call;
    call.bmpPath = bmpPath;
    call.style = style;
    call.hadPicture = picture && !picture->isNull();
    call.pictureSize = call.hadPicture ? picture->size() : QSize();
    const QFileInfo file(bmpPath);
    call.bmpBytes = file.isFile() ? file.size() : -1;
    calls.push_back(call);
    if (onCall)
        onCall();
    return result;
}
