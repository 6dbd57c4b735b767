#include "ui/WrappingCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

WrappingCheckBox::WrappingCheckBox(QWidget* parent)
    : QCheckBox(parent)
{
}

QRect WrappingCheckBox::textArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int left = indicator.right() + 1 + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    return QRect(left, 0, width() - left, height());
}

QSize WrappingCheckBox::sizeHint() const
{
    const QRect area = textArea();
    const QRect needed
        = fontMetrics().boundingRect(QRect(0, 0, std::max(area.width(), 1), 10000), Qt::TextWordWrap, text());
    return QSize(width(), std::max(needed.height(), QCheckBox::sizeHint().height()));
}

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The box sits level with the first line of the caption.
    QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    box.moveTop((fontMetrics().height() - box.height()) / 2);
    option.rect = box;
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textArea(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
}

bool WrappingCheckBox::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}
