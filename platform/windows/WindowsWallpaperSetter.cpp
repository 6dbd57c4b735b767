#include "platform/WallpaperSetter.h"
#include "platform/windows/QtAnsiText.h"
#include "platform/windows/WindowsServices.h"

#include <QDir>

// Last: <windows.h> defines macros (min, max) that Qt headers must not see.
#include "platform/windows/DesktopWallpaper.h"

namespace {

class WindowsWallpaperSetter final : public WallpaperSetter {
public:
    // Windows reads the picture from the file itself, so the decoded one is not needed.
    bool setWallpaper(const QString& bmpPath, int style, const QImage*) override
    {
        const auto ansiPath = win::toAnsi(QDir::toNativeSeparators(bmpPath));
        return ansiPath && win::SetWallpaper(*ansiPath, style);
    }
    bool readsBitmapFile() const override { return true; }
};

} // namespace

std::unique_ptr<WallpaperSetter> makeWindowsWallpaperSetter()
{
    return std::make_unique<WindowsWallpaperSetter>();
}
