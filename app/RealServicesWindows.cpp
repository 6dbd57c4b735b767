#include "app/RealServices.h"

#include "app/CommonServices.h"
#include "platform/LogonEntry.h"
#include "platform/SettingsStore.h"
#include "platform/WallpaperSetter.h"
#include "platform/windows/WindowsProgramLocation.h"
#include "platform/windows/WindowsServices.h"
#include "platform/qt/QtSingleInstance.h"

#include <QDir>

namespace {
// Pipe names are seen by every session of the machine, so the user's name goes in;
// the lock lies in the user's own temporary folder.
std::unique_ptr<SingleInstance> makeSingleInstance()
{
    const QString user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        return std::make_unique<QtSingleInstance>(QString(), QString());
    return std::make_unique<QtSingleInstance>(QLatin1String("tapetor-") + user,
                                              QDir::tempPath() + QLatin1String("/tapetor.lock"));
}
} // namespace

struct RealServices::Owned {
    CommonServices common;
    std::unique_ptr<SettingsStore> settings = makeWindowsSettingsStore();
    std::unique_ptr<LogonEntry> logon = makeWindowsLogonEntry();
    std::unique_ptr<WallpaperSetter> wallpaper = makeWindowsWallpaperSetter();
    WindowsProgramLocation location;
    std::unique_ptr<SingleInstance> instance = makeSingleInstance();
};

RealServices::RealServices()
    : m_owned(std::make_unique<Owned>())
{
    m_owned->common.fill(m_services);
    m_services.settings = m_owned->settings.get();
    m_services.logon = m_owned->logon.get();
    m_services.wallpaper = m_owned->wallpaper.get();
    m_services.location = &m_owned->location;
    m_services.instance = m_owned->instance.get();
}

RealServices::~RealServices() = default;

bool RealServices::noDisplay(int, char**)
{
    // Every Windows session has its desktop.
    return false;
}
