#include "app/windowgeometry.h"

#include <QWidget>

namespace {

constexpr int checkInterval = 50;      // ms
constexpr int checksWithoutFrame = 40; // about two seconds: no window manager frames it

} // namespace

WindowGeometry::WindowGeometry(QWidget& window) : QObject(&window), window_(window)
{
    watch_.setInterval(checkInterval);
    connect(&watch_, &QTimer::timeout, this, [this] { check(); });
}

void WindowGeometry::restore(const QRect& outer)
{
    wanted_ = outer;
    place();
    checks_ = 0;
    watch_.start();
}

QRect WindowGeometry::outer() const
{
    return window_.frameGeometry();
}

bool WindowGeometry::normalState() const
{
    return !(window_.isMaximized() || window_.isMinimized() || window_.isFullScreen());
}

QMargins WindowGeometry::frame() const
{
    const QRect inner = window_.geometry();
    const QRect outer = window_.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void WindowGeometry::place()
{
    placedWithFrame_ = frame();
    window_.setGeometry(wanted_.marginsRemoved(placedWithFrame_));
}

void WindowGeometry::check()
{
    // Placed again only when the frame turned out other than it was placed with; a size the
    // user gives the window meanwhile is the user's.
    const QMargins current = frame();
    if (current != placedWithFrame_)
        place();
    else if (!current.isNull())
        watch_.stop();
    if (++checks_ >= checksWithoutFrame)
        watch_.stop();
}
