#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"

#include "engine/PictureIO.h"
#include "platform/linux/wallpaper/BackendCommands.h"
#include "platform/linux/wallpaper/PcmanfmQtModeKeeper.h"
#include "platform/linux/wallpaper/PcmanfmState.h"
#include "platform/linux/wallpaper/StyleOptions.h"
#include "platform/linux/wallpaper/ToolRunner.h"
#include "platform/linux/wallpaper/WallpaperCopy.h"

#include <QDateTime>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <utility>

namespace {

bool isStyle(int style)
{
    return style == StyleCenter || style == StyleStretch || style == StyleTile;
}

void writeToStandardError(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

LinuxWallpaperSetter::LinuxWallpaperSetter(DesktopKind desktop, ToolRunner& runner, QString copyFolder,
                                           RootSetter rootSetter, RunningCheck pcmanfmRunning, QString pcmanfmQtConfig,
                                           SwaybgStarter swaybgStarter)
    : m_desktop(desktop)
    , m_runner(runner)
    , m_copyFolder(std::move(copyFolder))
    , m_rootSetter(std::move(rootSetter))
    , m_pcmanfmRunning(std::move(pcmanfmRunning))
    , m_swaybgStarter(std::move(swaybgStarter))
    , m_report(writeToStandardError)
{
    if (m_desktop == DesktopKind::Lxqt && !pcmanfmQtConfig.isEmpty())
        m_pcmanfmQtKeeper = std::make_unique<PcmanfmQtModeKeeper>(std::move(pcmanfmQtConfig));
}

LinuxWallpaperSetter::~LinuxWallpaperSetter() = default;

bool LinuxWallpaperSetter::setWallpaper(const QString& bmpPath, int style, const QImage* picture)
{
    if (!bmpPath.endsWith(QLatin1String("bmp"), Qt::CaseInsensitive))
        return false;
    if (isStyle(style))
        m_lastStyle = style;
    if (m_desktop == DesktopKind::Unsupported)
        return false;

    QImage loaded;
    if (!picture || picture->isNull()) {
        if (!loadPicture(bmpPath, loaded))
            return false;
        picture = &loaded;
    }
    if (m_desktop == DesktopKind::X11Root)
        return m_rootSetter && m_rootSetter(*picture, m_lastStyle);
    return setThroughTools(*picture, style);
}

bool LinuxWallpaperSetter::setThroughTools(const QImage& picture, int style)
{
    // Without a pcmanfm to take it, the call would wait for the tool's time bound
    // (an autostart that runs before the desktop).
    if (m_desktop == DesktopKind::Lxde && m_pcmanfmRunning && !m_pcmanfmRunning())
        return false;
    if (m_desktop == DesktopKind::Swaybg && !m_swaybgStarter)
        return false;
    const QString copy = writeWallpaperCopy(picture, m_copyFolder, nextStamp());
    if (copy.isEmpty()) {
        // The window shows nothing of it (the change comes again at its time), so a
        // full disk is told on standard error, once until a copy is written again.
        if (!std::exchange(m_copyFailing, true) && m_report)
            m_report(QStringLiteral("tapetor: Tapetu se nepodařilo změnit, protože do složky %1 nelze zapsat "
                                    "její kopii. Uvolněte místo na disku.")
                         .arg(m_copyFolder));
        return false;
    }
    m_copyFailing = false;

    // swaybg reads the picture when it starts: it gets the fresh copy, as sway does.
    const bool accepted = m_desktop == DesktopKind::Swaybg ? m_swaybgStarter(copy, swaybgArguments(copy, m_lastStyle))
                                                           : runCalls(copy, style);
    if (accepted && m_pcmanfmQtKeeper) {
        if (const auto mode = pcmanfmWallpaperMode(style))
            m_pcmanfmQtKeeper->keep(copy, *mode);
    }
    // The desktop may still read the copy it showed until now; it goes only once the
    // new one is in place, and a refused copy goes instead.
    if (accepted)
        removeWallpaperCopies(m_copyFolder, copy);
    else
        QFile::remove(copy);
    return accepted;
}

bool LinuxWallpaperSetter::runCalls(const QString& copy, int style)
{
    ToolCalls calls;
    switch (m_desktop) {
    case DesktopKind::Gnome:
        calls = gnomeCalls(copy, style);
        break;
    case DesktopKind::Cinnamon:
        calls = cinnamonCalls(copy, style);
        break;
    case DesktopKind::Mate:
        calls = mateCalls(copy, style);
        break;
    case DesktopKind::Kde:
        calls = kdeCalls(copy, style);
        break;
    case DesktopKind::Lxde:
        calls = lxdeCalls(copy, style);
        break;
    case DesktopKind::Lxqt:
        calls = lxqtCalls(copy, style);
        break;
    case DesktopKind::Sway:
        calls = swayCalls(copy, m_lastStyle);
        break;
    case DesktopKind::Xfce: {
        const ToolCall listing = xfceListingCall();
        QByteArray properties;
        if (m_runner.run(listing.program, listing.arguments, &properties))
            calls = xfceCalls(xfceLastImageProperties(properties), copy, style);
        break;
    }
    default:
        break;
    }

    for (const ToolCall& call : std::as_const(calls)) {
        if (!m_runner.run(call.program, call.arguments) && call.required)
            return false;
    }
    return !calls.isEmpty();
}

qint64 LinuxWallpaperSetter::nextStamp()
{
    m_lastStamp = qMax(m_lastStamp + 1, QDateTime::currentMSecsSinceEpoch());
    return m_lastStamp;
}
