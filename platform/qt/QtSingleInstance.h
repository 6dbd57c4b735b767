#pragma once

#include "platform/SingleInstance.h"

#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

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

    Claim claim() override;

private:
    bool listen();
    bool askRunningCopy() const;
    void acceptPending();
    void answer(QLocalSocket* socket);

    QString m_serverName;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
