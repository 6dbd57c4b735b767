// Measures the parts of a wallpaper change. Modes:
//
//   bench_change make-photo OUT.jpg WIDTH HEIGHT TARGET_BYTES
//       a synthetic photograph (gradients, shapes, grain) at the JPEG quality whose
//       size comes closest to TARGET_BYTES
//   bench_change cycle PHOTO STYLE BITMAP
//       one whole change as the program makes it: decode, hand the picture to the X
//       root window, write the bitmap; prints the process's peak memory in KiB
//   bench_change tick PHOTO BITMAP RUNS
//       with the picture already decoded: bitmap write + hand-over against a plain
//       write of as many bytes, in-process, min and median in milliseconds
//   bench_change stages PHOTO BITMAP RUNS
//       each step on its own and the alternatives the code chose between

#include "engine/PictureIO.h"
#include "engine/WallpaperBitmap.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"
#include "platform/linux/wallpaper/RootComposition.h"
#include "platform/linux/wallpaper/WallpaperCopy.h"
#include "platform/linux/wallpaper/X11RootWallpaper.h"
#include "platform/qt/ThreadedBitmapWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSaveFile>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Timing {
    double min = 0;
    double median = 0;
};

Timing measure(int runs, const std::function<void()>& step)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void report(const char* name, Timing t)
{
    std::printf("%-48s %9.1f %9.1f\n", name, t.min, t.median);
}

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QImage syntheticPhoto(int width, int height)
{
    QImage photo(width, height, QImage::Format_RGB32);
    QRandomGenerator random(20240501);
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(0.55, QColor(200, 220, 240));
    sky.setColorAt(1, QColor(60, 110, 40));
    painter.fillRect(photo.rect(), sky);
    for (int i = 0; i < 400; ++i) {
        const QPointF centre(random.bounded(width), random.bounded(height));
        const double radius = 10 + random.bounded(width / 12);
        QRadialGradient blob(centre, radius);
        const QColor colour = QColor::fromHsv(random.bounded(360), 60 + random.bounded(180), 60 + random.bounded(190));
        blob.setColorAt(0, colour);
        blob.setColorAt(0.7, colour.darker(140));
        blob.setColorAt(1, Qt::transparent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius * (0.5 + random.generateDouble()));
    }
    for (int i = 0; i < 150; ++i) {
        painter.setPen(QPen(QColor::fromHsv(random.bounded(360), 120, 120), 1 + random.bounded(6)));
        painter.drawLine(random.bounded(width), random.bounded(height), random.bounded(width), random.bounded(height));
    }
    painter.end();
    // Sensor grain, which is what makes photographs large as JPEG.
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(25)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return photo;
}

int makePhoto(const QString& out, int width, int height, qint64 target)
{
    const QImage photo = syntheticPhoto(width, height);
    QByteArray best;
    int bestQuality = 0;
    for (int low = 30, high = 98; low <= high;) {
        const int quality = (low + high) / 2;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, "JPEG", quality);
        if (best.isEmpty() || qAbs(bytes.size() - target) < qAbs(best.size() - target)) {
            best = bytes;
            bestQuality = quality;
        }
        (bytes.size() < target ? low : high) = bytes.size() < target ? quality + 1 : quality - 1;
    }
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(best) != best.size())
        return 1;
    std::printf("%s: %dx%d, quality %d, %lld bytes\n", qPrintable(out), width, height, bestQuality,
                qint64(best.size()));
    return 0;
}

int cycle(const QString& photo, int style, const QString& bitmap)
{
    const auto setter = makeLinuxWallpaperSetter();
    // As the program makes a change: the desktop first, then the bitmap beside the
    // window's thread, complete before the process ends.
    ThreadedBitmapWriter bitmaps;
    QImage picture;
    const bool ok = loadPicture(photo, picture) && setter->setWallpaper(bitmap, style, &picture);
    if (ok)
        bitmaps.write(picture, bitmap);
    const bool written = bitmaps.finish();
    std::printf("%ld\n", peakKiB());
    return ok && written ? 0 : 1;
}

qint64 bitmapBytes(const QImage& picture)
{
    return 54 + qint64((picture.width() * 3 + 3) & ~3) * picture.height();
}

