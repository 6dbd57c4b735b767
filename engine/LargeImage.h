#pragma once

#include <QImage>
#include <QSize>

// A picture of the given size and format whose memory the system may back with large
// pages. Null when the memory could not be had, as QImage(size, format) would be.
QImage allocateLargeImage(QSize size, QImage::Format format);
