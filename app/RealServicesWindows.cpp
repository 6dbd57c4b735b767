#include "app/RealServices.h"

#include "app/CommonServices.h"
#include "platform/BackgroundWork.h"
#include "platform/LogonEntry.h"
#include "platform/SettingsStore.h"
#include "platform/WallpaperSetter.h"
#include "platform/windows/WindowsProgramLocation.h"
#include "platform/windows/WindowsServices.h"
#include "platform/qt/FileShownPictureStore.h"
#include "platform/qt/QtSingleInstance.h"

#include <QDir>
#include <QStandardPaths>

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

// %LOCALAPPDATA%\tapetor: what the program remembers between starts, kept off the
// roaming profile and out of the registry key that holds the options.
QString stateFolder()
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return local.isEmpty() ? QString() : local + QLatin1String("/tapetor");
}
} // namespace

struct RealServices::Owned {
    CommonServices common;
    std::unique_ptr<SettingsStore> settings = makeWindowsSettingsStore();
    std::unique_ptr<LogonEntry> logon = makeWindowsLogonEntry();
    std::unique_ptr<WallpaperSetter> wallpaper = makeWindowsWallpaperSetter();
    WindowsProgramLocation location;
    std::unique_ptr<SingleInstance> instance = makeSingleInstance();
    FileShownPictureStore shown{stateFolder()};
    // The desktop takes a picture in one call that returns at once, so a change is
    // handed over on the window's thread: a worker would only add a thread.
    InlineBackgroundWork changes;

    // A job still running uses the services above, which go before `common`.
    ~Owned() { common.finishWork(); }
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
    m_services.shown = &m_owned->shown;
    m_services.changes = &m_owned->changes;
}

RealServices::~RealServices() = default;

bool RealServices::noDisplay(int, char**)
{
    // Every Windows session has its desktop.
    return false;
}
