#pragma once

#include <QString>

// The ways this program knows to set a wallpaper on Linux.
enum class DesktopKind { Gnome, Cinnamon, Mate, Xfce, Kde, Lxde, Lxqt, Sway, X11Root, Unsupported };

// currentDesktop is XDG_CURRENT_DESKTOP: a colon-separated list, most specific first
// ("ubuntu:GNOME", "Budgie:GNOME"). The first element we know wins; with none known
// the root window of an X display is the way, and without one there is none.
DesktopKind detectDesktop(const QString& currentDesktop, bool hasX11Display);

// Reads the environment.
DesktopKind detectRunningDesktop();
