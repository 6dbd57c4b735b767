#include "platform/linux/wallpaper/StyleOptions.h"

#include "platform/WallpaperSetter.h"

namespace {

template <typename T> std::optional<T> pick(int style, T center, T stretch, T tile)
{
    switch (style) {
    case StyleCenter:
        return center;
    case StyleStretch:
        return stretch;
    case StyleTile:
        return tile;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> gnomePictureOptions(int style)
{
    return pick<QString>(style, QStringLiteral("centered"), QStringLiteral("stretched"), QStringLiteral("wallpaper"));
}

std::optional<int> xfceImageStyle(int style)
{
    return pick(style, 1, 3, 2);
}

std::optional<int> kdeFillMode(int style)
{
    return pick(style, 6, 0, 3);
}

std::optional<QString> pcmanfmWallpaperMode(int style)
{
    return pick<QString>(style, QStringLiteral("center"), QStringLiteral("stretch"), QStringLiteral("tile"));
}

std::optional<QString> swayBackgroundMode(int style)
{
    return pcmanfmWallpaperMode(style);
}
