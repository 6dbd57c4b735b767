#include "platform/qt/FileShownPictureStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QString CollectionKey = QStringLiteral("collection");
const QString EntryKey = QStringLiteral("entry");
// An entry's name need not be valid text; percent-encoding keeps every byte while the
// usual path stays readable.
const QByteArray KeptAsTheyAre = QByteArrayLiteral("/\\:. ");
// Far above any real path; a larger file is not ours.
constexpr qint64 LargestFile = qint64{256} * 1024;
} // namespace

FileShownPictureStore::FileShownPictureStore(QString folder)
    : m_folder(std::move(folder))
{
}

QString FileShownPictureStore::filePath() const
{
    return m_folder + QLatin1String("/last-shown.json");
}

std::optional<ShownPictureStore::Shown> FileShownPictureStore::read() const
{
    QFile file(filePath());
    if (m_folder.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > LargestFile)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QString collection = object.value(CollectionKey).toString();
    const QString entry = object.value(EntryKey).toString();
    if (collection.isEmpty() || entry.isEmpty())
        return std::nullopt;
    return Shown{collection, QByteArray::fromPercentEncoding(entry.toLatin1())};
}

void FileShownPictureStore::write(const Shown& shown)
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return;
    QJsonObject object;
    object.insert(CollectionKey, shown.collection);
    object.insert(EntryKey, QString::fromLatin1(shown.entry.toPercentEncoding(KeptAsTheyAre)));
    QSaveFile file(filePath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(object).toJson());
        file.commit();
    }
}

void FileShownPictureStore::remove()
{
    if (m_folder.isEmpty())
        return;
    QFile::remove(filePath());
    // Only when nothing else of the user's lies there.
    QDir().rmdir(m_folder);
}
