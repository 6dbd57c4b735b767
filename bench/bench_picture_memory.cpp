// Peak memory of what the program does with one picture, per pixel, for each kind of
// picture file Qt reads here: decoding it through the program's loader, drawing the
// preview from it, and stretching it over a 1920 x 1080 root window.
//
//   bench_picture_memory [WIDTH HEIGHT]      (defaults: 4000 3000)
//       writes one file of each kind into a temporary folder and handles each in a
//       fresh process of its own; prints the peak memory each step added, in bytes a
//       pixel, and the highest against the decoded picture at four bytes a pixel
//   bench_picture_memory load FILE
//       the child: prints "<width> <height> <decode> <preview> <stretch>", the peaks
//       in bytes
//
// The peak is the kernel's high-water mark of resident memory (VmHWM), reset before
// each step and measured from what the process held before the decoding. The plugin
// of the format is loaded by a decoding of a tiny file of the same kind first.

#include "engine/PictureIO.h"
#include "engine/SmoothScale.h"
#include "platform/linux/wallpaper/RootComposition.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

qint64 statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Writing 5 to clear_refs sets the high-water mark back to the present resident size.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

int load(const QString& path)
{
    // The same kind of file, tiny, through every step: loads the plugin and its
    // libraries beforehand.
    const QString warm = path + QStringLiteral(".warm");
    QImage picture;
    QImage screen(1920, 1080, QImage::Format_RGB32);
    const QList<QRect> monitors{screen.rect()};
    loadPicture(QFileInfo::exists(warm) ? warm : path, picture);
    QImage preview = smoothlyScaled(picture, QSize(97, 81));
    composeRootPicture(picture, 1, monitors, screen);
    picture = QImage();
    if (!resetPeak())
        return 1;
    const qint64 before = statusKiB("VmRSS");
    if (!loadPicture(path, picture))
        return 1;
    const qint64 decode = statusKiB("VmHWM") - before;
    // As the preview box draws it (97 x 81 pixels at 96 dpi).
    resetPeak();
    preview = smoothlyScaled(picture, QSize(97, 81));
    const qint64 scaled = statusKiB("VmHWM") - before;
    resetPeak();
    composeRootPicture(picture, 1, monitors, screen);
    const qint64 stretched = statusKiB("VmHWM") - before;
    std::printf("%d %d %lld %lld %lld\n", picture.width(), picture.height(), decode * 1024, scaled * 1024,
                stretched * 1024);
    return 0;
}

// Smooth colour with some grain: compresses like a picture, not like noise or a flat field.
QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(9));
            line[x] = qRgb((x * 255 / width + grain) & 0xff, (y * 255 / height + grain) & 0xff,
                           ((x + y) * 127 / (width + height) + grain) & 0xff);
        }
    }
    return image;
}

struct Kind {
    const char* name;
    const char* file;
    const char* format;
    QImage::Format pixels;
};

const Kind kKinds[] = {
    {"JPEG colour", "colour.jpg", "jpeg", QImage::Format_RGB32},
    {"JPEG grey", "grey.jpg", "jpeg", QImage::Format_Grayscale8},
    {"PNG colour", "colour.png", "png", QImage::Format_RGB888},
    {"PNG grey", "grey.png", "png", QImage::Format_Grayscale8},
    {"PNG palette", "palette.png", "png", QImage::Format_Indexed8},
    {"PNG alpha", "alpha.png", "png", QImage::Format_ARGB32},
    {"PNG 16-bit colour", "deep.png", "png", QImage::Format_RGBX64},
    {"PNG 16-bit alpha", "deepalpha.png", "png", QImage::Format_RGBA64},
    {"PNG 16-bit grey", "deepgrey.png", "png", QImage::Format_Grayscale16},
    {"BMP 24-bit", "colour.bmp", "bmp", QImage::Format_RGB888},
    {"BMP 8-bit palette", "palette.bmp", "bmp", QImage::Format_Indexed8},
    {"GIF", "palette.gif", nullptr, QImage::Format_Indexed8},
    {"TIFF colour", "colour.tif", "tiff", QImage::Format_RGB32},
    {"TIFF grey", "grey.tif", "tiff", QImage::Format_Grayscale8},
    {"TIFF alpha", "alpha.tif", "tiff", QImage::Format_ARGB32},
    {"WebP", "colour.webp", "webp", QImage::Format_RGB32},
    {"WebP alpha", "alpha.webp", "webp", QImage::Format_ARGB32},
};

