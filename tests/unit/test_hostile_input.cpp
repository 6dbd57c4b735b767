// Inputs from outside that once broke a rule of their reader, found by the fuzz
// targets in fuzz/ or by feeding broken files by hand; kept so the faults stay fixed.

#include "engine/CollectionFile.h"
#include "engine/PictureIO.h"
#include "engine/SettingsText.h"
#include "platform/WallpaperSetter.h"
#include "platform/qt/FileShownPictureStore.h"
#include "test_pictures_support.h"

// The settings file and the desktop scripts of the Linux build.
#if defined(Q_OS_UNIX)
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/wallpaper/TextQuoting.h"
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

// An uncompressed 24-bit BMP header with `pixelBytes` bytes of pixels after it, however
// many the header claims.
QByteArray bmpClaiming(qint32 width, qint32 height, int pixelBytes)
{
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + pixelBytes), bmp.data() + 2);
    qToLittleEndian<quint32>(54, bmp.data() + 10);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(width, bmp.data() + 18);
    qToLittleEndian<qint32>(height, bmp.data() + 22);
    qToLittleEndian<quint16>(1, bmp.data() + 26);
    qToLittleEndian<quint16>(24, bmp.data() + 28);
    return bmp + QByteArray(pixelBytes, '\x41');
}

} // namespace

TEST(HostileCollectionFile, AByteOrderMarkIsNoEntryButUFeffInsideALineStays)
{
    const auto texts = [](QByteArrayView bytes) {
        QStringList out;
        for (const CollectionEntry& entry : parseCollection(bytes).entries)
            out << entry.text;
        return out;
    };
    // A file saved by a Windows editor starts with a mark; a line of nothing but the
    // mark is an empty line.
    EXPECT_EQ(texts("\xEF\xBB\xBF\r\n/a.png\r\n"), QStringList{QStringLiteral("/a.png")});
    EXPECT_EQ(texts("\xEF\xBB\xBF/a.png\r\n"), QStringList{QStringLiteral("/a.png")});
    // Anywhere else U+FEFF is a character of the entry, and it survives a save.
    const QByteArray file("/a\r\n\xEF\xBB\xBF/b\r\n/c\xEF\xBB\xBF");
#if defined(Q_OS_UNIX)
    const QStringList entries{QStringLiteral("/a"), QStringLiteral("\uFEFF/b"), QStringLiteral("/c\uFEFF")};
#else
    // Windows reads the ANSI code page, where the mark's bytes are three characters.
    const QStringList entries{QStringLiteral("/a"), QString::fromLocal8Bit("\xEF\xBB\xBF/b"),
                              QString::fromLocal8Bit("/c\xEF\xBB\xBF")};
#endif
    EXPECT_EQ(texts(file), entries);
    EXPECT_EQ(encodeCollection(parseCollection(file).entries), file + "\r\n");
    // A line of 4096 bytes after the mark is still an entry.
    EXPECT_EQ(parseCollection("\xEF\xBB\xBF" + QByteArray(kMaxEntryBytes, 'x')).entries.size(), 1);
}

TEST(HostileCollectionFile, ANulByteEndsTheReadingAndBrokenUtf8KeepsItsBytes)
{
    // No path and no text file holds a NUL byte: the file is no collection, and what
    // was read before it stays.
    const CollectionReading nul = parseCollection(QByteArray("/a.png\r\n/a\0b.png\r\n/c.png\r\n", 22));
    ASSERT_EQ(nul.entries.size(), 1);
    EXPECT_EQ(nul.entries[0].text, QStringLiteral("/a.png"));
    EXPECT_TRUE(nul.notACollection);
    EXPECT_FALSE(parseCollection("/a.png\r\n/c.png").notACollection);

    const CollectionReading read = parseCollection("/\xff\xfe.png\r\n/c\xe2\x82");
    ASSERT_EQ(read.entries.size(), 2);
#if defined(Q_OS_UNIX)
    EXPECT_EQ(read.entries[0].text, QStringLiteral("/\uFFFD\uFFFD.png"));
    // An incomplete sequence at the end of the file is kept as what it is.
    EXPECT_EQ(read.entries[1].text, QStringLiteral("/c\uFFFD\uFFFD"));
#else
    // No byte is broken text in a Windows ANSI code page.
    EXPECT_EQ(read.entries[0].text, QString::fromLocal8Bit("/\xff\xfe.png"));
    EXPECT_EQ(read.entries[1].text, QString::fromLocal8Bit("/c\xe2\x82"));
#endif
    // The bytes, not the text with its replacement characters, are written back.
    EXPECT_EQ(encodeCollection(read.entries), QByteArray("/\xff\xfe.png\r\n/c\xe2\x82\r\n"));
    EXPECT_FALSE(read.notACollection);
}

