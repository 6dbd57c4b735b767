#pragma once

#include "platform/WallpaperSetter.h"
#include "platform/linux/wallpaper/DesktopDetection.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class PcmanfmQtModeKeeper;
class ToolRunner;

// Sets the wallpaper the way the running desktop wants it (see DesktopDetection.h).
// Desktops driven by their own tools get a fresh PNG copy of the picture on every
// change; a bare X server gets the picture drawn on its root window.
class LinuxWallpaperSetter final : public WallpaperSetter {
public:
    using RootSetter = std::function<bool(const QImage& picture, int style)>;
    // Whether pcmanfm runs to take the LXDE call (see PcmanfmState.h); empty: assume so.
    using RunningCheck = std::function<bool()>;
    // Shows the picture with a swaybg of ours started with the arguments, ending the
    // one shown before (see SwaybgProcess.h).
    using SwaybgStarter = std::function<bool(const QString& picturePath, const QStringList& arguments)>;

    // copyFolder holds the PNG copies. rootSetter draws on the X root window.
    // pcmanfmQtConfig is pcmanfm-qt's settings folder, which gets the mode the
    // program forgets to store (empty: left alone; see PcmanfmQtModeKeeper.h).
    LinuxWallpaperSetter(DesktopKind desktop, ToolRunner& runner, QString copyFolder, RootSetter rootSetter,
                         RunningCheck pcmanfmRunning = {}, QString pcmanfmQtConfig = {},
                         SwaybgStarter swaybgStarter = {});
    ~LinuxWallpaperSetter() override;

    bool setWallpaper(const QString& bmpPath, int style, const QImage* picture) override;

    // Takes the one line said when the desktop's copy of the picture cannot be written
    // (standard error unless replaced).
    using ProblemReport = std::function<void(const QString& line)>;
    void setProblemReport(ProblemReport report) { m_report = std::move(report); }

private:
    bool setThroughTools(const QImage& picture, int style);
    bool runCalls(const QString& copy, int style);
    qint64 nextStamp();

    DesktopKind m_desktop;
    ToolRunner& m_runner;
    QString m_copyFolder;
    RootSetter m_rootSetter;
    RunningCheck m_pcmanfmRunning;
    std::unique_ptr<PcmanfmQtModeKeeper> m_pcmanfmQtKeeper;
    SwaybgStarter m_swaybgStarter;
    // Backends that draw the picture themselves need a style on every change; a code
    // outside 0..2 keeps the one used before, as the Windows registry values would.
    int m_lastStyle = StyleCenter;
    qint64 m_lastStamp = 0;
    ProblemReport m_report;
    // The copy failed last time too: a full disk is said once, not on every change.
    bool m_copyFailing = false;
};

// The setter for this session's desktop, with the copies kept in the per-user data
// folder ($XDG_DATA_HOME/tapetor).
std::unique_ptr<WallpaperSetter> makeLinuxWallpaperSetter();
