#include "app/RealServices.h"

#include "app/CommonServices.h"
#include "platform/LogonEntry.h"
#include "platform/SettingsStore.h"
#include "platform/WallpaperSetter.h"
#include "platform/windows/WindowsProgramLocation.h"
#include "platform/windows/WindowsServices.h"

struct RealServices::Owned {
    CommonServices common;
    std::unique_ptr<SettingsStore> settings = makeWindowsSettingsStore();
    std::unique_ptr<LogonEntry> logon = makeWindowsLogonEntry();
    std::unique_ptr<WallpaperSetter> wallpaper = makeWindowsWallpaperSetter();
    WindowsProgramLocation location;
};

RealServices::RealServices()
    : m_owned(std::make_unique<Owned>())
{
    m_owned->common.fill(m_services);
    m_services.settings = m_owned->settings.get();
    m_services.logon = m_owned->logon.get();
    m_services.wallpaper = m_owned->wallpaper.get();
    m_services.location = &m_owned->location;
}

RealServices::~RealServices() = default;
