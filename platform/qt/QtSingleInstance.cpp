#include "platform/qt/QtSingleInstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {
const QByteArray Request = QByteArrayLiteral("show\n");
const QByteArray Taken = QByteArrayLiteral("ok\n");
const QByteArray Refused = QByteArrayLiteral("busy\n");
// How long a start waits for the copy holding the place to answer or to let go of it.
constexpr int WaitForRunningCopyMs = 5000;
constexpr int AnswerMs = 1000;
} // namespace

QtSingleInstance::QtSingleInstance(QString serverName, QString lockPath)
    : m_serverName(std::move(serverName))
    , m_lockPath(std::move(lockPath))
{
}

// The server goes first: closing it removes the socket before the place comes free.
QtSingleInstance::~QtSingleInstance()
{
    m_server.reset();
    m_lock.reset();
}

SingleInstance::Claim QtSingleInstance::claim()
{
    if (m_server)
        return Claim::First;
    if (m_lockPath.isEmpty() || m_serverName.isEmpty())
        return Claim::Unavailable;
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // The lock is held for as long as the copy runs, so its age tells nothing. A copy
    // that died leaves a lock whose process is gone, and QLockFile takes that over.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(WaitForRunningCopyMs);
    int waitMs = 0;
    while (!m_lock->tryLock(waitMs)) {
        if (m_lock->error() != QLockFile::LockFailedError) {
            m_lock.reset();
            return Claim::Unavailable;
        }
        if (askRunningCopy())
            return Claim::HandedOver;
        if (deadline.hasExpired())
            return Claim::NoAnswer;
        // The holder may be starting and not listen yet, or be ending and about to
        // let go; waiting on the lock catches the second case at once.
        waitMs = 100;
    }
    if (listen())
        return Claim::First;
    m_lock.reset();
    return Claim::Unavailable;
}

bool QtSingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the holder of the lock gets here, so a socket already in the way was left
    // by a copy that died.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        m_server.reset();
        return false;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] { acceptPending(); });
    return true;
}

bool QtSingleInstance::askRunningCopy() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(AnswerMs))
        return false;
    socket.write(Request);
    if (!socket.waitForBytesWritten(AnswerMs))
        return false;
    const QDeadlineTimer deadline(AnswerMs);
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() < Refused.size()) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        reply += socket.read(Refused.size() - reply.size());
    }
    return reply == Taken;
}

void QtSingleInstance::acceptPending()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { answer(socket); });
    }
}

void QtSingleInstance::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        // Anything longer than the one request is not a start of ours.
        if (socket->bytesAvailable() >= Request.size())
            socket->abort();
        return;
    }
    const bool taken = socket->readLine(Request.size() + 1) == Request && onHandOver && onHandOver();
    socket->write(taken ? Taken : Refused);
    socket->disconnectFromServer();
}
