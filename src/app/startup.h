// The program's start-up at the main window's first activation: the window's geometry from
// reg.db, the database commands off, and the remembered album opened when reg.db says so.
// Failures go into the window caption, not into message boxes; only an album the user named
// on the command line, which is opened instead of the remembered one, reports its failure as
// Open does.
#pragma once

#include <memory>
#include <string>

class AlbumActivation;
class AutoOpenNote;
class DialogService;
class MainView;
class TPDBMultiImage;
class Tdb;
class WindowGeometry;

class Startup {
public:
    Startup(Tdb& db, TPDBMultiImage& view, MainView& window, DialogService& dialogs, WindowGeometry& geometry,
            AlbumActivation& activation);
    ~Startup();

    void run();
    // Opens this album (its picture file's path) at the run instead of the remembered one.
    void openInstead(const std::string& albumFile) { namedAlbum_ = albumFile; }

private:
    void restoreGeometry();
    void openRememberedAlbum();
    void openNamedAlbum();

    Tdb& db_;
    TPDBMultiImage& view_;
    MainView& window_;
    DialogService& dialogs_;
    WindowGeometry& geometry_;
    AlbumActivation& activation_;
    std::string namedAlbum_;
    std::unique_ptr<AutoOpenNote> autoOpenNote_; // while the remembered album is being opened
};
