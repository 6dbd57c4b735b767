#include "engine/WallpaperBitmap.h"

#include "engine/OpaqueRows.h"

#include <QFile>
#include <QImage>
#include <QTemporaryFile>
#include <QtEndian>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

// Written by hand rather than with QImage::save(): Qt's BMP writer keeps 8-bit and
// 1-bit pictures as palette bitmaps, which would need a converted copy of the whole
// picture first, and it hands the file one row at a time.

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeaderSize = kFileHeaderSize + kInfoHeaderSize;
// Rows go to the file a megabyte at a time: on ext4 this measured twice as fast as
// bands of a few rows.
constexpr qsizetype kChunkBytes = 1 << 20;

qsizetype bmpRowBytes(int width)
{
    return (qsizetype(width) * 3 + 3) & ~qsizetype(3);
}

std::array<uchar, kHeaderSize> bmpHeader(int width, int height)
{
    std::array<uchar, kHeaderSize> h{};
    const quint64 imageBytes = quint64(bmpRowBytes(width)) * quint64(height);
    const quint64 fileBytes = kHeaderSize + imageBytes;
    // Sizes past 4 GiB do not fit the fields; readers use width and height instead.
    const auto fit = [](quint64 v) { return v > 0xFFFFFFFFu ? 0u : quint32(v); };
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(fit(fileBytes), h.data() + 2);
    qToLittleEndian<quint32>(kHeaderSize, h.data() + 10);
    uchar* info = h.data() + kFileHeaderSize;
    qToLittleEndian<quint32>(kInfoHeaderSize, info);
    qToLittleEndian<qint32>(width, info + 4);
    qToLittleEndian<qint32>(height, info + 8); // positive: rows stored bottom-up
    qToLittleEndian<quint16>(1, info + 12); // planes
    qToLittleEndian<quint16>(24, info + 14); // bits per pixel
    qToLittleEndian<quint32>(0, info + 16); // BI_RGB, uncompressed
    qToLittleEndian<quint32>(fit(imageBytes), info + 20);
    qToLittleEndian<qint32>(2835, info + 24); // 72 dpi
    qToLittleEndian<qint32>(2835, info + 28);
    return h;
}

// 0xffRRGGBB pixels to B, G, R bytes.
void packBgrRow(const QRgb* from, uchar* to, int width)
{
    for (int x = 0; x < width; ++x) {
        const QRgb p = from[x];
        to[0] = uchar(p);
        to[1] = uchar(p >> 8);
        to[2] = uchar(p >> 16);
        to += 3;
    }
}

bool writeAll(QFile& file, const uchar* data, qsizetype size)
{
    return file.write(reinterpret_cast<const char*>(data), size) == size;
}

bool writePixels(const QImage& picture, QFile& file)
{
    const int width = picture.width();
    const qsizetype rowBytes = bmpRowBytes(width);
    const int bandRows = int(qMax<qsizetype>(1, kChunkBytes / rowBytes));
    std::vector<uchar> band(size_t(rowBytes * bandRows), 0);
    int filled = 0;
    bool ok = true;
    // The file holds the bottom row first.
    forEachOpaqueRow(picture, true, [&](int, const QRgb* row) {
        packBgrRow(row, band.data() + filled * rowBytes, width);
        if (++filled == bandRows) {
            ok = ok && writeAll(file, band.data(), filled * rowBytes);
            filled = 0;
        }
    });
    return ok && writeAll(file, band.data(), filled * rowBytes);
}

// Puts the complete file `from` in the place of `to` in one step.
bool replaceWith(const QString& from, const QString& to)
{
    const QByteArray fromName = QFile::encodeName(from);
    const QByteArray toName = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    // Renamed over an existing file, the new one is sent to the disk at once on ext4 and
    // btrfs (their guard for programs that skip fsync), and the rename waits for that to
    // start: a third of the whole write for a 4K bitmap. Swapping the two names is as
    // atomic and sends nothing; the old bitmap, now under the temporary name, goes after.
    if (renameat2(AT_FDCWD, fromName.constData(), AT_FDCWD, toName.constData(), RENAME_EXCHANGE) == 0) {
        ::unlink(fromName.constData());
        return true;
    }
    // No bitmap yet, or a file system that cannot swap: a plain rename.
#endif
    // QFile::rename refuses to replace an existing file; rename(2) replaces atomically.
    std::error_code error;
    std::filesystem::rename(fromName.toStdString(), toName.toStdString(), error);
    return !error;
}

} // namespace

bool writeWallpaperBitmap(const QImage& picture, const QString& path)
{
    if (picture.isNull())
        return false;

    // QSaveFile would do the same replacement, but its commit forces the file to disk
    // (fsync), which here costs five times the write itself for a 4K picture on every
    // change. Renaming a complete file over the old one keeps the old file whole after
    // a crash or a failed write; the bitmap is rewritten on the next change anyway.
    QString complete;
    {
        QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
        if (!file.open())
            return false;
        const auto header = bmpHeader(picture.width(), picture.height());
        if (!writeAll(file, header.data(), qsizetype(header.size())) || !writePixels(picture, file) || !file.flush())
            return false;
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        complete = file.fileName();
        // QTemporaryFile::close() keeps the file open, and Windows renames no open
        // file: only the end of the scope lets go of it.
        file.setAutoRemove(false);
    }

    if (!replaceWith(complete, path)) {
        QFile::remove(complete);
        return false;
    }
    return true;
}
