#include "engine/PictureIO.h"

#ifdef TAPETOR_DEEP_PNG
#include "engine/DeepPng.h"
#endif
#include "engine/JpegScans.h"
#include "engine/LargeImage.h"
#include "engine/PictureFile.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdlib>
#include <utility>

namespace {

// Qt refuses pictures over 128 MB by default, which already rules out an 8K photo
// (7680 x 4320 is 127 MiB decoded). Qt counts four bytes a pixel whatever the format,
// so this limit lets exactly the pictures within the pixel cap through. It guards
// the formats whose header tells no size; the others are refused from the header.
constexpr int kAllocationLimitMiB = int(kMaxPicturePixels * 4 / (1024LL * 1024));

// Real pictures pack at most a few thousand pixels into a byte of file (a flat-coloured
// PNG a few hundred, a GIF a few thousand). A header claiming far more than its file
// can hold is broken or hostile: believing it costs the time and memory of a huge
// picture made of nothing (Qt fills what a truncated BMP lacks). Below the size of a
// large screen the claim is believed, since decoding costs little.
constexpr qint64 kMaxPixelsPerFileByte = 8192;
constexpr qint64 kBelievedPixels = qint64(4096) * 4096;

// Every scan of a progressive JPEG is a pass over the whole picture: a small file
// repeating its scans thousands of times keeps the window busy for minutes. Real files
// have a dozen; libjpeg-turbo's own tools give up past this many.
constexpr int kMaxJpegScans = 500;

// The opened file as the decoder reads it, until a stop is requested: from then on
// every read fails, so a decode nobody wants any more (a 45 MP photo holds some 170 MiB
// and two seconds of a core) ends at its next read rather than at its last row.
class StoppableRead final : public QIODevice {
public:
    StoppableRead(QFile& file, std::stop_token stop)
        : m_file(file)
        , m_stop(std::move(stop))
    {
        m_file.seek(0);
        // Unbuffered: whatever the decoder reads comes through readData, stop or not.
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_file.size(); }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_file.seek(pos); }
    bool stopped() const { return m_stop.stop_requested(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        return m_stop.stop_requested() ? -1 : m_file.read(data, maxSize);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile& m_file;
    std::stop_token m_stop;
};

bool hasAbsurdScanCount(QFile& file)
{
    char magic[2];
    if (file.peek(magic, 2) != 2 || magic[0] != '\xff' || magic[1] != '\xd8')
        return false;
    const bool absurd = countJpegScans(file, kMaxJpegScans) > kMaxJpegScans;
    return !file.seek(0) || absurd;
}

// The format of the common kinds of picture, told from their first bytes. The file is
// opened by its descriptor and has no name, so Qt would otherwise find the format by
// asking every image plugin installed, loading each with its libraries (TIFF, WebP,
// MNG...): some 60 ms of the first decode in every process. Empty for any other
// kind, which Qt then finds as before.
QByteArray formatFromContent(QFile& file)
{
    char head[8];
    const qint64 got = file.peek(head, sizeof head);
    const QByteArrayView bytes(head, got < 0 ? 0 : got);
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    return {};
}

bool claimIsPlausible(const QSize& claimed, qint64 fileBytes)
{
    // A top-down BMP gives its height as a negative number.
    const qint64 pixels = std::abs(qint64(claimed.width())) * std::abs(qint64(claimed.height()));
    if (pixels > kMaxPicturePixels)
        return false;
    return pixels <= kBelievedPixels || pixels <= fileBytes * kMaxPixelsPerFileByte;
}

// Scaling, for the preview and for a stretched wallpaper, takes opaque and premultiplied
// 32-bit pictures as they are and first copies a picture of any other wide format whole
// (twice the memory of the picture for a PNG with transparency, three times for 16-bit
// channels, which no screen shows anyway). Converted once here, in place where Qt can,
// the picture needs no such copy. Grey and palette pictures stay at one byte a pixel:
// the scaling converts them a band at a time.
bool isScalable(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8:
    case QImage::Format_Alpha8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return true;
    default:
        return false;
    }
}

void makeScalable(QImage& picture)
{
    if (isScalable(picture.format()))
        return;
    if (picture.format() == QImage::Format_Grayscale16)
        picture.convertTo(QImage::Format_Grayscale8);
    else
        picture.convertTo(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// A 16-bit PNG through libpng where the build has it, any other picture through Qt.
bool readPicture(QImageReader& reader, StoppableRead& device, QByteArrayView head, QImage& into)
{
#ifdef TAPETOR_DEEP_PNG
    if (isDeepPng(head))
        return device.seek(0) && readDeepPng(device, into);
#else
    Q_UNUSED(device);
    Q_UNUSED(head);
#endif
    return reader.read(&into);
}

} // namespace

bool isPictureFile(const QString& path)
{
    QFile file;
    if (!openPictureFile(path, file))
        return false;
    QImageReader reader(&file, formatFromContent(file));
    return reader.canRead();
}

bool loadPicture(const QString& path, QImage& into, std::stop_token stop)
{
    // The reader is given the opened file rather than the path, so it finds the format
    // from the content alone; it would otherwise open the path once more.
    QFile file;
    if (!openPictureFile(path, file) || hasAbsurdScanCount(file)) {
        into = QImage();
        return false;
    }
    // With a format given Qt still tries the others when that one cannot read the file.
    const QByteArray format = formatFromContent(file);
    const QByteArray head = file.peek(26);
    StoppableRead device(file, std::move(stop));
    QImageReader reader(&device, format);
    reader.setAllocationLimit(kAllocationLimitMiB);
    // Cameras store portrait photos sideways with an orientation tag; every
    // viewer the user compares us with honours it, so the wallpaper does too.
    reader.setAutoTransform(true);

    const QSize claimed = reader.size();
    const bool sizeKnown = claimed != QSize(-1, -1);
    if (sizeKnown && !claimIsPlausible(claimed, file.size())) {
        into = QImage();
        return false;
    }
    // A buffer of another size is reallocated by the decoder anyway; releasing it
    // first keeps the old and the new picture from being held at the same time.
    // A buffer shared with someone else would be copied before being overwritten.
    if (into.size() != claimed || !into.isDetached())
        into = QImage();
    // Qt's decoders fill a picture given to them when its size and format are theirs,
    // so the memory can be one that faults in fast. Only for a format kept as it is:
    // Qt converts in place only memory it allocated itself, and would copy this whole.
    if (kLargeImagesOffered && into.isNull() && sizeKnown) {
        if (const QImage::Format decoded = reader.imageFormat(); isScalable(decoded))
            into = allocateLargeImage(claimed, decoded);
    }

    // Some decoders (MNG) report success for a file that gave no picture at all; a
    // stopped one may have filled the rows it did not read.
    if (!readPicture(reader, device, head, into) || into.isNull() || device.stopped()) {
        into = QImage();
        return false;
    }
    makeScalable(into);
    return true;
}
