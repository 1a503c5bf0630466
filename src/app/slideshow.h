// The slideshow: a tick every 100 ms counts towards the album's delay (tenths of a second) and
// then steps in the direction last chosen with the arrows, exactly as the arrows do.
#pragma once

class Browser;
class MainView;
class Tdb;

class Slideshow {
public:
    Slideshow(Tdb& db, MainView& window, Browser& browser);

    // Starts or stops it; the count goes on from where it stopped.
    void playOrStop();
    // One tick of the idle handler.
    void tick();

private:
    Tdb& db_;
    MainView& window_;
    Browser& browser_;
};
