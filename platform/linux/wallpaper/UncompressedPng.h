#pragma once

#include <QString>

class QImage;

// Writes the picture as a PNG whose image data is stored, not compressed: 8-bit RGB,
// no row filters, transparent parts laid over black. Any PNG reader takes it; it is
// written about as fast as the bitmap. False when the file could not be written.
bool writeUncompressedPng(const QImage& picture, const QString& path);
