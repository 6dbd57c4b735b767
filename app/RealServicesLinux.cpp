#include "app/RealServices.h"

#include "app/CommonServices.h"
#include "platform/linux/AutostartLogonEntry.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/LinuxProgramLocation.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"

struct RealServices::Owned {
    CommonServices common;
    IniSettingsStore settings;
    AutostartLogonEntry logon;
    std::unique_ptr<WallpaperSetter> wallpaper = makeLinuxWallpaperSetter();
    LinuxProgramLocation location;
};

RealServices::RealServices()
    : m_owned(std::make_unique<Owned>())
{
    m_owned->common.fill(m_services);
    m_services.settings = &m_owned->settings;
    m_services.logon = &m_owned->logon;
    m_services.wallpaper = m_owned->wallpaper.get();
    m_services.location = &m_owned->location;
}

RealServices::~RealServices() = default;
