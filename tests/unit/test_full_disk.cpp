// Every file the program writes, with the disk filling up at every possible byte:
// the write either succeeds whole or fails and leaves the previous file as it was,
// with no half-written temporary file left behind.

#include "engine/CollectionFile.h"
#include "engine/WallpaperBitmap.h"
#include "platform/linux/AutostartLogonEntry.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/wallpaper/WallpaperCopy.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QImage smallPicture(QRgb colour)
{
    QImage picture(23, 17, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setPixel(3, 4, qRgb(1, 2, 3));
    return picture;
}

// Runs `write` once with room for every byte count from 0 up to the size of a whole
// file, then without a limit. The write must replace what is at `path` (possibly
// nothing) with `expected`, or fail and leave it.
void sweepFullDisk(const QString& path, const std::function<bool()>& write, const QByteArray& expected)
{
    const QByteArray previous = contents(path);
    const QStringList filesBefore = filesIn(QFileInfo(path).path());
    ASSERT_NE(previous, expected) << "the sweep needs a write that changes the file";
    int failures = 0;
    for (qsizetype room = 0; room < expected.size(); room += room < 64 ? 1 : 7) {
        SCOPED_TRACE("room for " + std::to_string(room) + " of " + std::to_string(expected.size()) + " bytes");
        bool written = false;
        {
            const FileSizeLimit full{rlim_t(room)};
            written = write();
        }
        EXPECT_FALSE(written) << "a file that does not fit cannot have been written";
        EXPECT_TRUE(contents(path) == previous)
            << "the previous file was replaced by " << contents(path).size() << " bytes";
        EXPECT_EQ(filesIn(QFileInfo(path).path()), filesBefore) << "a temporary file was left behind";
        if (written || contents(path) != previous)
            ++failures;
        if (failures > 3)
            return;
    }
    EXPECT_TRUE(write()) << "with room the write succeeds";
    EXPECT_TRUE(contents(path) == expected);
}

} // namespace

TEST(FullDisk, TheWallpaperBitmapIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tapetor.bmp"));
    ASSERT_TRUE(writeWallpaperBitmap(smallPicture(qRgb(200, 0, 0)), path));
    const QImage next = smallPicture(qRgb(0, 0, 200));
    QTemporaryDir reference;
    const QString expectedPath = reference.filePath(QStringLiteral("tapetor.bmp"));
    ASSERT_TRUE(writeWallpaperBitmap(next, expectedPath));
    sweepFullDisk(
        path, [&] { return writeWallpaperBitmap(next, path); }, contents(expectedPath));
}

TEST(FullDisk, TheDesktopsPngCopyIsWrittenWholeOrNotAtAll)
{
    // Each change writes a copy under a new name beside the one the desktop shows.
    QTemporaryDir dir;
    ASSERT_FALSE(writeWallpaperCopy(smallPicture(qRgb(90, 0, 0)), dir.path(), 1).isEmpty());
    const QImage next = smallPicture(qRgb(0, 90, 0));
    QTemporaryDir reference;
    const QString expectedPath = writeWallpaperCopy(next, reference.path(), 2);
    ASSERT_FALSE(expectedPath.isEmpty());
    sweepFullDisk(
        dir.filePath(QFileInfo(expectedPath).fileName()),
        [&] { return !writeWallpaperCopy(next, dir.path(), 2).isEmpty(); }, contents(expectedPath));
}

TEST(FullDisk, ACollectionIsSavedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kolekce.tkl"));
    ASSERT_TRUE(writeCollectionFile(path, {entryFromPath(QStringLiteral("/old.png"))}));
    const CollectionEntries entries{entryFromPath(QStringLiteral("/obrázky/a.png")),
                                    entryFromPath(QStringLiteral("/obrázky/b.jpg")),
                                    entryFromPath(QStringLiteral("/obrázky/c.gif"))};
    sweepFullDisk(
        path, [&] { return writeCollectionFile(path, entries); }, encodeCollection(entries));
}

TEST(FullDisk, TheSettingsFileIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString app = QStringLiteral("tapetor");
    QByteArray expected;
    {
        QTemporaryDir reference;
        IniSettingsStore store(reference.path());
        ASSERT_TRUE(store.write(app, QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("0")));
        ASSERT_TRUE(store.write(app, QStringLiteral("options"), QStringLiteral("interval"), QStringLiteral("15")));
        expected = contents(store.filePath(app));
    }
    IniSettingsStore store(dir.path());
    ASSERT_TRUE(store.write(app, QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("0")));
    ASSERT_TRUE(store.write(app, QStringLiteral("options"), QStringLiteral("interval"), QStringLiteral("60")));
    sweepFullDisk(
        store.filePath(app),
        [&] { return store.write(app, QStringLiteral("options"), QStringLiteral("interval"), QStringLiteral("15")); },
        expected);
    // The store still reads what it holds.
    EXPECT_EQ(store.read(app, QStringLiteral("options"), QStringLiteral("interval"), {}), QStringLiteral("15"));
}

TEST(FullDisk, TheAutostartEntryIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    AutostartLogonEntry entry(dir.path());
    const QString program = QStringLiteral("/opt/moje programy/tapetor");
    ASSERT_TRUE(entry.write(program, QString()));
    QByteArray expected;
    {
        QTemporaryDir reference;
        AutostartLogonEntry other(reference.path());
        ASSERT_TRUE(other.write(program, QStringLiteral("/startos")));
        expected = contents(other.filePath());
    }
    sweepFullDisk(
        entry.filePath(), [&] { return entry.write(program, QStringLiteral("/startos")); }, expected);
}
