#include "platform/linux/LinuxProgramLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString LinuxProgramLocation::programPath() const
{
    return QCoreApplication::applicationFilePath();
}

QString LinuxProgramLocation::programDir() const
{
    return QCoreApplication::applicationDirPath();
}

QString LinuxProgramLocation::userDataDir() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1String("/tapetor");
}

QString LinuxProgramLocation::installedDataDir() const
{
    // Relative to the program first, so a relocated installation still finds its data.
    QString beside = QDir::cleanPath(programDir() + QLatin1String("/../share/tapetor"));
    if (QFileInfo(beside).isDir())
        return beside;
    return QStringLiteral(TAPETOR_DATA_DIR);
}
