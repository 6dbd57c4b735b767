#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The text colour of a label or button, kept in its palette so a disabled control
// still greys out as the desktop draws it.
inline void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(palette);
}

namespace Colours {
inline const QColor Blue{0x00, 0x00, 0xFF};
inline const QColor Red{0xFF, 0x00, 0x00};
inline const QColor Green{0x00, 0x80, 0x00};
inline const QColor Grey{0x80, 0x80, 0x80};
} // namespace Colours
