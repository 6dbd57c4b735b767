#pragma once

#include <QRgb>

#include <functional>

class QImage;

// Hands every row of picture to visit as 0xffRRGGBB pixels, transparent parts laid
// over black, bottom row first or top row first. Pictures of other formats are
// converted a band of rows at a time, so a large picture is never copied whole.
void forEachOpaqueRow(const QImage& picture, bool bottomUp, const std::function<void(int y, const QRgb* row)>& visit);
