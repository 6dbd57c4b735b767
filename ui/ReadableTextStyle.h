#pragma once

#include <QProxyStyle>

// The application's style with one change: plain text in the window-text role is drawn
// readable on the background it lies on (see ReadableColour.h). The controls keep the
// design's colours in their palettes; only the drawing follows a dark theme, and it
// follows a change of theme at the next paint without any bookkeeping.
class ReadableTextStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole textRole) const override;
};

// Wraps the style the application chose (the desktop's, or -style) in a ReadableTextStyle.
void useReadableTextStyle();
