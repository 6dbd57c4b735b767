#pragma once

#include "platform/linux/DisplayProbe.h"

#include <QString>

// The name of the one-copy place (lock and socket in the runtime folder) for the
// graphical session the program runs in. Two sessions of one user (two seats, or a
// second login sharing the runtime folder) each keep their own copy, tray icon and
// changes. The session is known by its display rather than by XDG_SESSION_ID:
// programs started by the systemd user manager (terminals and autostart entries on
// several desktops) lack that variable, while every program of a session sees its
// display, so one session would otherwise run two copies.
QString sessionPlaceName(const DisplayEnvironment& environment);
