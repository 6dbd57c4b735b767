#include "ui/FittingText.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

// 8 px at 96 dpi: the smallest size at which the window's wide face still reads. In
// DejaVu Sans as fontconfig hints it, it holds the longest weekday names of the European
// locales ("segunda-feira", "ketvirtadienis", "keskiviikkona") with the widest date; a
// wider face elides them there.
constexpr qreal FloorPointSize = 6.0;
constexpr qreal Step = 0.25;

int advance(const QFont& font, const QLabel* label, const QString& text)
{
    return QFontMetrics(font, label).horizontalAdvance(text);
}

} // namespace

void setFittingText(QLabel* label, const QString& text)
{
    // Measured against the label's own font, which an earlier shrinking has covered.
    if (!label->styleSheet().isEmpty())
        label->setStyleSheet(QString());
    label->ensurePolished();
    const int room = label->contentsRect().width();
    QFont font = label->font();
    QString shown = text;
    if (advance(font, label, text) > room && font.pointSizeF() > FloorPointSize) {
        qreal size = font.pointSizeF();
        do {
            size = qMax(FloorPointSize, size - Step);
            font.setPointSizeF(size);
        } while (size > FloorPointSize && advance(font, label, text) > room);
        label->setStyleSheet(QStringLiteral("font-size: %1pt;").arg(size));
    }
    if (advance(label->font(), label, text) > room)
        shown = QFontMetrics(label->font(), label).elidedText(text, Qt::ElideRight, room);
    label->setToolTip(shown == text ? QString() : text);
    if (label->text() != shown)
        label->setText(shown);
}
