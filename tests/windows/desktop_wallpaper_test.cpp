// SetWallpaper: the style values under "Control Panel\Desktop" and the wallpaper itself.

#include "Check.h"
#include "TestEnvironment.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/DesktopWallpaper.h"

#include <vector>

namespace {

const std::string desktopKey = "Control Panel\\Desktop";

struct Write {
    HKEY root;
    std::string subkey;
    std::string name;
    std::string value;
    bool operator==(const Write&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Write& write)
{
    return out << write.subkey << "\\" << write.name << "=" << write.value;
}

template <typename T> std::ostream& operator<<(std::ostream& out, const std::vector<T>& items)
{
    out << "[";
    for (const auto& item : items)
        out << " " << item;
    return out << " ]";
}

// Records each registry write, then lets it through to the registry.
struct RecordingWriter {
    std::vector<Write> writes;

    win::RegistryStringWriter writer()
    {
        return [this](HKEY root, const std::string& subkey, const std::string& name, const std::string& value) {
            writes.push_back({root, subkey, name, value});
            win::WriteRegistryString(root, subkey, name, value);
        };
    }
};

std::optional<std::string> desktopValue(const std::string& name)
{
    return registryString(HKEY_CURRENT_USER, desktopKey, name);
}

void setStyleValues(const std::string& tile, const std::string& style)
{
    win::WriteRegistryString(HKEY_CURRENT_USER, desktopKey, "TileWallpaper", tile);
    win::WriteRegistryString(HKEY_CURRENT_USER, desktopKey, "WallpaperStyle", style);
}

std::string currentWallpaper()
{
    char path[MAX_PATH] = {};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0))
        return "(SPI_GETDESKWALLPAPER failed)";
    return path;
}

// A real 1 x 1 bitmap, so the calls would also succeed on a Windows desktop, which
// refuses a file that does not exist (Wine accepts it).
std::string writeBitmap(const std::string& name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = 1;
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const BYTE pixelRow[4] = {0x20, 0x80, 0xe0, 0};
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4d42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + sizeof pixelRow;

    const HANDLE handle
        = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CHECK(handle != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, &file, sizeof file, &written, nullptr);
    WriteFile(handle, &info, sizeof info, &written, nullptr);
    WriteFile(handle, pixelRow, sizeof pixelRow, &written, nullptr);
    CloseHandle(handle);
    return path;
}

void eachStyleWritesItsTwoValuesInOrder()
{
    const std::string bitmap = writeBitmap("tapetor.bmp");
    struct Case {
        int style;
        const char* tile;
        const char* wallpaperStyle;
    };
    for (const Case& c : {Case{0, "0", "0"}, Case{1, "0", "2"}, Case{2, "1", "0"}}) {
        setStyleValues("stale", "stale");
        RecordingWriter recorder;
        CHECK(win::SetWallpaper(bitmap, c.style, recorder.writer()));

        const std::vector<Write> expected = {
            {HKEY_CURRENT_USER, desktopKey, "TileWallpaper", c.tile},
            {HKEY_CURRENT_USER, desktopKey, "WallpaperStyle", c.wallpaperStyle},
        };
        CHECK_EQ(recorder.writes, expected);
        CHECK_EQ(desktopValue("TileWallpaper"), std::optional<std::string>(c.tile));
        CHECK_EQ(desktopValue("WallpaperStyle"), std::optional<std::string>(c.wallpaperStyle));
        CHECK_EQ(currentWallpaper(), bitmap);
    }

    // The default writer is the real one.
    setStyleValues("stale", "stale");
    CHECK(win::SetWallpaper(bitmap, 2));
    CHECK_EQ(desktopValue("TileWallpaper"), std::optional<std::string>("1"));
    CHECK_EQ(desktopValue("WallpaperStyle"), std::optional<std::string>("0"));
}

