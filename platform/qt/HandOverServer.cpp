#include "platform/qt/HandOverServer.h"
#include "platform/qt/HandOverProtocol.h"

#include <QLocalServer>
#include <QLocalSocket>

HandOverServer::HandOverServer(QString serverName)
    : m_serverName(std::move(serverName))
{
}

bool HandOverServer::start()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the holder of the lock gets here, so a socket already in the way was left
    // by a copy that died.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        stop();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &HandOverServer::acceptPending);
    return true;
}

void HandOverServer::stop()
{
    delete m_server;
    m_server = nullptr;
}

void HandOverServer::acceptPending()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
    }
}

void HandOverServer::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        // Anything longer than the one request is not a start of ours.
        if (socket->bytesAvailable() >= HandOver::LongestRequest)
            socket->abort();
        return;
    }
    const std::optional<SingleInstance::Command> command
        = HandOver::command(socket->readLine(HandOver::LongestRequest + 1));
    socket->write(command ? HandOver::Taken : HandOver::Refused);
    socket->disconnectFromServer();
    if (command)
        Q_EMIT handedOver(*command);
}
