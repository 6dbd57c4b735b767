#include "engine/EntryFile.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

EntryFile::EntryFile(const QByteArray& bytes)
{
    // The system would read the name only up to a NUL byte: another file, if any.
    if (bytes.contains('\0'))
        return;
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes) {
        m_path = name;
        return;
    }
#ifdef Q_OS_LINUX
    // Qt opens files only by a QString name, and no QString encodes to these bytes.
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer.
    m_fd = ::open(bytes.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0)
        return;
    struct stat info { };
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return;
    m_path = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
#else
    // The bytes came from the ANSI code page; read back through it they name the file
    // as the system's own ANSI calls would.
    m_path = name;
#endif
}

EntryFile::~EntryFile()
{
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}
