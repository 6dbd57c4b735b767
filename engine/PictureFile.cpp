#include "engine/PictureFile.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The error picture built into the program, and any other resource: no FIFO can be one.
bool openPlainFile(const QString& path, QFile& file)
{
    if (!QFileInfo(path).isFile())
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace

bool openPictureFile(const QString& path, QFile& file)
{
    if (path.startsWith(QLatin1Char(':')))
        return openPlainFile(path, file);
#if defined(Q_OS_UNIX)
    // Checking the name first would leave a moment in which the file could be swapped
    // for a FIFO. Opened without blocking, a FIFO returns at once, and the type is
    // checked on what was actually opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    // Windows knows no FIFOs in the file system; devices and pipes are no files here.
    return openPlainFile(path, file);
#endif
}
