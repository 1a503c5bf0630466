// Printing: the printer setup, the shown picture, and every marked picture. Each picture is one
// job of one page at one printer dot per picture pixel from the printable area's top-left. The
// printer chosen in either dialog is the one later jobs go to.
#pragma once

#include <QString>

#include <memory>

class DialogService;
class MainView;
class QImage;
class QPrinter;
class TPDBMultiImage;
class Tdb;

class PrintCommands {
public:
    PrintCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window);
    ~PrintCommands();

    void printerSetup();
    // The print dialog, then the shown picture; with none shown nothing is printed.
    void printShown();
    // The marked pictures shown, the print dialog once, then one job per marked picture in
    // table order; records without a picture that can be shown are skipped.
    void printMarked();

private:
    // Prints on a worker thread while the window paints; a printer failure is the engine's,
    // reported by the view's error event.
    void printJob(const QImage& picture);
    QString jobName() const;

    Tdb& db_;
    TPDBMultiImage& view_;
    DialogService& dialogs_;
    MainView& window_;
    std::unique_ptr<QPrinter> printer_;
};
