#include "app/RealServices.h"

#include "platform/LogonEntry.h"
#include "platform/SettingsStore.h"
#include "platform/WallpaperSetter.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProcessControl.h"
#include "platform/qt/QtShellOpener.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/SystemClock.h"
#include "platform/windows/WindowsProgramLocation.h"
#include "platform/windows/WindowsServices.h"

struct RealServices::Owned {
    std::unique_ptr<SettingsStore> settings = makeWindowsSettingsStore();
    std::unique_ptr<LogonEntry> logon = makeWindowsLogonEntry();
    std::unique_ptr<WallpaperSetter> wallpaper = makeWindowsWallpaperSetter();
    QtMessageBoxes messages;
    QtFileDialogs dialogs;
    SystemClock clock;
    QtProcessControl process;
    QtShellOpener shell;
    QtTrayIcon tray;
    WindowsProgramLocation location;
};

RealServices::RealServices()
    : m_owned(std::make_unique<Owned>())
{
    m_services.settings = m_owned->settings.get();
    m_services.logon = m_owned->logon.get();
    m_services.wallpaper = m_owned->wallpaper.get();
    m_services.messages = &m_owned->messages;
    m_services.dialogs = &m_owned->dialogs;
    m_services.clock = &m_owned->clock;
    m_services.process = &m_owned->process;
    m_services.shell = &m_owned->shell;
    m_services.tray = &m_owned->tray;
    m_services.location = &m_owned->location;
}

RealServices::~RealServices() = default;
