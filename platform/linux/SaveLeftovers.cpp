#include "platform/linux/SaveLeftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Qt creates a lock file, takes a file lock on it and writes its process id within a few
// system calls; an empty file this much older than that is not being created any more.
constexpr auto creationMoment = 200ms;

enum class LockState { Absent, Owned, Stale, BeingCreated };

// The owner's process id from the lock's contents ("pid\napp\nhost\n"), when the
// contents name one on this machine.
std::optional<pid_t> ownerOnThisMachine(const QByteArray& contents, bool* namesOwner)
{
    const QList<QByteArray> lines = contents.split('\n');
    bool isNumber = false;
    const qlonglong pid = lines.value(0).toLongLong(&isNumber);
    *namesOwner = isNumber && pid > 0 && lines.size() >= 3;
    if (!*namesOwner)
        return std::nullopt;
    const QByteArray host = lines.value(2);
    if (!host.isEmpty() && host != QSysInfo::machineHostName().toUtf8())
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

bool processAlive(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

LockState lockState(int fd)
{
    // A living holder keeps an exclusive file lock on the file for as long as it holds it.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        return LockState::Owned;
    QByteArray contents(4096, '\0');
    const ssize_t got = ::pread(fd, contents.data(), contents.size(), 0);
    contents.truncate(got > 0 ? got : 0);
    bool namesOwner = false;
    if (const auto pid = ownerOnThisMachine(contents, &namesOwner))
        return processAlive(*pid) ? LockState::Owned : LockState::Stale;
    if (namesOwner)
        return LockState::Owned; // another machine's; its process cannot be asked
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return LockState::Owned;
    const auto modified = std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto age = now > modified ? now - modified : modified - now;
    return age > creationMoment ? LockState::Stale : LockState::BeingCreated;
}

LockState lockState(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? LockState::Absent : LockState::Owned;
    const LockState state = lockState(fd);
    ::close(fd);
    return state;
}

} // namespace

bool removeStaleLock(const QString& lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    LockState state = lockState(path);
    if (state == LockState::BeingCreated) {
        QThread::msleep(static_cast<unsigned long>(creationMoment.count()));
        state = lockState(path);
    }
    return state == LockState::Stale && ::unlink(path.constData()) == 0;
}

void clearLeftoversOfKilledSaves(const QString& savedFile)
{
    const QString lockPath = savedFile + QLatin1String(".lock");
    removeStaleLock(lockPath);
    // Every save holds the lock while its temporary copy exists, so with the lock in hand
    // every copy left is one a killed save left.
    QLockFile lock(lockPath);
    if (!lock.tryLock(0))
        return;
    const QFileInfo saved(savedFile);
    const QRegularExpression copyName(QLatin1Char('^') + QRegularExpression::escape(saved.fileName())
                                      + QLatin1String("\\.[A-Za-z0-9]{6}$"));
    QDir folder = saved.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (copyName.match(name).hasMatch())
            folder.remove(name);
}
