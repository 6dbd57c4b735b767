#pragma once

#include <QColor>

// Contrast as WCAG 2 measures it: the relative luminance of sRGB colours, and the
// ratio (lighter + 0.05) / (darker + 0.05), from 1 to 21.
double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);

// The least contrast every text keeps on a dark background (WCAG AA for body text).
inline constexpr double kReadableContrast = 4.5;

// The window's fixed colours were chosen for a light background and stay there. On a
// dark one (a dark desktop theme) they are lightened towards white, keeping their hue,
// just far enough to pass kReadableContrast against it with a small margin: the
// smallest texts (6.75 pt) have no pixel fully inside a stroke, and their blended
// pixels must still reach it.
QColor readableOn(const QColor& design, const QColor& background);
