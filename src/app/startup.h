// The program's start-up at the main window's first activation: the window's geometry from
// reg.db, the database commands off, and the remembered album opened when reg.db says so.
// Failures go into the window caption, not into message boxes.
#pragma once

#include <memory>

class AlbumActivation;
class AutoOpenNote;
class MainView;
class TPDBMultiImage;
class Tdb;
class WindowGeometry;

class Startup {
public:
    Startup(Tdb& db, TPDBMultiImage& view, MainView& window, WindowGeometry& geometry, AlbumActivation& activation);
    ~Startup();

    void run();

private:
    void restoreGeometry();
    void openRememberedAlbum();

    Tdb& db_;
    TPDBMultiImage& view_;
    MainView& window_;
    WindowGeometry& geometry_;
    AlbumActivation& activation_;
    std::unique_ptr<AutoOpenNote> autoOpenNote_; // while the remembered album is being opened
};
