#include "platform/qt/FileShownPictureStore.h"

#include "platform/WallpaperSetter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QString CollectionKey = QStringLiteral("collection");
const QString EntryKey = QStringLiteral("entry");
const QString StyleKey = QStringLiteral("style");
const QString PicturesKey = QStringLiteral("pictures");
const QString CurrentKey = QStringLiteral("current");
// An entry's name need not be valid text; percent-encoding keeps every byte while the
// usual path stays readable.
const QByteArray KeptAsTheyAre = QByteArrayLiteral("/\\:. ");
// Far above any real path, and a hundred of them; a larger file is not ours.
constexpr qint64 LargestFile = qint64{256} * 1024;
constexpr qint64 LargestHistory = qint64{4} * 1024 * 1024;

QString encodeEntry(const QByteArray& entry)
{
    return QString::fromLatin1(entry.toPercentEncoding(KeptAsTheyAre));
}

QByteArray decodeEntry(const QString& text)
{
    return QByteArray::fromPercentEncoding(text.toLatin1());
}

std::optional<QJsonObject> readObject(const QString& path, qint64 largest)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largest)
        return std::nullopt;
    return QJsonDocument::fromJson(file.readAll()).object();
}

void writeObject(const QString& folder, const QString& path, const QJsonObject& object)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(object).toJson());
        file.commit();
    }
}

} // namespace

FileShownPictureStore::FileShownPictureStore(QString folder)
    : m_folder(std::move(folder))
{
}

QString FileShownPictureStore::filePath() const
{
    return m_folder + QLatin1String("/last-shown.json");
}

QString FileShownPictureStore::historyPath() const
{
    return m_folder + QLatin1String("/history.json");
}

std::optional<ShownPictureStore::Shown> FileShownPictureStore::read() const
{
    const std::optional<QJsonObject> object = m_folder.isEmpty() ? std::nullopt : readObject(filePath(), LargestFile);
    if (!object)
        return std::nullopt;
    const QString collection = object->value(CollectionKey).toString();
    const QString entry = object->value(EntryKey).toString();
    if (collection.isEmpty() || entry.isEmpty())
        return std::nullopt;
    return Shown{collection, decodeEntry(entry)};
}

void FileShownPictureStore::write(const Shown& shown)
{
    QJsonObject object;
    object.insert(CollectionKey, shown.collection);
    object.insert(EntryKey, encodeEntry(shown.entry));
    writeObject(m_folder, filePath(), object);
}

ShownPictureStore::History FileShownPictureStore::readHistory() const
{
    const std::optional<QJsonObject> object
        = m_folder.isEmpty() ? std::nullopt : readObject(historyPath(), LargestHistory);
    if (!object)
        return {};
    History history;
    const QJsonArray pictures = object->value(PicturesKey).toArray();
    for (const QJsonValue value : pictures) {
        const QJsonObject picture = value.toObject();
        const QString entry = picture.value(EntryKey).toString();
        const int style = picture.value(StyleKey).toInt(-1);
        // A damaged record is no picture to go back to.
        if (entry.isEmpty() || style < StyleCenter || style > StyleTile)
            return {};
        history.pictures.append({picture.value(CollectionKey).toString(), decodeEntry(entry), style});
    }
    const int current = object->value(CurrentKey).toInt(-1);
    history.current = current >= 0 && current < history.pictures.size() ? current : int(history.pictures.size()) - 1;
    return history;
}

void FileShownPictureStore::writeHistory(const History& history)
{
    QJsonArray pictures;
    for (const History::Picture& picture : history.pictures) {
        pictures.append(QJsonObject{{CollectionKey, picture.collection},
                                    {EntryKey, encodeEntry(picture.entry)},
                                    {StyleKey, picture.style}});
    }
    writeObject(m_folder, historyPath(), QJsonObject{{PicturesKey, pictures}, {CurrentKey, history.current}});
}

void FileShownPictureStore::remove()
{
    if (m_folder.isEmpty())
        return;
    QFile::remove(filePath());
    QFile::remove(historyPath());
    // Only when nothing else of the user's lies there.
    QDir().rmdir(m_folder);
}
