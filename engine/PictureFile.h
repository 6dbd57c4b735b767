#pragma once

#include <QString>

class QFile;

// Opens the picture file at path for reading. Anything but a regular file is refused
// without blocking: opening a FIFO waits for a writer for ever, and a character device
// such as /dev/zero never ends. False, leaving `file` closed, when the file is missing,
// unreadable or not a regular file.
bool openPictureFile(const QString& path, QFile& file);
