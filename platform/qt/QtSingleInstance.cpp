#include "platform/qt/QtSingleInstance.h"

#include "platform/qt/HandOverServer.h"
#include "platform/qt/HandOverProtocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMutex>
#include <QSet>
#include <QSysInfo>
#include <QThread>

namespace {
// How long a start waits for the copy holding the place to answer or to let go of it.
constexpr int WaitForRunningCopyMs = 5000;
constexpr int AnswerMs = 1000;

// The places this process holds, whatever instance holds them.
class HeldHere {
public:
    void add(const QString& lockPath)
    {
        const QMutexLocker locker(&m_mutex);
        m_paths.insert(lockPath);
    }
    void remove(const QString& lockPath)
    {
        const QMutexLocker locker(&m_mutex);
        m_paths.remove(lockPath);
    }
    bool has(const QString& lockPath) const
    {
        const QMutexLocker locker(&m_mutex);
        return m_paths.contains(lockPath);
    }

private:
    mutable QMutex m_mutex;
    QSet<QString> m_paths;
};

HeldHere& heldHere()
{
    static HeldHere held;
    return held;
}

// Process numbers come round again, and Wine hands out the same ones after each restart
// of its server, so a lock left by a killed copy may name this very process. Unless this
// process holds that place, the lock is a dead one's, yet QLockFile sees a living
// process of the right name and waits for it.
bool leftByADeadNamesake(const QLockFile& lock, const QString& lockPath)
{
    qint64 pid = 0;
    QString host;
    QString app;
    return lock.getLockInfo(&pid, &host, &app) && pid == QCoreApplication::applicationPid()
        && (host.isEmpty() || host == QSysInfo::machineHostName()) && !heldHere().has(lockPath);
}
} // namespace

QtSingleInstance::QtSingleInstance(QString serverName, QString lockPath)
    : m_serverName(std::move(serverName))
    , m_lockPath(std::move(lockPath))
{
}

// The server goes first: closing it removes the socket before the place comes free.
QtSingleInstance::~QtSingleInstance()
{
    leave();
    if (m_lock && m_lock->isLocked())
        heldHere().remove(m_lockPath);
    m_lock.reset();
}

SingleInstance::Claim QtSingleInstance::claim(Command command)
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
        if (leftByADeadNamesake(*m_lock, m_lockPath) && m_lock->removeStaleLockFile())
            continue;
        if (askRunningCopy(command))
            return Claim::HandedOver;
        if (deadline.hasExpired())
            return Claim::NoAnswer;
        // The holder may be starting and not listen yet, or be ending and about to
        // let go; waiting on the lock catches the second case at once.
        waitMs = 100;
    }
    if (listen()) {
        heldHere().add(m_lockPath);
        return Claim::First;
    }
    m_lock.reset();
    return Claim::Unavailable;
}

bool QtSingleInstance::listen()
{
    auto thread = std::make_unique<QThread>();
    thread->setObjectName(QStringLiteral("hand-over"));
    auto server = std::make_unique<HandOverServer>(m_serverName);
    server->moveToThread(thread.get());
    thread->start();
    bool listening = false;
    // By name: the analyzer cannot follow the functor form's slot object to its release.
    QMetaObject::invokeMethod(server.get(), "start", Qt::BlockingQueuedConnection, Q_RETURN_ARG(bool, listening));
    if (!listening) {
        thread->quit();
        thread->wait();
        return false;
    }
    // Queued to the window's thread, which takes the start over when it gets to it.
    QObject::connect(server.get(), &HandOverServer::handedOver, &m_window, [this](Command command) {
        if (onHandOver)
            onHandOver(command);
    });
    m_thread = std::move(thread);
    m_server = std::move(server);
    return true;
}

void QtSingleInstance::leave()
{
    if (!m_server)
        return;
    QMetaObject::invokeMethod(m_server.get(), "stop", Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    m_server.reset();
    m_thread.reset();
}

bool QtSingleInstance::askRunningCopy(Command command) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(AnswerMs))
        return false;
    socket.write(HandOver::request(command));
    if (!socket.waitForBytesWritten(AnswerMs))
        return false;
    const QDeadlineTimer deadline(AnswerMs);
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() < HandOver::Refused.size()) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        reply += socket.read(HandOver::Refused.size() - reply.size());
    }
    return reply == HandOver::Taken;
}
