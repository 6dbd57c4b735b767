#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Our own swaybg draws the wallpaper on a wlroots compositor that has no setting for
// it. It runs detached, so that it outlives a "/startos" run that ends right after the
// change, and it ends with the session: swaybg exits when its compositor goes away.
// One runs at a time; its pid is kept in the runtime folder, so a later run of the
// program (a "/startos" after the tray copy) finds it too.
class SwaybgProcess {
public:
    // pidFile names the running swaybg. copyFolder holds the pictures it is given,
    // which tells ours from a swaybg that somebody else runs under a reused pid.
    SwaybgProcess(QString pidFile, QString copyFolder, int timeoutMs = 5000);

    // Starts a swaybg with arguments that show picturePath and ends the previous one
    // once the new one has drawn. False when the new one could not start or ended
    // before drawing (no layer shell): the previous one then goes on.
    bool replace(const QString& picturePath, const QStringList& arguments);

private:
    QString m_pidFile;
    QString m_copyFolder;
    int m_timeoutMs;
};

// The pid file for the compositor of waylandDisplay (a name or a socket path).
QString swaybgPidFile(const QString& runtimeFolder, const QString& waylandDisplay);

// The pid that pidFile names when that process is a swaybg showing a picture from
// copyFolder; 0 otherwise.
qint64 runningSwaybg(const QString& pidFile, const QString& copyFolder);
