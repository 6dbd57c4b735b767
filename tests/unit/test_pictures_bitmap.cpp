#include "engine/WallpaperBitmap.h"
#include "platform/qt/ThreadedBitmapWriter.h"
#include "FileSizeLimit.h"
#include "test_pictures_support.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace testpics;

namespace {

struct BmpHeader {
    QByteArray magic;
    quint32 fileSize = 0;
    quint32 pixelOffset = 0;
    qint32 width = 0;
    qint32 height = 0;
    quint16 planes = 0;
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
};

BmpHeader parseHeader(const QByteArray& bytes)
{
    BmpHeader h;
    if (bytes.size() < 54)
        return h;
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    h.magic = bytes.left(2);
    h.fileSize = qFromLittleEndian<quint32>(d + 2);
    h.pixelOffset = qFromLittleEndian<quint32>(d + 10);
    h.width = qFromLittleEndian<qint32>(d + 18);
    h.height = qFromLittleEndian<qint32>(d + 22);
    h.planes = qFromLittleEndian<quint16>(d + 26);
    h.bitsPerPixel = qFromLittleEndian<quint16>(d + 28);
    h.compression = qFromLittleEndian<quint32>(d + 30);
    return h;
}

class BitmapWriting : public testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("tapetor.bmp")) const { return dir.filePath(name); }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(BitmapWriting, AlwaysWritesTwentyFourBitsWhateverThePictureHolds)
{
    const QImage colour = quadrants(37, 23); // odd width: rows need padding
    const struct {
        const char* name;
        QImage picture;
    } cases[] = {
        {"rgb32", colour},
        {"rgb888", colour.convertToFormat(QImage::Format_RGB888)},
        {"grey", colour.convertToFormat(QImage::Format_Grayscale8)},
        {"palette", colour.convertToFormat(QImage::Format_Indexed8)},
        {"two colours", colour.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)},
        {"opaque argb", colour.convertToFormat(QImage::Format_ARGB32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeWallpaperBitmap(c.picture, path()));
        const QByteArray bytes = readAll(path());
        const BmpHeader h = parseHeader(bytes);
        EXPECT_EQ(h.magic, QByteArray("BM"));
        EXPECT_EQ(h.bitsPerPixel, 24);
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.compression, 0u);
        EXPECT_EQ(h.width, 37);
        EXPECT_EQ(h.height, 23); // positive: bottom-up rows, the form every reader takes
        EXPECT_EQ(h.pixelOffset, 54u);
        const quint32 rowBytes = (37 * 3 + 3) / 4 * 4;
        EXPECT_EQ(h.fileSize, 54 + rowBytes * 23);
        EXPECT_EQ(quint32(bytes.size()), h.fileSize);

        const QImage back(path());
        ASSERT_EQ(back.size(), c.picture.size());
        const QImage expected = c.picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < back.height(); ++y) {
            for (int x = 0; x < back.width(); ++x)
                ASSERT_EQ(back.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(BitmapWriting, PadsEveryRowWidthToFourBytes)
{
    // Widths 1 to 4 need 1, 2, 3 and no padding bytes; the odd height leaves no row
    // pair to hide a fault in.
    for (int width = 1; width <= 4; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        const QImage picture = noise(width, 5, quint32(width));
        ASSERT_TRUE(writeWallpaperBitmap(picture, path()));
        const QByteArray bytes = readAll(path());
        const int rowBytes = (width * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + rowBytes * 5);
        EXPECT_EQ(parseHeader(bytes).fileSize, quint32(bytes.size()));
        const QImage back(path());
        ASSERT_EQ(back.size(), picture.size());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    }
}

TEST_F(BitmapWriting, StoresTheBottomRowFirst)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(1, 2, 3));
    picture.setPixel(1, 0, qRgb(4, 5, 6));
    picture.setPixel(0, 1, qRgb(7, 8, 9));
    picture.setPixel(1, 1, qRgb(10, 11, 12));
    ASSERT_TRUE(writeWallpaperBitmap(picture, path()));
    const QByteArray pixels = readAll(path()).mid(54);
    // Bottom row (7,8,9)(10,11,12) as blue, green, red, padded to 8 bytes; then the top.
    EXPECT_EQ(pixels, QByteArray("\x09\x08\x07\x0c\x0b\x0a\0\0\x03\x02\x01\x06\x05\x04\0\0", 16));
}

