#pragma once

#include <QString>

#include <optional>

// Each desktop's own name or number for the display styles center (0), stretch (1)
// and tile (2). Any other code has none: the backend then leaves the style alone.

std::optional<QString> gnomePictureOptions(int style); // centered, stretched, wallpaper
std::optional<int> xfceImageStyle(int style); // 1, 3, 2
std::optional<int> kdeFillMode(int style); // 6 (pad), 0, 3
std::optional<QString> pcmanfmWallpaperMode(int style); // center, stretch, tile
std::optional<QString> swayBackgroundMode(int style); // center, stretch, tile
