#include "engine/CollectionFile.h"

#include "engine/CheckedSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// Signs that a file is no collection, so the rest of it is not read (a picture, an
// archive or a file of random bytes chosen by mistake would otherwise be read to its
// end and kept as thousands of entries):
// - a NUL byte: no path holds one, and no 8-bit text file does;
// - a line running on past 64 KiB, sixteen times the longest path: text without line
//   ends, such as a gigabyte of anything but CR and LF;
// - entries adding up to more than 8 MiB: a full list of 32767 entries would average
//   256 bytes an entry, more than twice a long real path. The list keeps each entry
//   as bytes and as text and sorts by collation keys, about ten bytes of memory for
//   each byte of entry, so this bounds the memory of the fullest list. Such a file
//   may be whole, only too large, and the user is told so.
constexpr qsizetype MaxLineRun = qsizetype(64) * 1024;
constexpr qsizetype MaxKeptBytes = qsizetype(8) * 1024 * 1024;

} // namespace

CollectionEntry entryFromBytes(const QByteArray& bytes)
{
    // U+FEFF inside an entry is a character of it; the decoder would otherwise drop it
    // at the start of a line.
    QStringDecoder decode(QStringConverter::System,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return {bytes, decode(bytes)};
}

CollectionEntry entryFromPath(const QString& path)
{
    return {QFile::encodeName(path), path};
}

bool fitsOnALine(const CollectionEntry& entry)
{
    return !entry.bytes.contains('\n') && !entry.bytes.contains('\r');
}

CollectionParser::CollectionParser(qsizetype maxEntries)
    : m_maxEntries(maxEntries)
{
}

bool CollectionParser::feed(QByteArrayView bytes)
{
    if (m_stopped)
        return false;
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const char c = data[i];
        if (c == '\n' && m_afterCr) {
            m_afterCr = false;
            ++i;
            continue;
        }
        m_afterCr = false;
        if (c == '\0')
            return stop(Stop::NotACollection);
        if (c == '\r' || c == '\n') {
            m_afterCr = c == '\r';
            ++i;
            if (!endLine())
                return false;
            continue;
        }
        qsizetype end = i;
        while (end < size && data[end] != '\r' && data[end] != '\n' && data[end] != '\0')
            ++end;
        // Only as much of a line is kept as an entry can hold (and a byte-order mark);
        // the rest of an over-long line is counted, not stored.
        const qsizetype room = kMaxEntryBytes + ByteOrderMark.size() + 1 - m_line.size();
        if (room > 0)
            m_line.append(data + i, std::min(room, end - i));
        m_lineLength += end - i;
        if (m_lineLength > MaxLineRun)
            return stop(Stop::NotACollection);
        i = end;
    }
    return true;
}

bool CollectionParser::endLine()
{
    qsizetype skip = 0;
    if (m_firstLine && m_line.startsWith(ByteOrderMark))
        skip = ByteOrderMark.size();
    m_firstLine = false;
    const qsizetype length = m_lineLength - skip;
    const QByteArray line = m_line.mid(skip);
    m_line.clear();
    m_lineLength = 0;
    if (length == 0)
        return true;
    if (length > kMaxEntryBytes) {
        m_reading.longLinesSkipped = true;
        return true;
    }
    m_keptBytes += length;
    if (m_keptBytes > MaxKeptBytes)
        return stop(Stop::TooLarge);
    m_reading.entries << entryFromBytes(line);
    if (m_reading.entries.size() >= m_maxEntries)
        return stop(Stop::Full);
    return true;
}

bool CollectionParser::stop(Stop why)
{
    m_stopped = true;
    m_reading.notACollection = m_reading.notACollection || why == Stop::NotACollection;
    m_reading.tooLarge = m_reading.tooLarge || why == Stop::TooLarge;
    m_line.clear();
    m_lineLength = 0;
    return false;
}

CollectionReading CollectionParser::finish()
{
    if (!m_stopped)
        endLine();
    m_stopped = true;
    return std::move(m_reading);
}

CollectionReading parseCollection(QByteArrayView bytes, qsizetype maxEntries)
{
    CollectionParser parser(maxEntries);
    parser.feed(bytes);
    return parser.finish();
}

QByteArray encodeCollection(const CollectionEntries& entries)
{
    QByteArray bytes;
    for (const CollectionEntry& entry : entries) {
        bytes += entry.bytes;
        bytes += "\r\n";
    }
    return bytes;
}

bool collectionFileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

bool readCollectionFile(const QString& path, qsizetype maxEntries, CollectionReading& reading)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    CollectionParser parser(maxEntries);
    QByteArray chunk(qsizetype(64) * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return false;
        if (got == 0 || !parser.feed(QByteArrayView(chunk.constData(), got)))
            break;
    }
    reading = parser.finish();
    return true;
}

bool writeCollectionFile(const QString& path, const CollectionEntries& entries)
{
    QSaveFile file(path);
    // A collection the user may change in a folder they may not write to (a shared
    // one) cannot take the temporary file beside it; there it is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeCollection(entries);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return commitWhole(file, bytes.size());
}
