#include "platform/linux/wallpaper/WallpaperCopy.h"

#include "platform/linux/wallpaper/UncompressedPng.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

namespace {

const QString kPrefix = QStringLiteral("tapetor-");
const QString kSuffix = QStringLiteral(".png");

} // namespace

QString wallpaperCopyName(qint64 stamp)
{
    return kPrefix + QString::number(stamp) + kSuffix;
}

bool isWallpaperCopyName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^tapetor-\\d+\\.png$"));
    return pattern.match(fileName).hasMatch();
}

QString writeWallpaperCopy(const QImage& picture, const QString& folder, qint64 stamp)
{
    if (picture.isNull() || !QDir().mkpath(folder))
        return {};
    const QDir dir(folder);
    while (dir.exists(wallpaperCopyName(stamp)))
        ++stamp;
    const QString path = dir.filePath(wallpaperCopyName(stamp));
    // Uncompressed: the desktop reads the copy once and it is replaced on the next
    // change, so the time of the change matters more than the disk space (a 4K copy
    // takes as much as the bitmap). PNG because every desktop reads it.
    return writeUncompressedPng(picture, path) ? path : QString();
}

void removeWallpaperCopies(const QString& folder, const QString& keepPath)
{
    QDir dir(folder);
    const QString keepName = keepPath.isEmpty() ? QString() : QFileInfo(keepPath).fileName();
    const QStringList names = dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files);
    for (const QString& name : names) {
        if (name != keepName && isWallpaperCopyName(name))
            dir.remove(name);
    }
}
