#include "platform/linux/AutostartLogonEntry.h"

#include "engine/CheckedSave.h"
#include "platform/linux/DesktopEntryExec.h"
#include "platform/linux/RemoveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

AutostartLogonEntry::AutostartLogonEntry(QString configHome)
{
    if (configHome.isEmpty())
        configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    m_folder = configHome + QLatin1String("/autostart");
}

QString AutostartLogonEntry::filePath() const
{
    return m_folder + QLatin1String("/tapetor.desktop");
}

bool AutostartLogonEntry::canOpen() const
{
    if (!QDir().mkpath(m_folder))
        return false;
    return QFileInfo(m_folder).isWritable();
}

bool AutostartLogonEntry::write(const QString& programPath, const QString& switchText)
{
    if (!canOpen())
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=tapetor\n"
                                        "Comment=aplikace pro automatickou změnu tapet\n"
                                        "Exec=%1\n"
                                        "Icon=tapetor\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execLine(programPath, switchText));
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    // A full disk would otherwise leave an entry cut off in its Exec= line, which the
    // session would run at the next logon.
    return commitWhole(file, bytes.size());
}

bool AutostartLogonEntry::remove()
{
    return removeFile(filePath());
}

QString AutostartLogonEntry::location() const
{
    return filePath();
}
