#include "platform/linux/wallpaper/UncompressedPng.h"

#include "engine/OpaqueRows.h"

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <zlib.h>

#include <array>
#include <vector>

// Written by hand: Qt's PNG writer (libpng) tries every row filter on every row even
// when told not to compress, which takes ten times as long as writing the bitmap for
// a 4K picture. The format needs only chunk framing, stored deflate blocks and two
// checksums (zlib's).

namespace {

constexpr qsizetype kStoredBlockMax = 65535;
constexpr int kBandRows = 64;

class ChunkWriter {
public:
    explicit ChunkWriter(QFile& file)
        : m_file(file)
    {
    }

    bool begin(const char type[4], quint32 length)
    {
        std::array<uchar, 8> head{};
        qToBigEndian<quint32>(length, head.data());
        std::copy(type, type + 4, head.begin() + 4);
        m_crc = crc32(0, head.data() + 4, 4);
        return raw(head.data(), head.size());
    }
    bool data(const uchar* bytes, qsizetype size)
    {
        if (size == 0)
            return true; // zlib restarts the checksum when given no buffer
        m_crc = crc32(m_crc, bytes, uInt(size));
        return raw(bytes, size);
    }
    bool end()
    {
        std::array<uchar, 4> crc{};
        qToBigEndian<quint32>(quint32(m_crc), crc.data());
        return raw(crc.data(), crc.size());
    }
    bool chunk(const char type[4], const uchar* bytes, quint32 size)
    {
        return begin(type, size) && data(bytes, size) && end();
    }

private:
    bool raw(const uchar* bytes, qsizetype size)
    {
        return m_file.write(reinterpret_cast<const char*>(bytes), size) == size;
    }

    QFile& m_file;
    uLong m_crc = 0;
};

// 0xffRRGGBB pixels to R, G, B bytes after the row's filter byte (0: none).
void packPngRow(const QRgb* from, uchar* to, int width)
{
    *to++ = 0;
    for (int x = 0; x < width; ++x) {
        const QRgb p = from[x];
        to[0] = uchar(p >> 16);
        to[1] = uchar(p >> 8);
        to[2] = uchar(p);
        to += 3;
    }
}

// One IDAT chunk holding a band of rows as stored deflate blocks; the first chunk
// opens the zlib stream, the last closes it with the Adler-32 of all rows.
bool writeBand(ChunkWriter& out, const uchar* rows, qsizetype size, bool first, bool last, uLong& adler)
{
    const qsizetype blocks = (size + kStoredBlockMax - 1) / kStoredBlockMax;
    const quint32 length = quint32((first ? 2 : 0) + blocks * 5 + size + (last ? 4 : 0));
    if (!out.begin("IDAT", length))
        return false;
    static const uchar zlibHeader[2] = {0x78, 0x01};
    if (first && !out.data(zlibHeader, 2))
        return false;
    for (qsizetype at = 0; at < size; at += kStoredBlockMax) {
        const quint16 n = quint16(qMin(kStoredBlockMax, size - at));
        std::array<uchar, 5> header{};
        header[0] = last && at + n == size ? 1 : 0; // final block flag, type "stored"
        qToLittleEndian<quint16>(n, header.data() + 1);
        qToLittleEndian<quint16>(quint16(~n), header.data() + 3);
        if (!out.data(header.data(), header.size()) || !out.data(rows + at, n))
            return false;
    }
    adler = adler32(adler, rows, uInt(size));
    if (last) {
        std::array<uchar, 4> sum{};
        qToBigEndian<quint32>(quint32(adler), sum.data());
        if (!out.data(sum.data(), sum.size()))
            return false;
    }
    return out.end();
}

} // namespace

bool writeUncompressedPng(const QImage& picture, const QString& path)
{
    if (picture.isNull())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    ChunkWriter out(file);
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    std::array<uchar, 13> header{};
    qToBigEndian<quint32>(quint32(picture.width()), header.data());
    qToBigEndian<quint32>(quint32(picture.height()), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    bool ok = file.write(signature, 8) == 8 && out.chunk("IHDR", header.data(), 13);

    const qsizetype rowBytes = 1 + qsizetype(picture.width()) * 3;
    std::vector<uchar> band(size_t(rowBytes * kBandRows));
    uLong adler = adler32(0, nullptr, 0);
    int filled = 0;
    forEachOpaqueRow(picture, false, [&](int y, const QRgb* row) {
        packPngRow(row, band.data() + filled * rowBytes, picture.width());
        const bool last = y == picture.height() - 1;
        if (++filled == kBandRows || last) {
            ok = ok && writeBand(out, band.data(), filled * rowBytes, y + 1 == filled, last, adler);
            filled = 0;
        }
    });
    ok = ok && out.chunk("IEND", nullptr, 0) && file.flush();
    file.close();
    if (!ok)
        QFile::remove(path);
    return ok;
}
