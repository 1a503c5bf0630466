// The program's shutdown as the main window closes: its geometry and the open album written
// to reg.db, the album's pending edits stored and its tables closed. Each step's failure ends
// only that step; changes to the album that cannot be stored are told before the window goes.
#pragma once

class DialogService;
class MainView;
class Tdb;
class WindowGeometry;

class Shutdown {
public:
    Shutdown(Tdb& db, DialogService& dialogs, MainView& window, WindowGeometry& geometry);

    void run();

private:
    void saveGeometry();
    // Writes the open album into reg.db as the one to open at the next start.
    void rememberOpenAlbum();
    void closeAlbum();

    Tdb& db_;
    DialogService& dialogs_;
    MainView& window_;
    WindowGeometry& geometry_;
};
