#include "platform/linux/wallpaper/PcmanfmQtModeKeeper.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace {

const QString WallpaperKey = QStringLiteral("Desktop/Wallpaper");
const QString ModeKey = QStringLiteral("Desktop/WallpaperMode");

} // namespace

PcmanfmQtModeKeeper::PcmanfmQtModeKeeper(QString configFolder)
    : m_configFolder(std::move(configFolder))
{
    // pcmanfm-qt saves through QSettings, which renames a new file into place: the
    // profile's folder changes, and a watch on the file itself would be lost.
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] { putBack(); });
}

void PcmanfmQtModeKeeper::keep(const QString& picturePath, const QString& mode)
{
    QStringList folders;
    const QMutexLocker lock(&m_mutex);
    m_picture = picturePath;
    m_mode = mode;
    m_theirMode.clear();

    const QDir folder(m_configFolder);
    for (const QString& profile : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = folder.filePath(profile + QStringLiteral("/settings.conf"));
        if (!QFileInfo::exists(file))
            continue;
        QSettings settings(file, QSettings::IniFormat);
        if (settings.value(WallpaperKey).toString() != picturePath)
            continue;
        const QString theirs = settings.value(ModeKey).toString();
        if (theirs == mode)
            continue;
        m_theirMode.insert(file, theirs);
        folders << QFileInfo(file).absolutePath();
        settings.setValue(ModeKey, mode);
    }
    // By name, as the analyzer cannot follow the functor form's slot object to its release.
    QMetaObject::invokeMethod(this, "watch", Qt::AutoConnection, Q_ARG(QStringList, folders));
}

void PcmanfmQtModeKeeper::watch(const QStringList& folders)
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (!folders.isEmpty())
        m_watcher.addPaths(folders);
}

void PcmanfmQtModeKeeper::putBack()
{
    const QMutexLocker lock(&m_mutex);
    for (auto it = m_theirMode.cbegin(); it != m_theirMode.cend(); ++it) {
        if (!QFileInfo::exists(it.key()))
            continue;
        QSettings settings(it.key(), QSettings::IniFormat);
        if (settings.value(WallpaperKey).toString() == m_picture && settings.value(ModeKey).toString() == it.value())
            settings.setValue(ModeKey, m_mode);
    }
}