TEST_F(BitmapWriting, LaysTransparentPartsOverBlack)
{
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(255, 0, 0, 0));
    picture.setPixel(2, 0, qRgba(200, 100, 50, 128));
    picture.setPixel(3, 0, qRgba(0, 0, 255, 255));
    ASSERT_TRUE(writeWallpaperBitmap(picture, path()));
    const QImage back(path());
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_NEAR(qRed(back.pixel(2, 0)), 100, 1);
    EXPECT_NEAR(qGreen(back.pixel(2, 0)), 50, 1);
    EXPECT_NEAR(qBlue(back.pixel(2, 0)), 25, 1);
    EXPECT_EQ(back.pixel(3, 0), qRgb(0, 0, 255));
}

TEST_F(BitmapWriting, ReplacesThePreviousBitmapOnEveryChange)
{
    ASSERT_TRUE(writeWallpaperBitmap(quadrants(40, 30), path()));
    ASSERT_TRUE(writeWallpaperBitmap(noise(20, 10), path()));
    EXPECT_EQ(QImage(path()), noise(20, 10));
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("tapetor.bmp")});
}

TEST_F(BitmapWriting, TheWriterBesideTheWindowWritesInTurnAndTellsHowTheLastWentOnFinishing)
{
    ThreadedBitmapWriter writer;
    writer.write(quadrants(40, 30), path());
    writer.write(noise(20, 10), path());
    EXPECT_TRUE(writer.finish());
    EXPECT_EQ(QImage(path()), noise(20, 10)) << "the later picture is written last";
    writer.write(quadrants(4, 4), dir.filePath(QStringLiteral("gone/tapetor.bmp")));
    EXPECT_FALSE(writer.finish());
}

TEST_F(BitmapWriting, NoPictureWritesNothing)
{
    ASSERT_TRUE(writeWallpaperBitmap(quadrants(40, 30), path()));
    const QByteArray before = readAll(path());
    EXPECT_FALSE(writeWallpaperBitmap(QImage(), path()));
    EXPECT_EQ(readAll(path()), before);
}

TEST_F(BitmapWriting, AFullDiskLeavesThePreviousBitmapWhole)
{
#if !defined(Q_OS_UNIX)
    GTEST_SKIP() << "Windows has no limit on the size of a process's files to fill the disk with";
#else
    ASSERT_TRUE(writeWallpaperBitmap(quadrants(40, 30), path()));
    const QByteArray before = readAll(path());
    {
        // Writes past 64 KiB fail as they would on a full disk.
        const FileSizeLimit limit(64UL * 1024);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(writeWallpaperBitmap(noise(400, 300), path()));
    }
    EXPECT_EQ(readAll(path()), before);
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("tapetor.bmp")});
#endif
}

TEST_F(BitmapWriting, AnUnwritableFolderLeavesThePreviousBitmapWhole)
{
    openToEveryone(dir.path());
    const QString folder = dir.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString bitmap = folder + QStringLiteral("/tapetor.bmp");
    ASSERT_TRUE(writeWallpaperBitmap(quadrants(40, 30), bitmap));
    const QByteArray before = readAll(bitmap);
    {
        const UnwritableFolder readOnly(folder);
        ASSERT_TRUE(readOnly.ok());
        if (!readOnly.refusesNewFiles())
            GTEST_SKIP() << kFolderStaysWritable;
        EXPECT_FALSE(writeWallpaperBitmap(noise(40, 30), bitmap));
    }
    EXPECT_EQ(readAll(bitmap), before);
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("tapetor.bmp")});
}

TEST_F(BitmapWriting, AMissingFolderIsAFailureNotACrash)
{
    EXPECT_FALSE(writeWallpaperBitmap(quadrants(4, 4), dir.filePath(QStringLiteral("gone/tapetor.bmp"))));
}
