#include "engine/JpegScans.h"

#include <QByteArray>
#include <QIODevice>

#include <cstring>

// Written by hand: neither Qt nor libjpeg tells how many scans a file holds before
// decoding them all, and a progressive JPEG may repeat its scans thousands of times.

namespace {

constexpr int kStartOfImage = 0xD8;
constexpr int kEndOfImage = 0xD9;
constexpr int kStartOfScan = 0xDA;

// Reads the device a block at a time; the compressed data is searched with memchr.
class ByteStream {
public:
    explicit ByteStream(QIODevice& device)
        : m_device(device)
        , m_block(1 << 16, '\0')
    {
    }

    // The next byte, or -1 at the end of the data.
    int next()
    {
        if (m_at == m_end && !refill())
            return -1;
        return quint8(m_block[m_at++]);
    }

    bool skip(qint64 count)
    {
        while (count > 0) {
            if (m_at == m_end && !refill())
                return false;
            const qint64 step = qMin<qint64>(count, m_end - m_at);
            m_at += step;
            count -= step;
        }
        return true;
    }

    // Moves past the next 0xFF byte; false at the end of the data.
    bool passNextFF()
    {
        for (;;) {
            const void* found = std::memchr(m_block.constData() + m_at, 0xFF, size_t(m_end - m_at));
            if (found) {
                m_at = static_cast<const char*>(found) - m_block.constData() + 1;
                return true;
            }
            m_at = m_end;
            if (!refill())
                return false;
        }
    }

private:
    bool refill()
    {
        const qint64 read = m_device.read(m_block.data(), m_block.size());
        m_at = 0;
        m_end = read > 0 ? read : 0;
        return m_end > 0;
    }

    QIODevice& m_device;
    QByteArray m_block;
    qint64 m_at = 0;
    qint64 m_end = 0;
};

// The code of the next marker: 0xFF followed by a byte other than 0x00 (a stuffed 0xFF
// in the compressed data) and 0xFF (fill). Everything before it is skipped, the
// compressed data of a scan and stray bytes alike, as the decoder itself skips them.
int nextMarker(ByteStream& stream)
{
    for (;;) {
        if (!stream.passNextFF())
            return -1;
        int code = stream.next();
        while (code == 0xFF)
            code = stream.next();
        if (code != 0x00)
            return code;
    }
}

// Markers that carry no length and no segment after them: the restart markers
// (0xD0 to 0xD7) inside the compressed data, TEM, and the start of the picture.
bool standsAlone(int code)
{
    return (code >= 0xD0 && code <= 0xD7) || code == 0x01 || code == kStartOfImage;
}

} // namespace

int countJpegScans(QIODevice& device, int enough)
{
    ByteStream stream(device);
    if (stream.next() != 0xFF || stream.next() != kStartOfImage)
        return 0;
    int scans = 0;
    for (;;) {
        const int code = nextMarker(stream);
        if (code < 0 || code == kEndOfImage)
            return scans;
        if (standsAlone(code))
            continue;
        const int high = stream.next();
        const int low = stream.next();
        if (low < 0)
            return scans;
        const int length = (high << 8) | low; // includes its own two bytes
        if (code == kStartOfScan && ++scans > enough)
            return scans;
        if (length < 2 || !stream.skip(length - 2))
            return scans;
    }
}
