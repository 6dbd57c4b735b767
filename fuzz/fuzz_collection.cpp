// The collection file reader: any bytes give entries, never a crash, and the
// entries are exactly the non-empty lines between CR and LF characters.

#include "FuzzCheck.h"
#include "engine/CollectionFile.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

// An independent reading of the format: a run of CR and LF characters separates two
// entries (the empty lines inside it are skipped); a byte-order mark at the start of
// the file is dropped, anywhere else it is a character of its entry.
QStringList referenceEntries(const QByteArray& bytes)
{
    QStringList entries;
    QByteArray line;
    const auto endLine = [&] {
        if (!line.isEmpty()) {
            QStringDecoder decode(QStringConverter::System, QStringConverter::Flag::Stateless
                                                                | QStringConverter::Flag::ConvertInitialBom);
            entries << QString(decode(line));
        }
        line.clear();
    };
    const QByteArray body = bytes.startsWith(ByteOrderMark) ? bytes.mid(3) : bytes;
    for (const char c : body) {
        if (c == '\r' || c == '\n')
            endLine();
        else
            line += c;
    }
    endLine();
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entries = parseCollection(bytes);

    FUZZ_CHECK(entries == referenceEntries(bytes), QStringLiteral("%1 entries").arg(entries.size()));
    for (const QString& entry : entries) {
        FUZZ_CHECK(!entry.isEmpty(), QString());
        FUZZ_CHECK(!entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n')), visible(entry));
    }
    // Saving what was read and reading it again gives the same collection; only a
    // first entry that starts with U+FEFF cannot be told from a byte-order mark.
    const QByteArray saved = encodeCollection(entries);
    if (!saved.startsWith(ByteOrderMark))
        FUZZ_CHECK(parseCollection(saved) == entries, QStringLiteral("round trip of %1 entries").arg(entries.size()));
    FUZZ_CHECK(entries.isEmpty() || saved.endsWith("\r\n"), QString());
    return 0;
}
