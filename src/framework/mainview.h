// What the commands show on the main window, and the state they share with it. The main
// window implements it; a command depends on this rather than on the window's widgets, so it
// can be run and tested on its own.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;
class TTable;

// The main window's state that several commands read and reset.
struct MainWindowState {
    bool SlideshowStopped = true;
    bool SlideshowForward = true;
    std::int32_t SlideshowTicks = 0;
    std::int32_t ZoomStep = 0;      // zoom steps applied to the shown picture, -10 to 10
    bool ImageEmptyAtError = false; // the picture view held no picture at its last error
};

class MainView {
public:
    virtual ~MainView() = default;

    // The window the commands' dialogs belong to.
    virtual QWidget* dialogParent() = 0;
    virtual MainWindowState& state() = 0;

    // The position bar and the record-number pane.
    virtual void setPositionMaximum(int maximum) = 0;
    virtual int positionMaximum() const = 0;
    virtual int position() const = 0;
    // Puts the bar at `position`; the pane shows where the bar ended up.
    virtual void showPosition(int position) = 0;
    // The pane alone (after a jump the bar is where the user left it).
    virtual void showRecordNumber(int number) = 0;

    virtual QString findText() const = 0;
    virtual void showFindResult(const QString& text) = 0; // "Found", "NOT Found" or blank
    virtual void showAlbumName(const QString& name) = 0;
    virtual void showCaption(const QString& caption) = 0;

    // The progress bar: parts complete of a total, or a percentage.
    virtual void showProgress(int partsComplete, int totalParts) = 0;
    virtual void showProgressPercent(int percent) = 0;

    // The database commands on or off; also resets the zoom and, when off, the album name.
    virtual void ButtonStatus(bool on) = 0;
    virtual void setShowAllDown(bool down) = 0;
    virtual void setSlideshowDown(bool down) = 0;
    virtual void bringToFront() = 0;

    // Commands of other subsystems that a command runs first.
    virtual void showAllPictures() = 0;
    virtual void showMarkedPictures() = 0;

    // While a long command lets the window paint, the window does not close and the
    // slideshow does not step.
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;
    virtual bool busy() const = 0;
};

class BusyScope {
public:
    explicit BusyScope(MainView& view) : view_(view) { view_.beginBusy(); }
    ~BusyScope() { view_.endBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MainView& view_;
};

// The position bar and record pane following the table's current record: its number, or 0
// when the table holds no record.
void showTablePosition(MainView& view, TTable& table);

// The window as it is with no album open: commands off, position and find result empty.
void showNoAlbum(MainView& view);
