#include "engine/EntryPicture.h"

#include "engine/EntryFile.h"
#include "engine/PictureIO.h"

QImage loadEntryPicture(const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse,
                        const std::stop_token& stop)
{
    QImage picture = std::move(reuse);
    if (!entryBytes.isEmpty()) {
        const EntryFile file(entryBytes);
        if (!file.path().isEmpty() && loadPicture(file.path(), picture, stop))
            return picture;
    }
    if (stop.stop_requested() || !loadPicture(fallbackPath, picture, stop))
        return QImage();
    return picture;
}
