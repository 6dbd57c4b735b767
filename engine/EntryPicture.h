#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <stop_token>

// The picture of the file that an entry's bytes name; when that file cannot be decoded
// (missing, no picture, damaged), the picture at fallbackPath; a null picture when
// neither decodes, or when `stop` is requested meanwhile. `reuse` lends its pixel buffer
// to the decoder (see loadPicture).
QImage loadEntryPicture(const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse,
                        const std::stop_token& stop = {});
