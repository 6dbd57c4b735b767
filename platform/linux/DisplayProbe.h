#pragma once

#include <QByteArray>

// What Qt reads to find the display it opens its windows on.
struct DisplayEnvironment {
    QByteArray platform; // QT_QPA_PLATFORM
    QByteArray x11Display; // DISPLAY
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray waylandSocket; // WAYLAND_SOCKET
    QByteArray runtimeDir; // XDG_RUNTIME_DIR

    static DisplayEnvironment current();
};

// Whether an X server or a Wayland compositor answers, so that a window can be shown.
// Asked before the application object exists: Qt ends the process with a core dump
// when it finds no display. Platforms other than X and Wayland (offscreen, vnc) are
// left for Qt to judge.
bool displayAnswers(const DisplayEnvironment& environment);

// Whether a process listens on the local socket at PATH (a Wayland compositor's, say).
bool unixSocketAnswers(const QByteArray& path);
