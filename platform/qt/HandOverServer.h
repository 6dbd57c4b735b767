#pragma once

#include "platform/SingleInstance.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Answers later starts on a thread of its own, so that a start is answered at once even
// while the window's thread is busy; the window hears of each hand-over by the signal.
class HandOverServer final : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(QString serverName);

    // Both run on the server's thread.
    Q_INVOKABLE bool start();
    // Later starts find no one listening and wait for the place to come free.
    Q_INVOKABLE void stop();

Q_SIGNALS:
    void handedOver(SingleInstance::Command command);

private:
    void acceptPending();
    void answer(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
