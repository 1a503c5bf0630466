// The slideshow: a tick every 100 ms counts towards the album's delay and then steps in the
// direction last chosen with the arrows, exactly as the arrows do.
#include "main.h"

#include <QToolButton>

#include "data/data.h"
#include "framework/statuspanes.h"

void TForm1::SpeedButton3Click()
{
    ZoomStep = 0;
    SlideshowStopped = !SlideshowStopped;
    SpeedButton3->setChecked(!SlideshowStopped);
    if (SlideshowStopped)
        RzProgressBar2->setPercent(0);
}

void TForm1::MyIdleHandler()
{
    // Without an open album there is nothing to show; the ticks wait for one. Ticks that
    // come while a command lets the window paint (an import, a scan, a picture being
    // stored) wait too: a step would move away from the record that command works on.
    if (SlideshowStopped || busy_ > 0 || !albumOpen() || !db().Table3.active())
        return;
    const int delay = db().Table3.fieldByName("DELAY").asInteger();
    RzProgressBar2->setTotalParts(delay);
    RzProgressBar2->setPartsComplete(SlideshowTicks);
    if (SlideshowTicks >= delay) {
        SlideshowTicks = 0;
        if (SlideshowForward)
            SpeedButton2Click();
        else
            SpeedButton1Click();
    } else {
        ++SlideshowTicks;
    }
}
