#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture of the file that an entry's bytes name; when that file cannot be decoded
// (missing, no picture, damaged), the picture at fallbackPath; a null picture when
// neither decodes. `reuse` lends its pixel buffer to the decoder (see loadPicture).
QImage loadEntryPicture(const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse);