TEST(HostileShownPicture, EveryByteOfANameSurvivesAndAForeignFileIsNoMemory)
{
    QTemporaryDir dir;
    FileShownPictureStore store(dir.filePath(QStringLiteral("state")));
    const QByteArray name = QByteArrayLiteral("/m\xe9"
                                              "dia/\"%20a\xff\n.jpg");
    store.write({QStringLiteral("/k/kolekce \u00e1.tkl"), name});
    const auto read = store.read();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->collection, QStringLiteral("/k/kolekce \u00e1.tkl"));
    EXPECT_EQ(read->entry, name);
    for (const QByteArray& foreign :
         {QByteArrayLiteral("[1, 2]"), QByteArrayLiteral("{\"collection\": 5}"),
          QByteArray(qsizetype{300} * 1024, ' ') + R"({"collection": "/k.tkl", "entry": "a"})"}) {
        writeFile(dir, QStringLiteral("state/last-shown.json"), foreign);
        EXPECT_FALSE(store.read().has_value()) << foreign.left(40).constData();
    }

    const ShownPictureStore::History history{{{QStringLiteral("/k.tkl"), name, StyleTile},
                                              {QString(), QByteArrayLiteral("b"), StyleCenter}},
                                             0};
    store.writeHistory(history);
    EXPECT_EQ(store.readHistory().pictures, history.pictures);
    EXPECT_EQ(store.readHistory().current, 0);
    for (const QByteArray& foreign : {QByteArrayLiteral("[1]"), QByteArrayLiteral(R"({"pictures": [{"style": 1}]})"),
                                      QByteArrayLiteral(R"({"pictures": [{"entry": "a", "style": 7}]})")}) {
        writeFile(dir, QStringLiteral("state/history.json"), foreign);
        EXPECT_TRUE(store.readHistory().pictures.isEmpty()) << foreign.constData();
    }
    store.remove();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("state")))) << "an emptied folder goes too";
}

TEST(HostileSettingsText, DigitsOfOtherScriptsEndTheNumberAndBlanksInTheExponentAreIgnored)
{
    // "1e" followed by an Arabic-Indic three once read as 0, so the interval became 60.
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1e\u0663")), 1.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("\u0663")), 0.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("2\u0663")), 2.0);
    // Blanks count nowhere in the number, the exponent included.
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1e 3")), 1000.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("5 e - 1 minut")), 0.5);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("2e minut")), 2.0);
}

#if defined(Q_OS_UNIX)
TEST(HostileScriptQuoting, JavaScriptLineSeparatorsAreEscaped)
{
    // U+2028 and U+2029 end a line in JavaScript; unescaped they broke Plasma's script.
    const QString literal = javaScriptString(QStringLiteral("a\u2028b\u2029c"));
    EXPECT_EQ(literal, QStringLiteral("'a\\u2028b\\u2029c'"));
    EXPECT_FALSE(literal.contains(QChar(0x2028)) || literal.contains(QChar(0x2029)));
}

TEST(HostileScriptQuoting, PathsWithSeveralLeadingSlashesKeepTheirFile)
{
    // QUrl took "//home/..." for a share on the host "home", and "///a" for nothing.
    EXPECT_EQ(fileUri(QStringLiteral("//home/jan/a.png")), QStringLiteral("file:///home/jan/a.png"));
    EXPECT_EQ(QUrl(fileUri(QStringLiteral("///data/b c.png"))).toLocalFile(), QStringLiteral("/data/b c.png"));
    EXPECT_EQ(fileUri(QStringLiteral("/a//b.png")), QStringLiteral("file:///a//b.png"));
}

TEST(HostileScriptQuoting, EveryCharacterOfAPathSurvivesItsAddress)
{
    // QUrl wrote only the first half of U+1FFFE and its kind, so the address named
    // another file.
    const QString path = QStringLiteral("/data/a\U0001FFFEb \u010D#?%[x]'.png");
    const QString uri = fileUri(path);
    EXPECT_EQ(uri, QStringLiteral("file:///data/a%F0%9F%BF%BEb%20%C4%8D%23%3F%25[x]'.png"));
    EXPECT_EQ(QByteArray::fromPercentEncoding(uri.mid(7).toLatin1()), path.toUtf8());
}

#endif

TEST(HostilePictures, AHeaderClaimingFarMorePixelsThanItsFileHoldsIsRefusedAtOnce)
{
    QTemporaryDir dir;
    // 55 bytes claiming a top-down picture of 3 x 33,554,434 pixels: Qt made a 400 MB
    // picture of nothing out of it, taking seconds, because the negative height
    // slipped past the size check.
    const QString lying = writeFile(dir, QStringLiteral("lying.bmp"), bmpClaiming(3, -33554434, 1));
    QImage picture(8, 8, QImage::Format_RGB32);
    EXPECT_FALSE(loadPicture(lying, picture));
    EXPECT_TRUE(picture.isNull());
    // Bottom-up, the same claim.
    EXPECT_FALSE(loadPicture(writeFile(dir, QStringLiteral("up.bmp"), bmpClaiming(3, 33554434, 1)), picture));
    // Over the pixel cap whichever way up.
    EXPECT_FALSE(loadPicture(writeFile(dir, QStringLiteral("cap.bmp"), bmpClaiming(20000, -20000, 1024)), picture));
    EXPECT_TRUE(picture.isNull());
}

