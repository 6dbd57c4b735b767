#include "engine/JpegScans.h"
#include "engine/PictureIO.h"
#include "engine/PictureMeasures.h"
#include "engine/SmoothScale.h"
#include "platform/qt/ThreadedPictureDecoder.h"
#include "test_pictures_support.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QMutex>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QWaitCondition>
#include <QtEndian>

#include <atomic>

#ifdef TAPETOR_DEEP_PNG
#include <png.h>
#endif

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using namespace testpics;

namespace {

quint32 pngCrc(const QByteArray& data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk += type + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(pngCrc(type + data), crc.data());
    return chunk + crc;
}

// A well-formed PNG start whose header claims a gigantic picture.
QByteArray hugePngHeader(quint32 width, quint32 height)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 2; // truecolour
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr)
        + pngChunk("IDAT", QByteArray("\x78\x9c\x63\x00\x00", 5)) + pngChunk("IEND", {});
}

QByteArray hugeBmpHeader(qint32 width, qint32 height)
{
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(54, bmp.data() + 10);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(width, bmp.data() + 18);
    qToLittleEndian<qint32>(height, bmp.data() + 22);
    qToLittleEndian<quint16>(1, bmp.data() + 26);
    qToLittleEndian<quint16>(24, bmp.data() + 28);
    return bmp + QByteArray(1024, '\x7f');
}

QByteArray encode(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A real JPEG whose frame header is rewritten to claim another size.
QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray jpeg = encode(quadrants(16, 16), "JPEG");
    const qsizetype sof = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    if (sof < 0)
        return {};
    qToBigEndian<quint16>(height, jpeg.data() + sof + 5);
    qToBigEndian<quint16>(width, jpeg.data() + sof + 7);
    return jpeg;
}

// An EXIF block with only the orientation tag, as cameras write it.
QByteArray exifOrientation(quint16 orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    QByteArray ifd(2 + 12 + 4, '\0');
    qToLittleEndian<quint16>(1, ifd.data());
    qToLittleEndian<quint16>(0x0112, ifd.data() + 2);
    qToLittleEndian<quint16>(3, ifd.data() + 4);
    qToLittleEndian<quint32>(1, ifd.data() + 6);
    qToLittleEndian<quint16>(orientation, ifd.data() + 10);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + ifd;
    QByteArray segment("\xff\xe1\0\0", 4);
    qToBigEndian<quint16>(quint16(payload.size() + 2), segment.data() + 2);
    return segment + payload;
}

int scansOf(QByteArray jpeg)
{
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    return countJpegScans(buffer, 1000);
}

// Loads path on a thread of its own. A load that blocks is reported as a failure after
// a generous bound and then released by `unblock`, so the test ends either way.
bool loadsWithoutBlocking(const QString& path, QImage& picture, bool& loaded, const std::function<void()>& unblock)
{
    auto load = std::async(std::launch::async, [&] { return loadPicture(path, picture); });
    const bool finished = load.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!finished)
        unblock();
    loaded = load.get();
    return finished;
}

bool near(QRgb a, QRgb b, int tolerance = 24)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

#ifdef TAPETOR_DEEP_PNG
// A PNG of 16 bits a channel written by libpng, in layouts Qt's writer never makes
// (interlaced, grey with alpha, a transparent colour). Its pixels are rich in the low
// bytes, where rounding shows.
QByteArray deepPng(int colourType, int interlace, bool transparentColour = false)
{
    constexpr int width = 37;
    constexpr int height = 23;
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &bytes,
        [](png_structp writer, png_bytep data, size_t length) {
            static_cast<QByteArray*>(png_get_io_ptr(writer))
                ->append(reinterpret_cast<const char*>(data), qsizetype(length));
        },
        nullptr);
    png_set_IHDR(png, info, width, height, 16, colourType, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_16 transparent{0, 0x1234, 0x5678, 0x9abc, 0};
    if (transparentColour)
        png_set_tRNS(png, info, nullptr, 0, &transparent);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<std::vector<png_byte>> rows(height, std::vector<png_byte>(size_t(width * channels * 2)));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * channels; ++i) {
            const auto value = quint16((y == 0 && i < 3) ? transparent.red + (i * 0x4444) : i * 2609 + y * 40503);
            qToBigEndian(value, &rows[y][size_t(i) * 2]);
        }
        pointers.push_back(rows[y].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}
#endif

