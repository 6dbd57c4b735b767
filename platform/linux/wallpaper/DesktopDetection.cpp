#include "platform/linux/wallpaper/DesktopDetection.h"

#include "platform/linux/DisplayProbe.h"

#include <QFile>
#include <QStringList>

namespace {

bool kindOf(QString name, DesktopKind& kind)
{
    name = name.trimmed().toLower();
    // Vendors prefix names of their own with "X-" (Cinnamon reports "X-Cinnamon").
    if (name.startsWith(QLatin1String("x-")))
        name = name.mid(2);
    struct Entry {
        const char* name;
        DesktopKind kind;
    };
    static constexpr Entry entries[] = {
        {"gnome", DesktopKind::Gnome},       {"unity", DesktopKind::Gnome}, {"budgie", DesktopKind::Gnome},
        {"cinnamon", DesktopKind::Cinnamon}, {"mate", DesktopKind::Mate},   {"xfce", DesktopKind::Xfce},
        {"kde", DesktopKind::Kde},           {"lxde", DesktopKind::Lxde},   {"lxqt", DesktopKind::Lxqt},
        {"sway", DesktopKind::Sway},
    };
    for (const Entry& entry : entries) {
        if (name == QLatin1String(entry.name)) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

} // namespace

DesktopKind detectDesktop(const QString& currentDesktop, bool hasX11Display, bool hasWaylandDisplay)
{
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        DesktopKind kind;
        if (kindOf(name, kind))
            return kind;
    }
    if (hasWaylandDisplay)
        return DesktopKind::Swaybg;
    return hasX11Display ? DesktopKind::X11Root : DesktopKind::Unsupported;
}

bool waylandDisplayAnswers(const QString& waylandDisplay, const QString& runtimeDir)
{
    if (waylandDisplay.isEmpty())
        return false;
    const bool absolute = waylandDisplay.startsWith(QLatin1Char('/'));
    if (!absolute && runtimeDir.isEmpty())
        return false;
    return unixSocketAnswers(
        QFile::encodeName(absolute ? waylandDisplay : runtimeDir + QLatin1Char('/') + waylandDisplay));
}

DesktopKind detectRunningDesktop()
{
    return detectDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), !qEnvironmentVariableIsEmpty("DISPLAY"),
                         waylandDisplayAnswers(qEnvironmentVariable("WAYLAND_DISPLAY"),
                                               qEnvironmentVariable("XDG_RUNTIME_DIR")));
}