TEST(HostilePictures, SmallAndHonestTopDownPicturesStillLoad)
{
    QTemporaryDir dir;
    // 2 x -2: rows of 8 bytes (6 of pixels, 2 of padding), top row first.
    QByteArray rows("\x00\x00\xff\x00\x00\xff\x00\x00"
                    "\xff\x00\x00\xff\x00\x00\x00\x00",
                    16);
    QByteArray bmp = bmpClaiming(2, -2, 0) + rows;
    qToLittleEndian<quint32>(quint32(bmp.size()), bmp.data() + 2);
    QImage picture;
    ASSERT_TRUE(loadPicture(writeFile(dir, QStringLiteral("down.bmp"), bmp), picture));
    EXPECT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(0, 1), qRgb(0, 0, 255));

    // A flat picture larger than a screen packs many pixels into each byte, and is
    // still believed.
    QImage flat(4200, 4100, QImage::Format_RGB32);
    flat.fill(qRgb(10, 120, 200));
    const QString flatPath = dir.filePath(QStringLiteral("flat.png"));
    ASSERT_TRUE(flat.save(flatPath, "PNG"));
    flat = QImage();
    ASSERT_TRUE(loadPicture(flatPath, picture));
    EXPECT_EQ(picture.size(), QSize(4200, 4100));
}

TEST(HostilePictures, ADecoderThatReportsSuccessWithoutAPictureIsARefusal)
{
    // An MNG stream (found by fuzz_picture) whose decoder says it read a picture and
    // gives none: the preview then held nothing instead of the error picture.
    const QByteArray mng
        = QByteArray::fromHex("8a4d4e470d0a1a0a0000000300000002000000010018000000000018000009e6d8cbbeb1a4977582"
                              "8ff560a9b6c3d0ddeaf70436003a00000000000300000002000000010018000000000018000009e6"
                              "d8cbbeb1a49775828ff560a9b6c3d0ddeaf70411");
    QTemporaryDir dir;
    QImage picture(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(loadPicture(writeFile(dir, QStringLiteral("animace.mng"), mng), picture));
    EXPECT_TRUE(picture.isNull());
}

TEST(HostilePictures, AJpegRepeatingItsScansHundredsOfTimesIsRefusedUnread)
{
    // 2,000 repeated scans of a 4096 x 4096 picture in 178 kB kept the window busy for
    // 12 seconds, 20,000 for two minutes: every scan passes over the whole picture.
    // libjpeg-turbo's own tools stop at 500.
    QTemporaryDir dir;
    const QImage image = testpics::quadrants(64, 48);
    QImage picture(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(
        loadPicture(writeFile(dir, QStringLiteral("skeny.jpg"), testpics::jpegWithScans(image, 600)), picture));
    EXPECT_TRUE(picture.isNull());
    // Hidden behind another name, the same.
    EXPECT_FALSE(
        loadPicture(writeFile(dir, QStringLiteral("skeny.png"), testpics::jpegWithScans(image, 600)), picture));

    // A progressive JPEG as cameras and editors write it loads, and so does one at the limit.
    ASSERT_TRUE(loadPicture(writeFile(dir, QStringLiteral("deset.jpg"), testpics::progressiveJpeg(image)), picture));
    EXPECT_EQ(picture.size(), image.size());
    EXPECT_EQ(picture.pixel(4, 4) & 0xf0f0f0u, testpics::kRed & 0xf0f0f0u);
    EXPECT_TRUE(
        loadPicture(writeFile(dir, QStringLiteral("pet set.jpg"), testpics::jpegWithScans(image, 500)), picture));
}

#if defined(Q_OS_UNIX)
TEST(HostileSettingsFile, ABrokenLineInAHandEditedFileNeitherFailsWritesNorStaysInTheFile)
{
    QTemporaryDir config;
    QDir().mkpath(config.filePath(QStringLiteral("tapetor")));
    // A line with control characters and a section never closed: QSettings reads what
    // it can and keeps a format error for good, which it then also reported for every
    // write, though the writes succeeded.
    writeFile(config, QStringLiteral("tapetor/tapetor.ini"),
              QByteArray("[options]\nrun=1\n\x01\x02junk\n[uss3\nx=1\n", 34));
    IniSettingsStore store(config.path());
    EXPECT_EQ(store.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), {}),
              QStringLiteral("1"));
    EXPECT_TRUE(
        store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), QStringLiteral("0")));
    EXPECT_TRUE(store.write(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("random"),
                            QStringLiteral("1")));
    IniSettingsStore fresh(config.path());
    EXPECT_EQ(fresh.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("run"), {}),
              QStringLiteral("0"));
    EXPECT_EQ(fresh.read(QStringLiteral("tapetor"), QStringLiteral("options"), QStringLiteral("random"), {}),
              QStringLiteral("1"));
}
#endif
