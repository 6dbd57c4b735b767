#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// One entry of a collection. A file name is bytes, and they need not be text in the
// locale's encoding (an old Latin-2 name on a UTF-8 system), so the entry keeps the
// bytes of its line exactly: they open its picture and are written back on saving.
// The text is those bytes decoded, with replacement characters where they are no text;
// the list shows and sorts by it.
struct CollectionEntry {
    QByteArray bytes;
    QString text;
    bool operator==(const CollectionEntry&) const = default;
};
using CollectionEntries = QList<CollectionEntry>;

// The entry for the bytes of a line of a collection file.
CollectionEntry entryFromBytes(const QByteArray& bytes);
// The entry for a path the program was given as text (the file dialog's).
CollectionEntry entryFromPath(const QString& path);
// Whether a collection file can hold the entry: a name with a line end in it would
// read back as two entries.
bool fitsOnALine(const CollectionEntry& entry);

// No collection holds more entries: counts and indexes are 16-bit numbers in the world
// collection files come from.
inline constexpr qsizetype kMaxCollectionEntries = 32767;
// A longer line names no file: no path on Linux reaches 4096 bytes.
inline constexpr qsizetype kMaxEntryBytes = 4096;

// What reading a collection gave.
struct CollectionReading {
    CollectionEntries entries;
    // Lines longer than any path were left out.
    bool longLinesSkipped = false;
    // The file held what no collection file holds; what followed was not read.
    bool notACollection = false;
    // The entries outgrew any real collection; what followed was not read.
    bool tooLarge = false;
};

// Reads a collection file as it arrives, keeping only the lines that can be entries, so
// that no file, however large or strange, costs more memory than a full collection.
// A line ends at CR, CR LF or a lone LF (files edited on Linux); empty lines are skipped;
// entries are kept verbatim; a byte-order mark at the start of the file is no part of
// the first entry. Reading stops after `maxEntries` entries, and at the first sign that
// the file is no collection at all (see the .cpp).
class CollectionParser {
public:
    explicit CollectionParser(qsizetype maxEntries = kMaxCollectionEntries);
    // The next bytes of the file; false when nothing more is wanted.
    bool feed(QByteArrayView bytes);
    // The end of the file: a last line without a line end is still an entry.
    CollectionReading finish();

private:
    enum class Stop { Full, NotACollection, TooLarge };
    bool endLine();
    bool stop(Stop why);

    CollectionReading m_reading;
    qsizetype m_maxEntries;
    qsizetype m_keptBytes = 0;
    QByteArray m_line;
    qsizetype m_lineLength = 0;
    bool m_firstLine = true;
    bool m_afterCr = false;
    bool m_stopped = false;
};

// The whole of `bytes` through a CollectionParser.
CollectionReading parseCollection(QByteArrayView bytes, qsizetype maxEntries = kMaxCollectionEntries);
// Every entry's bytes followed by CR LF, no byte-order mark.
QByteArray encodeCollection(const CollectionEntries& entries);

// A path that is not an ordinary visible file counts as missing.
bool collectionFileExists(const QString& path);

// Reads the file piece by piece. False when the file could not be opened or read.
bool readCollectionFile(const QString& path, qsizetype maxEntries, CollectionReading& reading);

// Writes through a temporary file that replaces the old one only when complete,
// so a failed save (full disk, no permission) leaves the previous collection whole.
// Only in a folder that takes no new file is a writable collection rewritten in place.
bool writeCollectionFile(const QString& path, const CollectionEntries& entries);
