#include "ui/PreviewBox.h"

#include "engine/SmoothScale.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

PreviewBox::PreviewBox(QWidget* parent)
    : QWidget(parent)
{
}

void PreviewBox::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    m_scaled = QPixmap();
    update();
}

QImage PreviewBox::releasePicture()
{
    // The small copy stays on screen until the next picture is set.
    return std::exchange(m_picture, QImage());
}

void PreviewBox::clearPicture()
{
    setPicture(QImage());
}

void PreviewBox::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull() && m_scaled.isNull())
        return;
    if (!m_picture.isNull() && (m_scaled.isNull() || m_scaled.size() != size() * devicePixelRatioF())) {
        const QSize target = size() * devicePixelRatioF();
        m_scaled = QPixmap::fromImage(smoothlyScaled(m_picture, target));
        m_scaled.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scaled);
}

void PreviewBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void PreviewBox::resizeEvent(QResizeEvent* event)
{
    m_scaled = QPixmap();
    QWidget::resizeEvent(event);
}
