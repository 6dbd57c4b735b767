#pragma once

#include <QString>
#include <QtGlobal>

#include <stop_token>

class QImage;

// The largest picture the loader decodes: 16384 x 16384 pixels (268 megapixels,
// 1 GiB at four bytes a pixel). Every camera sold today (up to about 150 MP) and
// common stitched panoramas fit; a header claiming more is a broken or hostile file
// that would exhaust the memory of an ordinary desktop before showing anything.
inline constexpr qint64 kMaxPicturePixels = qint64(16384) * 16384;

// Decodes the picture file at path into `into`, reusing its pixel buffer when the
// new picture has the same size and format (a collection of camera photos does).
// The EXIF orientation is applied, so a photo taken upright is shown upright.
// Returns false, leaving `into` null, when the file is missing, not a picture,
// damaged beyond decoding, larger than kMaxPicturePixels, or claiming far more pixels
// than its file can hold, or when `stop` is requested before the decode ends.
bool loadPicture(const QString& path, QImage& into, std::stop_token stop = {});
// Whether the file at path is a picture of a kind the loader reads, told by its content
// alone as the loader tells it, without decoding it.
bool isPictureFile(const QString& path);