class PictureLoading : public testing::Test {
protected:
    QString file(const QString& name, const QByteArray& content)
    {
        QString path = dir.filePath(name);
        EXPECT_TRUE(writeAll(path, content));
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(PictureLoading, DecodesTheFormatsOfferedByTheEditor)
{
    const QImage original = quadrants(64, 48);
    for (const char* format : {"JPEG", "PNG", "BMP"}) {
        SCOPED_TRACE(format);
        const QString path
            = file(QStringLiteral("p.") + QString::fromLatin1(format).toLower(), encode(original, format, 95));
        QImage picture;
        ASSERT_TRUE(loadPicture(path, picture));
        ASSERT_EQ(picture.size(), QSize(64, 48));
        EXPECT_TRUE(near(picture.pixel(8, 8), kRed));
        EXPECT_TRUE(near(picture.pixel(56, 8), kLime));
        EXPECT_TRUE(near(picture.pixel(8, 40), kBlue));
        EXPECT_TRUE(near(picture.pixel(56, 40), kYellow));
    }
}

#ifdef TAPETOR_DEEP_PNG
TEST_F(PictureLoading, SixteenBitPngsComeInAtEightBitsAsQtWouldGiveThem)
{
    const struct {
        const char* name;
        QByteArray content;
        QImage::Format format;
    } cases[] = {
        {"colour", encode(noise(61, 40, 5).convertToFormat(QImage::Format_RGBX64), "PNG"), QImage::Format_RGB32},
        {"alpha", encode(noise(61, 40, 6).convertToFormat(QImage::Format_RGBA64), "PNG"),
         QImage::Format_ARGB32_Premultiplied},
        {"interlaced", deepPng(PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7), QImage::Format_RGB32},
        {"interlaced alpha", deepPng(PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_ADAM7),
         QImage::Format_ARGB32_Premultiplied},
        {"grey alpha", deepPng(PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE), QImage::Format_ARGB32_Premultiplied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage expected = QImage::fromData(c.content, "PNG").convertToFormat(c.format);
        ASSERT_FALSE(expected.isNull());
        QImage picture;
        ASSERT_TRUE(loadPicture(file(QStringLiteral("deep.png"), c.content), picture));
        ASSERT_EQ(picture.format(), c.format);
        ASSERT_EQ(picture.size(), expected.size());
        int worst = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb a = picture.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                                  qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))});
            }
        }
        // Qt premultiplies before narrowing, libpng's rows after: one step apart at most.
        EXPECT_LE(worst, c.format == QImage::Format_RGB32 ? 0 : 1);
    }
    // Qt reads a 16-bit transparent colour wrongly; here that colour, and only it, is clear.
    QImage keyed;
    ASSERT_TRUE(
        loadPicture(file(QStringLiteral("keyed.png"), deepPng(PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, true)), keyed));
    EXPECT_EQ(keyed.pixel(0, 0), 0u);
    EXPECT_EQ(qAlpha(keyed.pixel(1, 0)), 255);
}
#endif

TEST_F(PictureLoading, RefusesHeadersClaimingGiganticPicturesAndLeavesNoPicture)
{
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"huge.png", hugePngHeader(100000, 100000)},
        {"huge.bmp", hugeBmpHeader(100000, 100000)},
        {"huge.jpg", jpegClaiming(60000, 60000)},
        {"just over.bmp", hugeBmpHeader(16385, 16384)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.content.isEmpty());
        QImage picture = quadrants(8, 8);
        EXPECT_FALSE(loadPicture(file(QString::fromLatin1(c.name), c.content), picture));
        EXPECT_TRUE(picture.isNull());
    }
}

TEST_F(PictureLoading, TruncatedFilesGiveAPictureOrAFailureNeverGarbage)
{
    const QImage original = noise(200, 150);
    for (const char* format : {"JPEG", "PNG", "BMP", "16-bit PNG"}) {
        const QByteArray whole = std::string_view(format) == "16-bit PNG"
            ? encode(original.convertToFormat(QImage::Format_RGBX64), "PNG")
            : encode(original, format, 90);
        for (const qsizetype keep : {whole.size() / 2, qsizetype(40), qsizetype(3)}) {
            SCOPED_TRACE(std::string(format) + " cut to " + std::to_string(keep));
            QImage picture = quadrants(8, 8);
            const bool loaded = loadPicture(file(QStringLiteral("cut"), whole.left(keep)), picture);
            if (loaded)
                EXPECT_EQ(picture.size(), original.size());
            else
                EXPECT_TRUE(picture.isNull());
        }
    }
}

