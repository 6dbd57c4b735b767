#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"

#include "platform/linux/wallpaper/PcmanfmState.h"
#include "platform/linux/wallpaper/ProcessToolRunner.h"
#include "platform/linux/wallpaper/SwaybgProcess.h"
#include "platform/linux/wallpaper/X11RootWallpaper.h"

#include <QStandardPaths>

namespace {

// Owns the process runner the setter borrows.
class OwningLinuxWallpaperSetter final : public WallpaperSetter {
public:
    OwningLinuxWallpaperSetter()
        : m_swaybg(swaybgPidFile(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                                 qEnvironmentVariable("WAYLAND_DISPLAY")),
                   copyFolder())
        , m_setter(detectRunningDesktop(), m_runner, copyFolder(), setRootWindowWallpaper, pcmanfmRunning,
                   QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       + QLatin1String("/pcmanfm-qt"),
                   [this](const QString& picturePath, const QStringList& arguments) {
                       return m_swaybg.replace(picturePath, arguments);
                   })
    {
    }
    bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) override
    {
        return m_setter.setWallpaper(bmpPath, style, picture);
    }

private:
    static QString copyFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1String("/tapetor");
    }

    ProcessToolRunner m_runner;
    SwaybgProcess m_swaybg;
    LinuxWallpaperSetter m_setter;
};

} // namespace

std::unique_ptr<WallpaperSetter> makeLinuxWallpaperSetter()
{
    return std::make_unique<OwningLinuxWallpaperSetter>();
}
