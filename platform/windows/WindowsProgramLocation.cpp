#include "platform/windows/WindowsProgramLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString WindowsProgramLocation::programPath() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString WindowsProgramLocation::programDir() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString WindowsProgramLocation::userDataDir() const
{
    // %LOCALAPPDATA%\tapetor
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                    + QLatin1String("/tapetor"));
}
