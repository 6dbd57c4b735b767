#pragma once

class QIODevice;

// Counts the scans of the JPEG stream that starts at the device's position (its
// start-of-scan markers), walking the marker segments and skipping the compressed data
// between them. Counting stops at the end of the picture, at the end of the data, or
// once the count has passed `enough`. 0 when the data is no JPEG. Leaves the device
// wherever counting stopped.
int countJpegScans(QIODevice& device, int enough);
