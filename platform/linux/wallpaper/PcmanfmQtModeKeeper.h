#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>

// pcmanfm-qt 1.2 keeps in memory the mode it read when it started, and writes that
// mode back whenever it saves its settings, last of all when it ends. No command
// reaches that memory. So after every change the keeper watches the profiles that
// hold our picture, and when pcmanfm-qt writes its own mode over ours it puts ours
// back: a desktop that starts again reads ours, and from then on keeps it itself.
// A change asks it to keep a mode from the thread the change runs on; the watcher lives
// on the keeper's own thread, whose event loop delivers its news.
class PcmanfmQtModeKeeper final : public QObject {
    Q_OBJECT
public:
    // configFolder is pcmanfm-qt's settings folder (~/.config/pcmanfm-qt).
    explicit PcmanfmQtModeKeeper(QString configFolder);

    // Right after pcmanfm-qt took picturePath: the mode each profile holds now is the
    // one pcmanfm-qt remembers; mode replaces it, now and whenever it comes back.
    void keep(const QString& picturePath, const QString& mode);

private:
    Q_INVOKABLE void watch(const QStringList& folders);
    void putBack();

    QString m_configFolder;
    QString m_picture;
    QString m_mode;
    // Per profile file: the mode pcmanfm-qt wrote there itself. A mode the user picks
    // in pcmanfm-qt's own dialog is neither this nor ours, and is left alone.
    QHash<QString, QString> m_theirMode;
    // Guards what keep() and putBack() share: they run on different threads.
    QMutex m_mutex;
    QFileSystemWatcher m_watcher;
};
