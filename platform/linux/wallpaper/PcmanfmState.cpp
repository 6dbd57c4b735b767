#include "platform/linux/wallpaper/PcmanfmState.h"

#include <QFile>
#include <QStandardPaths>

QString pcmanfmSocketPath(const QString& runtimeDir, const QString& display)
{
    // libfm's single-instance name: "<program>-socket-<host>-<display number>".
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? QString() : display.left(colon);
    const int number = colon < 0 ? 0 : display.mid(colon + 1).section(QLatin1Char('.'), 0, 0).toInt();
    return runtimeDir + QStringLiteral("/pcmanfm-socket-%1-%2").arg(host).arg(number);
}

bool isListeningUnixSocket(const QByteArray& procNetUnix, const QString& path)
{
    // "Num RefCount Protocol Flags Type St Inode Path"; flag 00010000 marks a listener.
    // Connecting to find out would hand pcmanfm an empty command line to act on.
    const QByteArray wanted = path.toLocal8Bit();
    for (const QByteArray& line : procNetUnix.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 8 && fields[7] == wanted && (fields[3].toUInt(nullptr, 16) & 0x10000))
            return true;
    }
    return false;
}

bool pcmanfmRunning()
{
    QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtimeDir.isEmpty())
        runtimeDir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QFile table(QStringLiteral("/proc/net/unix"));
    // procfs reports no size: read to the end rather than by the size.
    if (!table.open(QIODevice::ReadOnly))
        return false;
    return isListeningUnixSocket(table.readAll(), pcmanfmSocketPath(runtimeDir, qEnvironmentVariable("DISPLAY")));
}