bool rawWrite(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

int tick(const QString& photo, const QString& bitmap, int runs)
{
    const auto setter = makeLinuxWallpaperSetter();
    QImage picture;
    if (!loadPicture(photo, picture))
        return 1;
    const QByteArray raw(bitmapBytes(picture), '\x5a');
    const QString rawPath = bitmap + QStringLiteral(".raw");
    bool ok = true;
    // Alternate the two so that drift of the machine hits both alike.
    std::vector<double> ours;
    std::vector<double> floor;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        ok = writeWallpaperBitmap(picture, bitmap) && setter->setWallpaper(bitmap, 1, &picture) && ok;
        ours.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        ok = rawWrite(rawPath, raw) && ok;
        floor.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    QFile::remove(rawPath);
    std::sort(ours.begin(), ours.end());
    std::sort(floor.begin(), floor.end());
    std::printf("tick %.1f %.1f\nraw %.1f %.1f\n", ours.front(), ours[ours.size() / 2], floor.front(),
                floor[floor.size() / 2]);
    return ok ? 0 : 1;
}

int stages(const QString& photo, const QString& bitmap, int runs)
{
    QImage picture;
    std::printf("%-48s %9s %9s\n", "step (ms)", "min", "median");
    report("decode into the kept picture", measure(runs, [&] { loadPicture(photo, picture); }));
    const QByteArray raw(bitmapBytes(picture), '\x5a');
    report("plain write of the bitmap's bytes", measure(runs, [&] { rawWrite(bitmap + QStringLiteral(".raw"), raw); }));
    QFile::remove(bitmap + QStringLiteral(".raw"));
    report("bitmap: ours (rename, no fsync)", measure(runs, [&] { writeWallpaperBitmap(picture, bitmap); }));
    report("bitmap: QImage::save via QSaveFile (fsync)", measure(runs, [&] {
               QSaveFile file(bitmap);
               if (file.open(QIODevice::WriteOnly) && picture.save(&file, "BMP"))
                   file.commit();
           }));

    QImage screen(1920, 1080, QImage::Format_RGB32);
    const QList<QRect> monitors{screen.rect()};
    report("compose stretch 2:1: bilinear QPainter (ours)",
           measure(runs, [&] { composeRootPicture(picture, 1, monitors, screen); }));
    report("compose stretch 2:1: QImage::scaled averaging", measure(runs, [&] {
               screen = picture.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
           }));
    report("compose center", measure(runs, [&] { composeRootPicture(picture, 0, monitors, screen); }));
    report("compose tile", measure(runs, [&] { composeRootPicture(picture, 2, monitors, screen); }));
    report("X root hand-over, stretch (compose included)", measure(runs, [&] { setRootWindowWallpaper(picture, 1); }));

    // Qt's PNG writer at its fastest settings, against the copy the desktops get.
    const QString copies = bitmap + QStringLiteral(".copies");
    QDir().mkpath(copies);
    const struct {
        const char* name;
        int quality;
    } qtPng[] = {{"PNG copy: Qt, quality 100 (zlib level 0)", 100}, {"PNG copy: Qt, quality 80 (zlib level 1)", 80}};
    for (const auto& variant : qtPng) {
        report(variant.name, measure(3, [&] {
                   QImageWriter writer(copies + QStringLiteral("/x.png"), "png");
                   writer.setQuality(variant.quality);
                   writer.write(picture);
               }));
    }
    report("PNG copy: ours, stored (as the setter writes it)", measure(runs, [&] {
               writeWallpaperCopy(picture, copies, 1);
               removeWallpaperCopies(copies, {});
           }));
    QDir(copies).removeRecursively();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const QString mode = a.value(1);
    if (mode == QLatin1String("make-photo") && a.size() == 6)
        return makePhoto(a[2], a[3].toInt(), a[4].toInt(), a[5].toLongLong());
    if (mode == QLatin1String("cycle") && a.size() == 5)
        return cycle(a[2], a[3].toInt(), a[4]);
    if (mode == QLatin1String("tick") && a.size() == 5)
        return tick(a[2], a[3], a[4].toInt());
    if (mode == QLatin1String("stages") && a.size() == 5)
        return stages(a[2], a[3], a[4].toInt());
    std::fprintf(stderr, "usage: see the comment at the top of bench_change.cpp\n");
    return 2;
}
