#include "engine/LargeImage.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <limits>

QImage allocateLargeImage(QSize size, QImage::Format format)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // Every page of fresh memory costs a fault when it is first written. A decoded 4K
    // photo has some 8,000 pages of 4 KiB, and the faults took twice as long as the
    // decode itself on a virtual machine. Debian and Ubuntu give large pages only to
    // memory that asks for them, which QImage's own allocation does not.
    constexpr qsizetype kLargePage = qsizetype(2) * 1024 * 1024;
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth == 0)
        return QImage();
    // Rows padded to 32 bits, as QImage pads its own.
    const qsizetype bytesPerLine = (qsizetype(size.width()) * depth + 31) / 32 * 4;
    if (bytesPerLine > std::numeric_limits<qsizetype>::max() / size.height())
        return QImage();
    const qsizetype bytes = bytesPerLine * size.height();
    if (bytes < kLargePage)
        return QImage();
    void* memory = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return QImage();
    madvise(memory, size_t(bytes), MADV_HUGEPAGE);
    struct Mapping {
        void* memory;
        size_t bytes;
    };
    auto* mapping = new Mapping{memory, size_t(bytes)};
    return QImage(
        static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine, format,
        [](void* info) {
            const auto* done = static_cast<Mapping*>(info);
            munmap(done->memory, done->bytes);
            delete done;
        },
        mapping);
#else
    Q_UNUSED(size);
    Q_UNUSED(format);
    return QImage();
#endif
}
