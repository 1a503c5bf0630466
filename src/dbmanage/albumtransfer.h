// Moving and copying an album: the user picks an album and a destination folder in TForm9, the
// open album is closed, and the album's three tables are copied into the destination under the
// same base name, replacing an album of that name there. Move then deletes the source album,
// only once all three copies are in place. The copy runs on a worker thread while the window
// shows its progress; a failed or stopped copy leaves the destination and the source as they
// were.
#pragma once

#include <QString>

namespace schema {
struct AlbumLocation;
}

class AlbumCommands;
class DialogService;
class MainView;
class TForm9;
class Tdb;

class AlbumTransfer {
public:
    AlbumTransfer(Tdb& db, DialogService& dialogs, MainView& window, AlbumCommands& albums, TForm9& transferWindow);

    void moveAlbum();
    void copyAlbum();

private:
    enum class Kind { Copy, Move };
    void transfer(Kind kind);
    // Copies behind a progress window, the main window's progress bar following; false when
    // the user stopped it.
    bool copyWithProgress(const schema::AlbumLocation& source, const QString& destination);

    Tdb& db_;
    DialogService& dialogs_;
    MainView& window_;
    AlbumCommands& albums_;
    TForm9& transferWindow_;
};
