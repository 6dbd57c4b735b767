#pragma once

#include <QFile>
#include <QString>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// Removes the file at path and answers whether nothing is left there. A file that was
// never there counts as removed. One in a folder the user may not search does not:
// not being able to look for it proves nothing about it.
inline bool removeFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    ::unlink(name.constData());
    struct stat status { };
    return ::lstat(name.constData(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
}
