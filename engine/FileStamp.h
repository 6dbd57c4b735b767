#pragma once

#include <QDateTime>
#include <QString>

// What a file looked like on disk at one moment: enough to notice that another
// program wrote it since, without keeping or rereading its content.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;

    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};
