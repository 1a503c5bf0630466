// A window's outer geometry (frame included), as reg.db stores it. A window manager frames a
// window a moment after it is shown, and only then is the frame's size known: a restored
// geometry is applied again once the frame is there, so it neither grows nor creeps from one
// start to the next.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>

class QWidget;

class WindowGeometry : public QObject {
public:
    explicit WindowGeometry(QWidget& window);

    void restore(const QRect& outer);
    QRect outer() const;
    // Neither maximised, minimised nor full screen.
    bool normalState() const;
    void stopRestoring() { watch_.stop(); }

private:
    QMargins frame() const;
    void place();
    void check();

    QWidget& window_;
    QTimer watch_;
    QRect wanted_;
    QMargins placedWithFrame_;
    int checks_ = 0;
};
