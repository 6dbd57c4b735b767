#include "engine/BitmapLocation.h"

#include "platform/ProgramLocation.h"

#include <QDir>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <QTemporaryFile>
#endif

namespace {

const QString kBitmapName = QStringLiteral("tapetor.bmp");
const QString kErrorPictureName = QStringLiteral("prv_err.jpg");
const QString kBuiltInErrorPicture = QStringLiteral(":/assets/prv_err.jpg");

bool isWritableFolder(const QString& folder)
{
    const QFileInfo info(folder);
#if defined(Q_OS_WIN)
    // Qt judges a Windows folder by its read-only attribute alone, which Program Files
    // lacks too, though its access list keeps an ordinary user's files out. Only a file
    // made there tells.
    QTemporaryFile probe(folder + QStringLiteral("/tapetor-XXXXXX"));
    return !folder.isEmpty() && info.isDir() && probe.open();
#else
    return !folder.isEmpty() && info.isDir() && info.isWritable();
#endif
}

} // namespace

QString joinPath(const QString& folder, const QString& name, QChar separator)
{
    if (folder.endsWith(separator))
        return folder + name;
    return folder + separator + name;
}

QString wallpaperBitmapPath(const ProgramLocation& location)
{
    const QString programDir = location.programDir();
    if (isWritableFolder(programDir))
        return joinPath(programDir, kBitmapName, location.separator());
    const QString dataDir = location.userDataDir();
    QDir().mkpath(dataDir);
    return joinPath(dataDir, kBitmapName, location.separator());
}

QString errorPicturePath(const ProgramLocation& location)
{
    QString beside = joinPath(location.programDir(), kErrorPictureName, location.separator());
    if (QFileInfo::exists(beside))
        return beside;
    const QString installedDir = location.installedDataDir();
    if (!installedDir.isEmpty()) {
        QString installed = joinPath(installedDir, kErrorPictureName, location.separator());
        if (QFileInfo::exists(installed))
            return installed;
    }
    return kBuiltInErrorPicture;
}
