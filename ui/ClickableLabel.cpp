#include "ui/ClickableLabel.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget* parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click && isEnabled())
        Q_EMIT clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // QWidget's default turns the double-click into another press, which would make
    // the release after it a second click.
    m_pressed = false;
    event->accept();
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT mouseMoved();
    QLabel::mouseMoveEvent(event);
}
