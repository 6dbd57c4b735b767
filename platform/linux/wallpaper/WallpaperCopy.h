#pragma once

#include <QString>
#include <QtGlobal>

class QImage;

// Desktops that ignore a path they already show, or that cannot read BMP, get a PNG
// copy of the picture whose name changes with every change: "tapetor-<stamp>.png".

QString wallpaperCopyName(qint64 stamp);
bool isWallpaperCopyName(const QString& fileName);

// Writes the picture into folder (created when missing) under the name for stamp,
// or a later stamp when that name is taken. Returns the path, empty on failure.
QString writeWallpaperCopy(const QImage& picture, const QString& folder, qint64 stamp);

// Removes every copy in folder except the one at keepPath (empty: remove all).
void removeWallpaperCopies(const QString& folder, const QString& keepPath);
