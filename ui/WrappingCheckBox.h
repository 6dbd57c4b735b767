#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto further lines inside its own width; Qt's check
// box keeps its caption on one line and would cut a long one off.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit WrappingCheckBox(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QRect textArea() const;
};
