#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// Entries of a collection file: 8-bit text in the locale's encoding, one entry per
// line. A line ends at CR, CR LF or a lone LF (files edited on Linux); empty lines are
// skipped; entries are kept verbatim.
QStringList parseCollection(const QByteArray& bytes);
// Every entry followed by CR LF, no byte-order mark.
QByteArray encodeCollection(const QStringList& entries);

// A path that is not an ordinary visible file counts as missing.
bool collectionFileExists(const QString& path);

// Reads the whole file; `processEvents` is called regularly so long files do not
// freeze the window. False when the file could not be opened or read.
bool readCollectionFile(const QString& path, QStringList& entries, const std::function<void()>& processEvents);

// Writes through a temporary file that replaces the old one only when complete,
// so a failed save (full disk, no permission) leaves the previous collection whole.
// Only in a folder that takes no new file is a writable collection rewritten in place.
bool writeCollectionFile(const QString& path, const QStringList& entries, const std::function<void()>& processEvents);
