#include "engine/FileStamp.h"

#include <QFileInfo>

FileStamp FileStamp::of(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified()};
}
