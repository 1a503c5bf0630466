// Choosing a scanner and scanning a picture into a new record. Looking for scanners and the
// scan run on a worker thread behind a progress window with a Cancel button, so the window
// keeps painting.
#pragma once

#include <QString>

class DialogService;
class MainView;
class TPDBMultiImage;
class Tdb;

class ScannerCommands {
public:
    ScannerCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window);

    // Lists the scanners and lets the user choose the one to scan with.
    void selectScanner();
    // Scans into a new record, stored as JPEG; a failed scan adds no record.
    void scan();

private:
    Tdb& db_;
    TPDBMultiImage& view_;
    DialogService& dialogs_;
    MainView& window_;
    QString chosenScanner_; // the scanner chosen for this session; empty: the first one found
};
