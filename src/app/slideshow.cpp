#include "app/slideshow.h"

#include "app/browser.h"
#include "data/data.h"
#include "framework/mainview.h"

Slideshow::Slideshow(Tdb& db, MainView& window, Browser& browser) : db_(db), window_(window), browser_(browser) {}

void Slideshow::playOrStop()
{
    MainWindowState& state = window_.state();
    state.ZoomStep = 0;
    state.SlideshowStopped = !state.SlideshowStopped;
    window_.setSlideshowDown(!state.SlideshowStopped);
    if (state.SlideshowStopped)
        window_.showProgressPercent(0);
}

void Slideshow::tick()
{
    MainWindowState& state = window_.state();
    // Without an open album there is nothing to show; the ticks wait for one. Ticks that
    // come while a command lets the window paint (an import, a scan, a picture being
    // stored) wait too: a step would move away from the record that command works on.
    if (state.SlideshowStopped || window_.busy() || !db_.Table1.active() || !db_.Table3.active())
        return;
    const int delay = db_.Table3.fieldByName("DELAY").asInteger();
    window_.showProgress(state.SlideshowTicks, delay);
    if (state.SlideshowTicks >= delay) {
        state.SlideshowTicks = 0;
        if (state.SlideshowForward)
            browser_.stepForward();
        else
            browser_.stepBack();
    } else {
        ++state.SlideshowTicks;
    }
}
