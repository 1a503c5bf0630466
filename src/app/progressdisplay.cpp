#include "app/progressdisplay.h"

#include <QCoreApplication>

#include "framework/mainview.h"

void ProgressDisplay::show(int percent, bool* abort)
{
    if (abort)
        *abort = closing_ || QCoreApplication::closingDown();
    // Pending events are let through so the window paints; the user's input waits, since the
    // picture view may be in the middle of storing the record.
    const BusyScope busy(window_);
    if (percent == 0 || percent > 99) {
        window_.showProgressPercent(percent);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (percent % 2 == 1) {
        window_.showProgressPercent(percent);
    }
}
