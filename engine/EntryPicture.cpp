#include "engine/EntryPicture.h"

#include "engine/EntryFile.h"
#include "engine/PictureIO.h"

QImage loadEntryPicture(const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse)
{
    QImage picture = std::move(reuse);
    if (!entryBytes.isEmpty()) {
        const EntryFile file(entryBytes);
        if (!file.path().isEmpty() && loadPicture(file.path(), picture))
            return picture;
    }
    if (!loadPicture(fallbackPath, picture))
        return QImage();
    return picture;
}
