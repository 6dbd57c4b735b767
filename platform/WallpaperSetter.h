#pragma once

#include <QString>

class QImage;

// Display styles, by their stored codes.
enum DisplayStyleCode : int { StyleCenter = 0, StyleStretch = 1, StyleTile = 2 };

// Hands a picture to the desktop as its wallpaper.
class WallpaperSetter {
public:
    virtual ~WallpaperSetter() = default;

    // bmpPath is the bitmap that was just written; picture is the same picture
    // already decoded (may be null when the bitmap was not rewritten), so a backend
    // that draws the wallpaper itself never has to read the file back.
    // A style outside 0..2 sets the picture without touching the style.
    // Returns true only when the desktop accepted the picture.
    virtual bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) = 0;
};
