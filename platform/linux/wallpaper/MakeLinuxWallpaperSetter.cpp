#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"

#include "platform/linux/wallpaper/PcmanfmState.h"
#include "platform/linux/wallpaper/ProcessToolRunner.h"
#include "platform/linux/wallpaper/X11RootWallpaper.h"

#include <QStandardPaths>

namespace {

// Owns the process runner the setter borrows.
class OwningLinuxWallpaperSetter final : public WallpaperSetter {
public:
    OwningLinuxWallpaperSetter()
        : m_setter(detectRunningDesktop(), m_runner,
                   QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1String("/tapetor"),
                   setRootWindowWallpaper, pcmanfmRunning,
                   QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       + QLatin1String("/pcmanfm-qt"))
    {
    }
    bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) override
    {
        return m_setter.setWallpaper(bmpPath, style, picture);
    }

private:
    ProcessToolRunner m_runner;
    LinuxWallpaperSetter m_setter;
};

} // namespace

std::unique_ptr<WallpaperSetter> makeLinuxWallpaperSetter()
{
    return std::make_unique<OwningLinuxWallpaperSetter>();
}
