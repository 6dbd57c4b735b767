#pragma once

#include <QString>

// The ways this program knows to set a wallpaper on Linux.
enum class DesktopKind { Gnome, Cinnamon, Mate, Xfce, Kde, Lxde, Lxqt, Sway, Swaybg, X11Root, Unsupported };

// currentDesktop is XDG_CURRENT_DESKTOP: a colon-separated list, most specific first
// ("ubuntu:GNOME", "Budgie:GNOME"). The first element we know wins. With none known,
// a Wayland compositor (wayfire, labwc, river, Hyprland...) gets a swaybg of ours, an X
// display its root window, and without either there is no way. Wayland comes first:
// under Xwayland the root window lies hidden below the compositor's own background.
DesktopKind detectDesktop(const QString& currentDesktop, bool hasX11Display, bool hasWaylandDisplay);

// Whether a Wayland compositor answers on the socket WAYLAND_DISPLAY names: a path of
// its own when absolute, else a name in XDG_RUNTIME_DIR. A name left over from an
// earlier session, or exported by a terminal into an X session, names no living socket.
bool waylandDisplayAnswers(const QString& waylandDisplay, const QString& runtimeDir);

// Reads the environment.
DesktopKind detectRunningDesktop();
