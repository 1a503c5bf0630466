// Changing the pictures already in the album: deleting the shown one, marking or unmarking
// every visible one, and processing the shown one in the effects window.
#pragma once

namespace imaging {
class EffectsWindow;
}

class DialogService;
class MainView;
class TPDBMultiImage;
class Tdb;

class PictureMaintenance {
public:
    PictureMaintenance(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window);

    // Deletes the current record without a question; a pending new record is dropped
    // instead. The settings' KEY then holds the number of pictures left.
    void deletePicture();
    // Sets MARK of every visible picture, each once, and returns how many that were; the
    // filter stays in force.
    int markAll();
    int unmarkAll();
    // Opens the effects window on the shown picture; "Close and Save" shows the processed
    // picture as a change of the record (stored only if the record is being edited).
    void processPicture();

private:
    int setAllMarks(bool mark);

    Tdb& db_;
    TPDBMultiImage& view_;
    DialogService& dialogs_;
    MainView& window_;
    imaging::EffectsWindow* effects_; // made once, owned by the main window
};
