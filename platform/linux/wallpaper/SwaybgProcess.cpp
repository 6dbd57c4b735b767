#include "platform/linux/wallpaper/SwaybgProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <utility>

namespace {

const QString kProgram = QStringLiteral("swaybg");

// The state letter of /proc/PID/stat; 0 once the process is gone.
char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return '\0';
    const QByteArray line = stat.readAll();
    // The command name in brackets may itself hold blanks and brackets.
    const qsizetype end = line.lastIndexOf(')');
    return end >= 0 && end + 2 < line.size() ? line.at(end + 2) : '\0';
}

bool hasEnded(char state)
{
    return state == '\0' || state == 'Z' || state == 'X';
}

bool isOurSwaybg(qint64 pid, const QString& copyFolder)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> arguments = file.readAll().split('\0');
    if (arguments.isEmpty() || QFileInfo(QFile::decodeName(arguments.first())).fileName() != kProgram)
        return false;
    const QString ours = QDir(copyFolder).absolutePath() + QLatin1Char('/');
    for (const QByteArray& argument : arguments) {
        if (QFile::decodeName(argument).startsWith(ours))
            return true;
    }
    return false;
}

// Tells when a reader has closed a file it opened for reading. QFileSystemWatcher reports
// changes only, never a reader.
class CloseWatch {
public:
    explicit CloseWatch(const QString& path)
        : m_fd(inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
    {
        if (m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_CLOSE_NOWRITE) < 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~CloseWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CloseWatch(const CloseWatch&) = delete;
    CloseWatch& operator=(const CloseWatch&) = delete;

    // Waits up to timeoutMs for a reader's close. Without inotify (the user's watch
    // limit) every wait reports one: the state of the process alone then decides.
    bool closedWithin(int timeoutMs)
    {
        if (m_fd < 0)
            return true;
        pollfd entry{m_fd, POLLIN, 0};
        if (::poll(&entry, 1, timeoutMs) <= 0)
            return false;
        alignas(inotify_event) char events[4096];
        return ::read(m_fd, events, sizeof events) > 0;
    }

private:
    int m_fd;
};

} // namespace

SwaybgProcess::SwaybgProcess(QString pidFile, QString copyFolder, int timeoutMs)
    : m_pidFile(std::move(pidFile))
    , m_copyFolder(std::move(copyFolder))
    , m_timeoutMs(timeoutMs)
{
}

bool SwaybgProcess::replace(const QString& picturePath, const QStringList& arguments)
{
    // Watched before the start: the picture may be read before we look.
    CloseWatch watch(picturePath);

    QProcess process;
    process.setProgram(kProgram);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Detached: in a session of its own, not our child, so it lives on after we end.
    qint64 pid = 0;
    if (!process.startDetached(&pid) || pid <= 0)
        return false;

    // swaybg has no signal for "drawn". It reads the picture only once the compositor
    // has configured its surface, draws and commits right after, and then sleeps until
    // the compositor speaks again. So it has drawn once it has closed the picture and
    // sleeps. A swaybg still busy at the time bound (a huge picture, no output yet) is
    // kept: it draws when it can, and the previous one has nothing better to show.
    const QDeadlineTimer deadline(m_timeoutMs);
    bool pictureRead = false;
    while (!deadline.hasExpired()) {
        const char state = processState(pid);
        if (hasEnded(state))
            return false;
        if (pictureRead && state == 'S')
            break;
        if (!pictureRead)
            pictureRead = watch.closedWithin(10);
        else
            ::usleep(5000);
    }

    const qint64 previous = runningSwaybg(m_pidFile, m_copyFolder);
    QSaveFile file(m_pidFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(pid) + '\n');
        file.commit();
    }
    if (previous > 0 && previous != pid)
        ::kill(static_cast<pid_t>(previous), SIGTERM);
    return true;
}

QString swaybgPidFile(const QString& runtimeFolder, const QString& waylandDisplay)
{
    QString display = waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : waylandDisplay;
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(runtimeFolder).filePath(QStringLiteral("tapetor-swaybg-%1.pid").arg(display));
}

qint64 runningSwaybg(const QString& pidFile, const QString& copyFolder)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool number = false;
    const qint64 pid = file.readAll().trimmed().toLongLong(&number);
    if (!number || pid <= 0 || hasEnded(processState(pid)) || !isOurSwaybg(pid, copyFolder))
        return 0;
    return pid;
}
