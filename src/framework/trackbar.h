// A position bar that tells when a mouse button is released over it, after it has moved
// its position: a drag or a click on the groove then acts once, keyboard moves never do.
#pragma once

#include <QSlider>

class TrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TrackBar(Qt::Orientation orientation, QWidget* parent = nullptr) : QSlider(orientation, parent) {}

signals:
    void mouseUp();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QSlider::mouseReleaseEvent(event);
        emit mouseUp();
    }
};
