// The collection file reader: any bytes give entries, never a crash; the entries are
// exactly the non-empty lines between CR and LF characters up to the first NUL byte,
// leaving out lines longer than a path; a file fed in pieces reads as the whole does.

#include "FuzzCheck.h"
#include "engine/CollectionFile.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

// An independent reading of the format: a run of CR and LF characters separates two
// entries (the empty lines inside it are skipped); a byte-order mark at the start of
// the file is dropped, anywhere else it is a byte of its entry. A NUL byte ends the
// reading and takes its unfinished line with it. The inputs stay far below the limits
// on line runs, entry counts and kept bytes, which the unit tests cover.
QList<QByteArray> referenceLines(const QByteArray& bytes, bool& longLines)
{
    QList<QByteArray> lines;
    QByteArray line;
    longLines = false;
    const auto endLine = [&] {
        if (line.size() > kMaxEntryBytes)
            longLines = true;
        else if (!line.isEmpty())
            lines << line;
        line.clear();
    };
    const QByteArray body = bytes.startsWith(ByteOrderMark) ? bytes.mid(3) : bytes;
    for (const char c : body) {
        if (c == '\0')
            return lines;
        if (c == '\r' || c == '\n')
            endLine();
        else
            line += c;
    }
    endLine();
    return lines;
}

QList<QByteArray> bytesOf(const CollectionEntries& entries)
{
    QList<QByteArray> lines;
    for (const CollectionEntry& entry : entries)
        lines << entry.bytes;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const CollectionReading reading = parseCollection(bytes);

    bool longLines = false;
    const QList<QByteArray> lines = referenceLines(bytes, longLines);
    FUZZ_CHECK(bytesOf(reading.entries) == lines, QStringLiteral("%1 entries").arg(reading.entries.size()));
    FUZZ_CHECK(reading.longLinesSkipped == longLines, QString());
    FUZZ_CHECK(reading.notACollection == bytes.contains('\0'), QString());
    for (const CollectionEntry& entry : reading.entries)
        FUZZ_CHECK(entry == entryFromBytes(entry.bytes), visible(entry.text));

    // Read in pieces of a size the input chooses, as a file arrives, it is the same.
    const qsizetype piece = size > 0 ? qsizetype(data[0] % 7) + 1 : 1;
    CollectionParser parser;
    for (qsizetype at = 0;
         at < bytes.size() && parser.feed(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
         at += piece) { }
    const CollectionReading pieces = parser.finish();
    FUZZ_CHECK(pieces.entries == reading.entries, QStringLiteral("in pieces of %1").arg(piece));
    FUZZ_CHECK(pieces.longLinesSkipped == reading.longLinesSkipped && pieces.notACollection == reading.notACollection,
               QString());

    // Saving what was read and reading it again gives the same bytes; only a first
    // entry that starts with the bytes of a byte-order mark cannot be told from one.
    const QByteArray saved = encodeCollection(reading.entries);
    if (!saved.startsWith(ByteOrderMark))
        FUZZ_CHECK(parseCollection(saved).entries == reading.entries,
                   QStringLiteral("round trip of %1 entries").arg(reading.entries.size()));
    FUZZ_CHECK(reading.entries.isEmpty() || saved.endsWith("\r\n"), QString());
    return 0;
}
