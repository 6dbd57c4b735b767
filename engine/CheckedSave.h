#pragma once

#include <QtGlobal>

class QSaveFile;

// Commits a QSaveFile only when the file on disk holds every byte written.
// QFileDevice loses the error of a write that stops part-way (a full disk, a file
// size limit): the short write is reported as success and commit() would replace the
// old file with a truncated one. Checking the size before the rename closes that hole.
bool commitWhole(QSaveFile& file, qint64 expectedBytes);
