#include "engine/CollectionFile.h"

#include "engine/CheckedSave.h"
#include "engine/EventPacer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>


QStringList parseCollection(const QByteArray& bytes)
{
    QStringList entries;
    // A file saved by a Windows editor may begin with a UTF-8 byte-order mark, which is
    // no part of the first entry. Everywhere else U+FEFF belongs to its entry, so the
    // lines are decoded without the decoder's own habit of dropping it at their start.
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QStringDecoder decode(QStringConverter::System,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const qsizetype size = bytes.size();
    const char* data = bytes.constData();
    for (qsizetype i = 0; i <= size; ++i) {
        const bool end = i == size;
        if (!end && data[i] != '\r' && data[i] != '\n')
            continue;
        if (i > start)
            entries << decode(QByteArrayView(data + start, i - start));
        if (!end && data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

QByteArray encodeCollection(const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& entry : entries) {
        bytes += entry.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

bool collectionFileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

bool readCollectionFile(const QString& path, QStringList& entries, const std::function<void()>& processEvents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    EventPacer pacer(processEvents);
    QByteArray bytes;
    constexpr qint64 chunk = 1 << 20;
    while (!file.atEnd()) {
        const QByteArray part = file.read(chunk);
        if (part.isEmpty() && file.error() != QFileDevice::NoError)
            return false;
        bytes += part;
        pacer.tick();
    }
    entries = parseCollection(bytes);
    return true;
}

bool writeCollectionFile(const QString& path, const QStringList& entries, const std::function<void()>& processEvents)
{
    QSaveFile file(path);
    // A collection the user may change in a folder they may not write to (a shared
    // one) cannot take the temporary file beside it; there it is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    EventPacer pacer(processEvents);
    qint64 written = 0;
    for (const QString& entry : entries) {
        QByteArray line = entry.toLocal8Bit();
        line += "\r\n";
        if (file.write(line) != line.size()) {
            file.cancelWriting();
            file.commit();
            return false;
        }
        written += line.size();
        pacer.tick();
    }
    return commitWhole(file, written);
}
