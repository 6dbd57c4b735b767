#pragma once

#include "platform/SingleInstance.h"

#include <QObject>
#include <QString>
#include <memory>

class HandOverServer;
class QLockFile;
class QThread;

// The running copy listens on a local socket (a named pipe on Windows); a lock file
// beside it decides which of two starts at the same moment is the one that listens.
class QtSingleInstance final : public SingleInstance {
public:
    // serverName: the socket's full path on Unix, the pipe's name on Windows; both it
    // and lockPath must be the user's own. An empty lockPath keeps no place.
    QtSingleInstance(QString serverName, QString lockPath);
    ~QtSingleInstance() override;
    QtSingleInstance(const QtSingleInstance&) = delete;
    QtSingleInstance& operator=(const QtSingleInstance&) = delete;

    Claim claim(Command command = Command::Show) override;
    void leave() override;

private:
    bool listen();
    bool askRunningCopy(Command command) const;

    QString m_serverName;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    // The hand-overs reach onHandOver through this object, on the window's thread.
    QObject m_window;
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<HandOverServer> m_server;
};
