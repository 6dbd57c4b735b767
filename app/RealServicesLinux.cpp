#include "app/RealServices.h"

#include "app/CommonServices.h"
#include "platform/linux/AutostartLogonEntry.h"
#include "platform/linux/DisplayProbe.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/SessionPlace.h"
#include "platform/linux/LinuxProgramLocation.h"
#include "platform/linux/StatusNotifierHost.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"
#include "platform/qt/FileShownPictureStore.h"
#include "platform/qt/QtSingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

namespace {
// In the user's runtime folder ($XDG_RUNTIME_DIR), which only the user can enter;
// one copy per graphical session.
std::unique_ptr<SingleInstance> makeSingleInstance()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return std::make_unique<QtSingleInstance>(QString(), QString());
    const QString place = runtime + QLatin1Char('/') + sessionPlaceName(DisplayEnvironment::current());
    return std::make_unique<QtSingleInstance>(place + QLatin1String(".socket"), place + QLatin1String(".lock"));
}

// $XDG_STATE_HOME: what the program remembers between starts that is no option.
QString stateFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/tapetor");
}
} // namespace

struct RealServices::Owned {
    CommonServices common;
    IniSettingsStore settings;
    AutostartLogonEntry logon;
    std::unique_ptr<WallpaperSetter> wallpaper = makeLinuxWallpaperSetter();
    LinuxProgramLocation location;
    std::unique_ptr<SingleInstance> instance = makeSingleInstance();
    FileShownPictureStore shown{stateFolder()};

    // A job still running uses the services above, which go before `common`.
    ~Owned() { common.finishWork(); }
};

RealServices::RealServices()
    : m_owned(std::make_unique<Owned>())
{
    m_owned->common.fill(m_services);
    m_owned->common.tray.setStatusNotifierProbe(statusNotifierHostRegistered);
    m_services.settings = &m_owned->settings;
    m_services.logon = &m_owned->logon;
    m_services.wallpaper = m_owned->wallpaper.get();
    m_services.location = &m_owned->location;
    m_services.instance = m_owned->instance.get();
    m_services.shown = &m_owned->shown;
}

RealServices::~RealServices() = default;

bool RealServices::noDisplay(int argc, char** argv)
{
    // A platform named on the command line is Qt's to judge.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    }
    if (displayAnswers(DisplayEnvironment::current()))
        return false;
    std::fputs("tapetor: Nelze se připojit k obrazovce: DISPLAY ani WAYLAND_DISPLAY nevede k běžícímu X serveru "
               "ani kompozitoru Waylandu.\n",
               stderr);
    return true;
}
