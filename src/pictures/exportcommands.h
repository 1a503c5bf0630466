// Writing pictures out: the shown picture to a file in one of the eight save formats or to the
// clipboard, and every marked picture to numbered files (pic0001.jpg, ...) in a chosen folder.
// Export never changes the stored pictures: each is re-encoded from its full-size decode with
// the album's save settings.
#pragma once

#include <QString>

#include "imaging/encoder.h"

class DialogService;
class MainView;
class TPDBMultiImage;
class Tdb;

class ExportCommands {
public:
    ExportCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window);

    // The save dialog, then the shown picture in `format`, whatever kind or extension the user
    // chose; a name without extension gets the format's.
    void exportToFile(imaging::SaveFormat format);
    // The shown picture on the clipboard; with none shown nothing happens.
    void exportToClipboard();
    // The marked pictures shown, a folder chosen (it becomes the current folder), then each
    // marked picture written there as pic0001, pic0002, ... in `format`. The first record
    // without a picture that can be saved stops the run with its error, that record current.
    void exportMarked(imaging::SaveFormat format);

private:
    Tdb& db_;
    TPDBMultiImage& view_;
    DialogService& dialogs_;
    MainView& window_;
    QString lastChosen_; // the save dialog shows the last chosen name again
};

// The extension a format's files get: "jpg", "gif", ... "eps".
QString saveExtension(imaging::SaveFormat format);
// A batch run's file name: "pic0001.jpg" for counter 1, at least four digits.
QString batchFileName(int counter, imaging::SaveFormat format);
