#pragma once

#include <QString>

class QImage;

// Display styles, by their stored codes.
enum DisplayStyleCode : int { StyleCenter = 0, StyleStretch = 1, StyleTile = 2 };

// Hands a picture to the desktop as its wallpaper.
class WallpaperSetter {
public:
    virtual ~WallpaperSetter() = default;

    // bmpPath is the wallpaper bitmap; picture is the picture it is being written from
    // (null when it is not rewritten: the file's picture is meant), so a backend that
    // draws the wallpaper itself never has to read the file back.
    // A style outside 0..2 sets the picture without touching the style.
    // Returns true only when the desktop accepted the picture.
    virtual bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) = 0;
    // Whether the desktop reads the bitmap file itself, so that it has to be written
    // before the hand-over. Otherwise the desktop gets the picture first and the file
    // follows.
    virtual bool readsBitmapFile() const { return false; }
};
