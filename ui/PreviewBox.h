#pragma once

#include <QImage>
#include <QWidget>

// Holds the full decoded picture of the current entry and draws it stretched into
// its box. The held picture is what the next change writes out as the wallpaper.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

    void setPicture(QImage picture);
    // Hands the held picture out, so the next decode can reuse its pixel buffer and
    // the window never holds two full pictures at once. The box goes on drawing it
    // meanwhile, from its small copy.
    QImage releasePicture();
    void clearPicture();
    const QImage& picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_picture;
    // Scaling a camera photo at every repaint would be wasted work; keep the small copy.
    QPixmap m_scaled;
};