QImage inKind(const QImage& source, QImage::Format format)
{
    if (format == QImage::Format_Indexed8)
        return source.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither);
    QImage converted = source.convertToFormat(format);
    if (converted.hasAlphaChannel()) {
        converted.convertTo(QImage::Format_ARGB32);
        for (int y = 0; y < converted.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(converted.scanLine(y));
            for (int x = 0; x < converted.width(); ++x)
                line[x] = (line[x] & 0x00ffffffu) | (quint32(x & 0xff) << 24);
        }
        converted.convertTo(format);
    }
    return converted;
}

// Qt writes no GIF; ImageMagick converts the palette PNG when it is installed.
bool writeKind(const Kind& kind, const QImage& source, const QString& path)
{
    if (!kind.format) {
        const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
        if (convert.isEmpty())
            return false;
        const QString png = path + QStringLiteral(".png");
        if (!inKind(source, kind.pixels).save(png, "png"))
            return false;
        const int status = QProcess::execute(convert, {png, path});
        QFile::remove(png);
        return status == 0;
    }
    if (!QImageWriter::supportedImageFormats().contains(kind.format))
        return false;
    QImageWriter writer(path, kind.format);
    writer.setQuality(85);
    return writer.write(inKind(source, kind.pixels));
}

int run(const QString& self, int width, int height)
{
    QTemporaryDir folder;
    const QImage big = picture(width, height);
    const QImage tiny = picture(16, 16);
    std::printf("Peak memory added by one %dx%d picture, bytes a pixel (at 4 bytes a pixel: %.1f MiB)\n", width, height,
                double(width) * height * 4 / 1048576);
    std::printf("%-20s %10s %8s %8s %8s %10s\n", "kind", "file (kB)", "decode", "preview", "stretch", "max / 4");
    for (const Kind& kind : kKinds) {
        const QString path = folder.filePath(QString::fromLatin1(kind.file));
        if (!writeKind(kind, big, path) || !writeKind(kind, tiny, path + QStringLiteral(".warm"))) {
            std::printf("%-20s %s\n", kind.name, "cannot be written here");
            continue;
        }
        QProcess child;
        child.start(self, {QStringLiteral("load"), path});
        child.waitForFinished(-1);
        const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || out.size() != 5) {
            std::printf("%-20s %s\n", kind.name, "not decoded");
            continue;
        }
        const double pixels = out[0].toDouble() * out[1].toDouble();
        double peaks[3];
        for (int step = 0; step < 3; ++step)
            peaks[step] = out[2 + step].toDouble() / pixels;
        const double highest = *std::max_element(peaks, peaks + 3);
        std::printf("%-20s %10lld %8.2f %8.2f %8.2f %10.2f%s\n", kind.name, QFileInfo(path).size() / 1000, peaks[0],
                    peaks[1], peaks[2], highest / 4, highest / 4 > 1.3 ? "  over 1.30" : "");
        QFile::remove(path);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.value(1) == QLatin1String("load") && a.size() == 3)
        return load(a[2]);
    if (a.size() == 1)
        return run(app.applicationFilePath(), 4000, 3000);
    if (a.size() == 3)
        return run(app.applicationFilePath(), a[1].toInt(), a[2].toInt());
    std::fprintf(stderr, "usage: see the comment at the top of bench_picture_memory.cpp\n");
    return 2;
}
