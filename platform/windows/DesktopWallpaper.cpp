#include "platform/windows/DesktopWallpaper.h"

#include <optional>
#include <string_view>

namespace win {

namespace {

constexpr const char* desktopKeyPath = "Control Panel\\Desktop";

struct StyleValues {
    const char* tileWallpaper;
    const char* wallpaperStyle;
};

std::optional<StyleValues> styleValues(int style)
{
    switch (style) {
    case 0:
        return StyleValues{"0", "0"};
    case 1:
        return StyleValues{"0", "2"};
    case 2:
        return StyleValues{"1", "0"};
    default:
        return std::nullopt;
    }
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only the last three characters count: "x.bmp", "xbmp" and "x.BMP" all pass.
bool endsInBmp(const std::string& path)
{
    if (path.size() < 3)
        return false;
    const std::string_view tail(path.data() + path.size() - 3, 3);
    return asciiLower(tail[0]) == 'b' && asciiLower(tail[1]) == 'm' && asciiLower(tail[2]) == 'p';
}

} // namespace

void WriteRegistryString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    RegCreateKeyA(root, subkey.c_str(), &key);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

bool SetWallpaper(const std::string& path, int style, const RegistryStringWriter& writeValue)
{
    if (!endsInBmp(path))
        return false;

    if (const auto values = styleValues(style)) {
        writeValue(HKEY_CURRENT_USER, desktopKeyPath, "TileWallpaper", values->tileWallpaper);
        writeValue(HKEY_CURRENT_USER, desktopKeyPath, "WallpaperStyle", values->wallpaperStyle);
    }

    // The call takes a writable pointer although it only reads the path.
    std::string pathBuffer = path;
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, pathBuffer.data(), SPIF_UPDATEINIFILE) != 0;
}

} // namespace win
