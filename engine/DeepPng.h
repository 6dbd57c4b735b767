#pragma once

class QByteArrayView;
class QIODevice;
class QImage;

// PNGs with 16 bits a channel in colour or with alpha: Qt decodes them at 8 bytes a
// pixel, and the program keeps 4, so the decode alone would hold twice the picture. libpng
// narrows each row to 8 bits a channel as it reads it, straight into the picture.
// (16-bit grey is left to Qt: 2 bytes a pixel already.)

// Whether a PNG whose first bytes (at least 26) are `head` is one of those.
bool isDeepPng(QByteArrayView head);

// Decodes such a PNG from `device` into `into` as RGB32, or ARGB32 when it has any
// transparency, reusing its buffer when the size and format match. On any error,
// a file that ends early included, `into` is left null and the result is false.
bool readDeepPng(QIODevice& device, QImage& into);
