#include "ui/ReadableTextStyle.h"

#include "ui/ReadableColour.h"

#include <QApplication>

void ReadableTextStyle::drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                                     bool enabled, const QString& text, QPalette::ColorRole textRole) const
{
    // A disabled text keeps the theme's grey: it is meant to recede.
    if (!enabled || textRole != QPalette::WindowText) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    QPalette readable = palette;
    readable.setColor(QPalette::WindowText,
                      readableOn(palette.color(QPalette::WindowText), palette.color(QPalette::Window)));
    QProxyStyle::drawItemText(painter, rect, flags, readable, enabled, text, textRole);
}

void useReadableTextStyle()
{
    // By name: the chosen style object belongs to the application and goes with it.
    // The application owns the new style as well, and its parent says so.
    auto* style = new ReadableTextStyle(QApplication::style()->name());
    style->setParent(QCoreApplication::instance());
    QApplication::setStyle(style);
}
