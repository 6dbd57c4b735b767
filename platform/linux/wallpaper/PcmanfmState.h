#pragma once

#include <QByteArray>
#include <QString>

// What the pcmanfm desktops need beside their command lines.

// pcmanfm (LXDE) hands --set-wallpaper to the running copy over a socket named after
// the display; with none running it becomes that copy itself and never returns.
// runtimeDir is $XDG_RUNTIME_DIR (GLib falls back to the cache folder), display $DISPLAY.
QString pcmanfmSocketPath(const QString& runtimeDir, const QString& display);
// Whether procNetUnix (the text of /proc/net/unix) lists a listening socket at path.
bool isListeningUnixSocket(const QByteArray& procNetUnix, const QString& path);
// Reads the environment and /proc/net/unix.
bool pcmanfmRunning();
