#include "engine/DeepPng.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QImage>

#include <png.h>

#include <climits>
#include <csetjmp>

// libpng reports an error by a long jump back to the last setjmp. The functions that
// set one own nothing that needs destroying between it and libpng, and the picture's
// buffer is made outside them, so a jump leaves nothing behind.

namespace {

[[noreturn]] void jumpBack(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Warnings (an odd colour profile, an unknown chunk) change nothing in what is read.
void ignore(png_structp, png_const_charp)
{
}

void readFromDevice(png_structp png, png_bytep data, size_t length)
{
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char*>(data), qint64(length)) != qint64(length))
        png_error(png, "the file ends early");
}

struct Layout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    int passes = 1;
};

// Reads the header and asks libpng for rows of 4 bytes a pixel, in the order of Qt's
// 32-bit formats (0xAARRGGBB in the machine's byte order).
bool readLayout(png_structp png, png_infop info, Layout& layout)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    if (png_get_bit_depth(png, info) != 16 || (type & PNG_COLOR_MASK_PALETTE) != 0 || type == PNG_COLOR_TYPE_GRAY)
        return false;
    layout.width = png_get_image_width(png, info);
    layout.height = png_get_image_height(png, info);
    layout.alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // Rounded to the nearest 8-bit value, as Qt's own conversion from 16 bits does.
    png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
        png_set_tRNS_to_alpha(png);
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
        if (!layout.alpha)
            png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    } else if (layout.alpha) {
        png_set_swap_alpha(png);
    } else {
        png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
    }
    layout.passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == size_t(layout.width) * 4;
}

// Each pass of an interlaced file fills in more pixels of the same rows.
bool readRows(png_structp png, QImage& picture, int passes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < picture.height(); ++y)
            png_read_row(png, picture.scanLine(y), nullptr);
    }
    return true;
}

} // namespace

bool isDeepPng(QByteArrayView head)
{
    // The header chunk comes first: the bit depth at byte 24, the colour type at 25.
    if (head.size() < 26 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.sliced(12, 4) != "IHDR")
        return false;
    const auto type = static_cast<unsigned char>(head[25]);
    return static_cast<unsigned char>(head[24]) == 16
        && (type == PNG_COLOR_TYPE_RGB || type == PNG_COLOR_TYPE_RGB_ALPHA || type == PNG_COLOR_TYPE_GRAY_ALPHA);
}

bool readDeepPng(QIODevice& device, QImage& into)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, ignore);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool read = false;
    if (info != nullptr) {
        png_set_read_fn(png, &device, readFromDevice);
        Layout layout;
        if (readLayout(png, info, layout) && layout.width <= INT_MAX && layout.height <= INT_MAX) {
            const QSize size(int(layout.width), int(layout.height));
            const QImage::Format format = layout.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
            // A buffer of the same size is written over whatever format it had; another
            // one goes before the new one is made, so that the two are never held at once.
            if (into.size() != size || into.depth() != 32 || !into.isDetached() || !into.reinterpretAsFormat(format)) {
                into = QImage();
                into = QImage(size, format);
            }
            read = !into.isNull() && readRows(png, into, layout.passes);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read)
        into = QImage();
    return read;
}
