#include "platform/linux/wallpaper/WallpaperCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRegularExpression>

namespace {

const QString kPrefix = QStringLiteral("tapetor-");
const QString kSuffix = QStringLiteral(".png");

// Qt maps quality 90..100 to zlib level 0: stored, not compressed. The copy is read
// once by the desktop and replaced on the next change, so the time of the change
// matters more than the disk space; a 4K copy takes about as much as the bitmap.
constexpr int kPngQuality = 100;

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
    QImageWriter writer(path, "png");
    writer.setQuality(kPngQuality);
    if (!writer.write(picture)) {
        QFile::remove(path);
        return {};
    }
    return path;
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
