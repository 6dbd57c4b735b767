#pragma once

#include <QByteArray>
#include <QString>

// A name under which the picture file of an entry can be opened, found by the entry's
// bytes. Most names read as text and back unchanged, and are used as they are. A name
// that is no valid text in the locale's encoding would turn into another name (its
// stray bytes become U+FFFD), so on Linux the file is opened by its bytes and reached
// through /proc/self/fd while this object lives.
class EntryFile {
public:
    explicit EntryFile(const QByteArray& bytes);
    ~EntryFile();
    EntryFile(const EntryFile&) = delete;
    EntryFile& operator=(const EntryFile&) = delete;

    // Empty when the file could not be opened, or is no ordinary file (a FIFO would
    // block whoever reads it).
    const QString& path() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
};