TEST_F(PictureLoading, MissingOrNonPictureFilesFail)
{
    QImage picture = quadrants(8, 8);
    EXPECT_FALSE(loadPicture(dir.filePath(QStringLiteral("absent.jpg")), picture));
    EXPECT_TRUE(picture.isNull());
    EXPECT_FALSE(loadPicture(file(QStringLiteral("text.jpg"), "just some words\r\n"), picture));
    EXPECT_FALSE(loadPicture(dir.path(), picture));
}

TEST_F(PictureLoading, RefusesWhatIsNoRegularFileWithoutWaitingForIt)
{
    const QByteArray png = encode(quadrants(8, 8), "PNG");
    QImage picture = quadrants(8, 8);
    bool loaded = true;

#if defined(Q_OS_UNIX)
    // A FIFO nobody writes to: opening it for reading used to wait for a writer for ever.
    const QString lonely = dir.filePath(QStringLiteral("fronta.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(lonely).constData(), 0600), 0);
    EXPECT_TRUE(loadsWithoutBlocking(lonely, picture, loaded, [&] {
        const int writer = ::open(QFile::encodeName(lonely).constData(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
    }));
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(picture.isNull());

    // A FIFO that does offer a whole picture is still no picture file.
    const QString fed = dir.filePath(QStringLiteral("krmena.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fed).constData(), 0600), 0);
    int writer = ::open(QFile::encodeName(fed).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, png.constData(), size_t(png.size())), png.size());
    EXPECT_TRUE(loadsWithoutBlocking(fed, picture, loaded, [&] { ::close(std::exchange(writer, -1)); }));
    EXPECT_FALSE(loaded);
    if (writer >= 0)
        ::close(writer);

    // A socket, and character devices that are empty or never end.
    const QString socketPath = dir.filePath(QStringLiteral("soket.png"));
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(size_t(encoded.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listening, 1), 0);
    for (const QString& path : {socketPath, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(path.toStdString());
        picture = quadrants(8, 8);
        EXPECT_TRUE(loadsWithoutBlocking(path, picture, loaded, [] {}));
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(picture.isNull());
    }
    ::close(listening);
#else
    // Windows keeps its pipes apart from the folders, under \\.\pipe\. Opening one
    // never waits, but reading one nobody writes to does, for ever.
    const std::wstring pipeName = L"\\\\.\\pipe\\tapetor-" + std::to_wstring(GetCurrentProcessId());
    HANDLE lonely = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096,
                                     0, nullptr);
    ASSERT_NE(lonely, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(loadsWithoutBlocking(QString::fromStdWString(pipeName), picture, loaded,
                                     [&] { CloseHandle(std::exchange(lonely, INVALID_HANDLE_VALUE)); }));
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(picture.isNull());
    if (lonely != INVALID_HANDLE_VALUE)
        CloseHandle(lonely);

    // The device that is always empty, by its short and its full name.
    for (const QString& path : {QStringLiteral("NUL"), QStringLiteral("\\\\.\\NUL")}) {
        SCOPED_TRACE(path.toStdString());
        picture = quadrants(8, 8);
        EXPECT_TRUE(loadsWithoutBlocking(path, picture, loaded, [] {}));
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(picture.isNull());
    }
#endif

    // The same picture in a plain file loads.
    EXPECT_TRUE(loadPicture(file(QStringLiteral("soubor.png"), png), picture));
}

TEST_F(PictureLoading, CountsTheScansOfAJpegAcrossStuffedBytesAndRestartMarkers)
{
    const QImage photo = noise(64, 48);
    EXPECT_EQ(scansOf(encode(photo, "JPEG")), 1);
    const QByteArray progressive = progressiveJpeg(photo);
    ASSERT_EQ(scansOf(progressive), 10);
    // Noise leaves stuffed 0xFF bytes in the compressed data; none is a marker.
    ASSERT_GT(progressive.count(QByteArray("\xff\x00", 2)), 0);

    // After every scan header, a restart marker (the first, a middle one and the last of
    // the eight) and a stuffed byte, each followed by bytes that would read as a length
    // of 32 kB were they a segment.
    for (const char restart : {'\xd0', '\xd3', '\xd7'}) {
        SCOPED_TRACE(int(quint8(restart)));
        QByteArray marked = progressive;
        for (qsizetype at = marked.indexOf("\xff\xda"); at >= 0; at = marked.indexOf("\xff\xda", at + 2)) {
            const int header = (quint8(marked[at + 2]) << 8) | quint8(marked[at + 3]);
            QByteArray inserted("\xff\xd3\x7f\x7f\xff\x00\x7f\x7f", 8);
            inserted[1] = restart;
            marked.insert(at + 2 + header, inserted);
        }
        EXPECT_EQ(scansOf(marked), 10);
    }

    // Fill bytes before a marker, and nothing counted after the end of the picture.
    QByteArray padded = progressive;
    padded.replace("\xff\xda", QByteArray("\xff\xff\xff\xda", 4));
    EXPECT_EQ(scansOf(padded + progressive.mid(2)), 10);

    EXPECT_EQ(scansOf(QByteArray("\xff\xd8\xff\xda\x00\x02", 6)), 1);
    EXPECT_EQ(scansOf(encode(photo, "PNG")), 0);
}

TEST_F(PictureLoading, CameraSizedPhotosPassQtsDefaultAllocationLimit)
{
    // 8192 x 5464 (45 MP) is 171 MiB decoded, over the 128 MB Qt allows by default.
    QImage photo(8192, 5464, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, 8192, 5464);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(photo.rect(), gradient);
    painter.fillRect(QRect(0, 0, 100, 100), QColor(kRed));
    painter.end();
    const QString path = dir.filePath(QStringLiteral("camera.jpg"));
    ASSERT_TRUE(photo.save(path, "JPEG", 80));
    photo = QImage();

    QImage picture;
    ASSERT_TRUE(loadPicture(path, picture));
    EXPECT_EQ(picture.size(), QSize(8192, 5464));
    EXPECT_TRUE(near(picture.pixel(50, 50), kRed));
}

TEST_F(PictureLoading, LargePicturesComeOutAsQtsOwnDecodeGivesThem)
{
    // Large enough for memory of the loader's own; odd widths pad every row.
    struct Case {
        const char* name;
        QImage picture;
        const char* format;
        quint16 orientation;
    };
    const Case cases[] = {
        {"colour JPEG", noise(1201, 901, 3), "JPEG", 0},
        {"grey JPEG", noise(2001, 1501, 4).convertToFormat(QImage::Format_Grayscale8), "JPEG", 0},
        {"sideways JPEG", noise(1201, 901, 5), "JPEG", 6},
        {"opaque PNG", noise(1201, 901, 6), "PNG", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = encode(c.picture, c.format, 90);
        if (c.orientation != 0)
            bytes.insert(2, exifOrientation(c.orientation));
        const QString path = file(QStringLiteral("large"), bytes);
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage expected = reader.read();
        QImage picture;
        ASSERT_TRUE(loadPicture(path, picture));
        EXPECT_EQ(picture, expected);
    }
}

TEST_F(PictureLoading, ShowsPortraitPhotosUprightFromTheirExifOrientation)
{
    QByteArray jpeg = encode(quadrants(40, 20), "JPEG", 95);
    jpeg.insert(2, exifOrientation(6)); // stored sideways: turn 90 degrees clockwise
    QImage picture;
    ASSERT_TRUE(loadPicture(file(QStringLiteral("portrait.jpg"), jpeg), picture));
    ASSERT_EQ(picture.size(), QSize(20, 40));
    EXPECT_TRUE(near(picture.pixel(5, 5), kBlue));
    EXPECT_TRUE(near(picture.pixel(15, 5), kRed));
    EXPECT_TRUE(near(picture.pixel(5, 35), kYellow));
    EXPECT_TRUE(near(picture.pixel(15, 35), kLime));
}

TEST_F(PictureLoading, ReusesTheKeptBufferForAPictureOfTheSameSize)
{
    const QString first = file(QStringLiteral("a.jpg"), encode(noise(320, 240, 1), "JPEG"));
    const QString second = file(QStringLiteral("b.jpg"), encode(noise(320, 240, 2), "JPEG"));
    QImage picture;
    ASSERT_TRUE(loadPicture(first, picture));
    const QImage firstCopy = picture.copy();
    const uchar* buffer = picture.constBits();
    ASSERT_TRUE(loadPicture(second, picture));
    EXPECT_EQ(picture.constBits(), buffer);
    EXPECT_NE(picture, firstCopy);
}

TEST_F(PictureLoading, AStoppedDecodeGivesNoPicture)
{
    for (const char* format : {"JPEG", "PNG"}) {
        const QString path = file(QStringLiteral("p.") + QLatin1String(format), encode(noise(64, 48, 3), format));
        std::stop_source stop;
        QImage picture;
        ASSERT_TRUE(loadPicture(path, picture, stop.get_token())) << format;
        stop.request_stop();
        EXPECT_FALSE(loadPicture(path, picture, stop.get_token())) << format;
        EXPECT_TRUE(picture.isNull()) << format;
    }
}

TEST(DecodingBesideTheWindow, OnlyTheLatestRequestIsDecodedAndAnsweredWithItsNumber)
{
    // Each "decode" gives a picture as wide as the entry's bytes are long, once the
    // gate lets it through.
    QSemaphore gate;
    std::atomic<int> decodes{0};
    ThreadedPictureDecoder decoder([&](const QByteArray& entry, const QString&, const QImage&, const std::stop_token&) {
        gate.acquire();
        ++decodes;
        return QImage(int(entry.size()), 1, QImage::Format_RGB32);
    });
    std::vector<std::pair<quint64, int>> answers;
    decoder.setReceiver(
        [&](quint64 request, const QImage& picture) { answers.emplace_back(request, picture.width()); });

    // Asked at one go, as start-up asks: only the last is decoded.
    gate.release(1);
    decoder.request(1, "a", {}, {});
    decoder.request(2, "bb", {}, {});
    decoder.request(3, "ccc", {}, {});
    EXPECT_TRUE(decoder.pending());
    decoder.finish();
    EXPECT_FALSE(decoder.pending());
    EXPECT_EQ(answers, (std::vector<std::pair<quint64, int>>{{3, 3}}));
    EXPECT_EQ(decodes, 1);

    // Asked while a decode runs: the running one ends unseen, then only the latest.
    decoder.request(4, "dddd", {}, {});
    QCoreApplication::processEvents();
    decoder.request(5, "eeeee", {}, {});
    decoder.request(6, "ffffff", {}, {});
    gate.release(2);
    decoder.finish();
    EXPECT_EQ(answers.back(), (std::pair<quint64, int>{6, 6}));
    EXPECT_EQ(answers.size(), 2u);
    EXPECT_EQ(decodes, 3);

    // Cancelled before it started: nothing is decoded or answered.
    decoder.request(7, "g", {}, {});
    decoder.cancel();
    EXPECT_FALSE(decoder.pending());
    QCoreApplication::processEvents();
    decoder.finish();
    EXPECT_EQ(answers.size(), 2u);
    EXPECT_EQ(decodes, 3);
}

TEST(DecodingBesideTheWindow, APreparedPictureIsDecodedOnceForTheRequestThatComesForIt)
{
    QSemaphore gate;
    QMutex lock;
    QList<QByteArray> decoded;
    std::vector<std::pair<quint64, int>> answers;
    {
        ThreadedPictureDecoder decoder(
            [&](const QByteArray& entry, const QString&, const QImage&, const std::stop_token&) {
                gate.acquire();
                const QMutexLocker locked(&lock);
                decoded.append(entry);
                return QImage(int(entry.size()), 1, QImage::Format_RGB32);
            });
        decoder.setReceiver(
            [&](quint64 request, const QImage& picture) { answers.emplace_back(request, picture.width()); });
        // As the logon run: both pictures prepared before the window asks for the first.
        decoder.prepare("aa", {});
        decoder.prepare("bbb", {});
        decoder.request(1, "aa", {}, {});
        gate.release(4); // two to spare, so that a second decode of either shows rather than hangs
        decoder.finish();
        decoder.request(2, "bbb", {}, {});
        decoder.finish();
    } // the decoder waits for every decode still running
    EXPECT_EQ(answers, (std::vector<std::pair<quint64, int>>{{1, 2}, {2, 3}}));
    EXPECT_EQ(decoded.count("aa"), 1);
    EXPECT_EQ(decoded.count("bbb"), 1);
}

TEST(DecodingBesideTheWindow, CancelStopsTheDecodesItForgets)
{
    // Qt's lock and condition rather than std::condition_variable_any's wait on the
    // stop token: built with mingw-w64, that wait hung under Wine in one run of four.
    QMutex lock;
    QWaitCondition changed;
    int started = 0;
    int stopped = 0;
    {
        // Each "decode" runs until it is stopped, or gives up after a minute; the test
        // wakes it once the decoder has been cancelled.
        ThreadedPictureDecoder decoder(
            [&](const QByteArray&, const QString&, const QImage&, const std::stop_token& stop) {
                const QMutexLocker locked(&lock);
                ++started;
                changed.wakeAll();
                const QDeadlineTimer giveUp(std::chrono::minutes(1));
                while (!stop.stop_requested() && changed.wait(&lock, giveUp)) { }
                stopped += stop.stop_requested() ? 1 : 0;
                return QImage();
            });
        decoder.request(1, "a", {}, {});
        decoder.prepare("b", {});
        decoder.prepare("c", {});
        QCoreApplication::processEvents();
        QMutexLocker locked(&lock);
        const QDeadlineTimer giveUp(std::chrono::minutes(1));
        while (started < 3 && changed.wait(&lock, giveUp)) { }
        EXPECT_EQ(started, 3);
        locked.unlock();
        decoder.cancel();
        locked.relock();
        changed.wakeAll();
    } // the decoder waits for every decode, which ends only when stopped
    EXPECT_EQ(stopped, 3);
}

TEST(SmoothScaling, GreyAndPalettePicturesScaleAsTheirColourCopiesWould)
{
    // Scaled a band at a time: no row may be lost, doubled or shifted at the seams.
    QImage colour = quadrants(300, 2000);
    QPainter painter(&colour);
    for (int y = 0; y < 2000; y += 50)
        painter.fillRect(0, y, 300, 10, Qt::white);
    painter.end();
    for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_Indexed8}) {
        SCOPED_TRACE(int(format));
        const QImage picture = colour.convertToFormat(format);
        for (const QSize size : {QSize(97, 81), QSize(150, 700), QSize(300, 2000), QSize(40, 2500)}) {
            SCOPED_TRACE(size.height());
            const QImage expected = picture.convertToFormat(QImage::Format_RGB32)
                                        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QImage scaled = smoothlyScaled(picture, size);
            ASSERT_EQ(scaled.size(), size);
            int worst = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb a = scaled.pixel(x, y);
                    const QRgb b = expected.pixel(x, y);
                    worst = qMax(worst,
                                 qMax(qAbs(qRed(a) - qRed(b)),
                                      qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b)))));
                }
            EXPECT_LE(worst, 12);
        }
    }
}

TEST(PictureMeasuresTest, BitsPerPixelFollowTheKindOfPicture)
{
    const struct {
        QImage::Format format;
        qint16 bits;
    } cases[] = {
        {QImage::Format_RGB32, 24},
        {QImage::Format_RGB888, 24},
        {QImage::Format_ARGB32, 32},
        {QImage::Format_ARGB32_Premultiplied, 32},
        {QImage::Format_Indexed8, 8},
        {QImage::Format_Grayscale8, 8},
        {QImage::Format_Mono, 1},
        {QImage::Format_MonoLSB, 1},
        // 16-bit grey (a PNG) is shown from one byte a pixel like 8-bit grey.
        {QImage::Format_Grayscale16, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.format));
        const QImage image = quadrants(1024, 768).convertToFormat(c.format);
        const PictureMeasures m = measurePicture(image);
        EXPECT_EQ(m.width, 1024);
        EXPECT_EQ(m.height, 768);
        EXPECT_EQ(m.planes, 1);
        EXPECT_EQ(m.bitsPerPixel, c.bits);
    }
}

TEST(PictureMeasuresTest, NoPictureMeasuresAllZero)
{
    const PictureMeasures m = measurePicture(QImage());
    EXPECT_EQ(m.width, 0);
    EXPECT_EQ(m.height, 0);
    EXPECT_EQ(m.planes, 0);
    EXPECT_EQ(m.bitsPerPixel, 0);
    EXPECT_EQ(pictureInfoText(m.width, m.height, m.bitsPerPixel), QStringLiteral("0x0, 0 bitů"));
}

TEST(PictureMeasuresTest, InfoTextReadsWidthHeightAndBits)
{
    EXPECT_EQ(pictureInfoText(1024, 768, 24), QStringLiteral("1024x768, 24 bitů"));
    EXPECT_EQ(pictureInfoText(7680, 4320, 32), QStringLiteral("7680x4320, 32 bitů"));
}
