#include "engine/CheckedSave.h"

#include <QFileInfo>
#include <QSaveFile>

bool commitWhole(QSaveFile& file, qint64 expectedBytes)
{
    if (!file.flush() || file.error() != QFileDevice::NoError || file.size() != expectedBytes) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}