void otherStyleCodesSetOnlyThePicture()
{
    const std::string before = writeBitmap("before.bmp");
    const std::string bitmap = writeBitmap("tapetor-other-style.bmp");
    for (int style : {7, -1, 3}) {
        CHECK(win::SetWallpaper(before, 0));
        setStyleValues("kept", "kept too");
        RecordingWriter recorder;
        CHECK(win::SetWallpaper(bitmap, style, recorder.writer()));
        CHECK(recorder.writes.empty());
        CHECK_EQ(desktopValue("TileWallpaper"), std::optional<std::string>("kept"));
        CHECK_EQ(desktopValue("WallpaperStyle"), std::optional<std::string>("kept too"));
        CHECK_EQ(currentWallpaper(), bitmap);
    }
}

void onlyPathsEndingInBmpAreAccepted()
{
    const std::string previous = writeBitmap("previous.bmp");
    CHECK(win::SetWallpaper(previous, 1));
    setStyleValues("kept", "kept too");

    for (const char* path : {"C:\\pictures\\photo.jpg", "C:\\pictures\\photo.bmp.jpg", "mp", ""}) {
        RecordingWriter recorder;
        CHECK(!win::SetWallpaper(path, 1, recorder.writer()));
        CHECK(recorder.writes.empty());
    }
    CHECK_EQ(desktopValue("TileWallpaper"), std::optional<std::string>("kept"));
    CHECK_EQ(desktopValue("WallpaperStyle"), std::optional<std::string>("kept too"));
    CHECK_EQ(currentWallpaper(), previous);

    // Letter case does not matter, and only the last three characters are looked at.
    const std::string capitals = writeBitmap("TAPETOR-CAPITALS.BMP");
    CHECK(win::SetWallpaper(capitals, 0));
    CHECK_EQ(currentWallpaper(), capitals);
    CHECK_EQ(desktopValue("WallpaperStyle"), std::optional<std::string>("0"));
    const std::string mixed = writeBitmap("tapetor-mixed.bMp");
    CHECK(win::SetWallpaper(mixed, 1));
    CHECK_EQ(currentWallpaper(), mixed);
    const std::string noDot = writeBitmap("tapetor-nodotbmp");
    CHECK(win::SetWallpaper(noDot, 1));
    CHECK_EQ(currentWallpaper(), noDot);
}

void czechPathReachesTheDesktop()
{
    const auto name = win::wideToAnsi(L"tapeta kůň.bmp");
    CHECK(name.has_value());
    if (!name)
        return;
    const std::string bitmap = writeBitmap(*name);
    CHECK(win::SetWallpaper(bitmap, 1));
    CHECK_EQ(currentWallpaper(), bitmap);
    CHECK(win::ansiToWide(currentWallpaper()).find(L"kůň") != std::wstring::npos);
}

void writeRegistryStringCreatesTheKey()
{
    const std::string subkey = "Software\\tapetor-writer\\created\\here";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\tapetor-writer");
    win::WriteRegistryString(HKEY_CURRENT_USER, subkey, "name", "value");
    const auto raw = registryRawValue(HKEY_CURRENT_USER, subkey, "name");
    CHECK(raw.has_value());
    if (raw) {
        CHECK_EQ(raw->type, static_cast<DWORD>(REG_SZ));
        // The size counts the terminating NUL. (Wine adds a missing one by itself, so
        // only Windows catches a short size here.)
        CHECK_EQ(raw->bytes, std::string("value", 6));
    }
    win::WriteRegistryString(HKEY_CURRENT_USER, subkey, "name", "");
    CHECK_EQ(registryString(HKEY_CURRENT_USER, subkey, "name"), std::optional<std::string>(""));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\tapetor-writer");
}

} // namespace

int main()
{
    if (!mayChangeThisDesktop("desktop_wallpaper_test"))
        return skipExitCode;
    eachStyleWritesItsTwoValuesInOrder();
    otherStyleCodesSetOnlyThePicture();
    onlyPathsEndingInBmpAreAccepted();
    czechPathReachesTheDesktop();
    writeRegistryStringCreatesTheKey();
    return check::result("desktop_wallpaper_test");
}
