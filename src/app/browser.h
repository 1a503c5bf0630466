// Browsing the visible pictures: stepping with wrap-around (finding memo text on the way when
// the find box holds some), zooming, and jumping with the position bar.
#pragma once

class MainView;
class TPDBMultiImage;
class Tdb;

class Browser {
public:
    Browser(Tdb& db, TPDBMultiImage& view, MainView& window);

    // A step to the next (previous) visible picture, coming round at the ends; with text in
    // the find box, the next (previous) picture whose memo holds it. Sets the slideshow's
    // direction.
    void stepForward() { step(true); }
    void stepBack() { step(false); }
    // At most ten steps in either direction from where the last step, jump or reset left it.
    void zoomIn();
    void zoomOut();
    // Moves to the record the position bar was released at.
    void jumpToPosition();

private:
    void step(bool forward);

    Tdb& db_;
    TPDBMultiImage& view_;
    MainView& window_;
};
