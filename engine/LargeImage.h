#pragma once

#include <QImage>
#include <QSize>

// A picture of the given size and format whose memory the system may back with large
// pages. Null for a picture under one large page, where the system has no such pages to
// ask for, or when the memory could not be had: QImage's own allocation is then as good.
QImage allocateLargeImage(QSize size, QImage::Format format);

// Whether allocateLargeImage can give anything on this system. Where it cannot, the
// decoder is not asked for its format ahead of the read: under Wine, a logon run whose
// decoder had been asked for it did not end.
#ifdef Q_OS_LINUX
constexpr bool kLargeImagesOffered = true;
#else
constexpr bool kLargeImagesOffered = false;
#endif
