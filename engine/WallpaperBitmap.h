#pragma once

#include <QString>

class QImage;

// Writes the picture as an uncompressed 24-bit Windows bitmap, whatever its own
// format: grey, palette and monochrome pictures are expanded, and transparent parts
// are laid over black. The file is replaced in one step: a crash, a full disk or an
// unwritable folder leaves the previous file whole. False when nothing was written
// (null picture, write failure).
bool writeWallpaperBitmap(const QImage& picture, const QString& path);
