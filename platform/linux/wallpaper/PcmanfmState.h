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

// pcmanfm-qt 1.2 stores the picture it is given but not the mode, so a restarted
// desktop would show it in the earlier mode. Writes mode into every profile under
// configFolder (.../pcmanfm-qt) whose stored wallpaper is picturePath; false when
// none holds it. (When it ends in order, pcmanfm-qt 1.2 still writes back the mode it
// started with; no command reaches the mode it keeps in memory.)
bool keepPcmanfmQtWallpaperMode(const QString& configFolder, const QString& picturePath, const QString& mode);
