#pragma once

#include <QString>

class ProgramLocation;

// folder + separator + name, without doubling the separator after a root folder.
QString joinPath(const QString& folder, const QString& name, QChar separator);

// "tapetor.bmp" in the program's folder when the program may write there (a portable
// copy), otherwise in the per-user data folder, which is created when missing.
QString wallpaperBitmapPath(const ProgramLocation& location);

// "prv_err.jpg" from the program's folder, else from the installed data folder, else
// the copy built into the program.
QString errorPicturePath(const ProgramLocation& location);
