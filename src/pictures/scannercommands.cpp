#include "pictures/scannercommands.h"

#include <QStringList>

#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "framework/workprogress.h"
#include "imaging/error.h"
#include "imaging/pdbmultiimage.h"
#include "imaging/scanner.h"
#include "pictures/importcommands.h"

ScannerCommands::ScannerCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window)
    : db_(db), view_(view), dialogs_(dialogs), window_(window)
{}

void ScannerCommands::selectScanner()
{
    const BusyScope busy(window_);
    std::vector<imaging::ScannerDevice> devices;
    try {
        devices = behindProgressWindow(window_.dialogParent(), QObject::tr("Looking for scanners..."),
                                       [](const imaging::TaskControl&) { return imaging::listScanners(); });
    } catch (const imaging::Error& error) {
        view_.reportError(error.codeValue(), error.text());
        return;
    }
    const QString caption = QObject::tr("Select Scanner");
    if (devices.empty()) {
        dialogs_.showInformation(window_.dialogParent(), caption, QObject::tr("No scanner was found."));
        return;
    }
    QStringList labels;
    QString current;
    for (const imaging::ScannerDevice& device : devices) {
        labels << device.label();
        if (device.name == chosenScanner_)
            current = device.label();
    }
    const std::optional<QString> chosen =
        dialogs_.chooseItem(window_.dialogParent(), caption, QObject::tr("Scanner:"), labels, current);
    if (!chosen)
        return;
    chosenScanner_ = devices[static_cast<std::size_t>(labels.indexOf(*chosen))].name;
}

void ScannerCommands::scan()
{
    const BusyScope busy(window_);
    beginImport(db_, window_);
    MainWindowState& state = window_.state();
    state.ImageEmptyAtError = false;
    try {
        const QImage scanned = behindProgressWindow(
            window_.dialogParent(), QObject::tr("Scanning..."),
            [this](const imaging::TaskControl& control) { return imaging::acquireScan(chosenScanner_, control); });
        view_.setPicture(scanned);
    } catch (const imaging::Error& error) {
        view_.reportError(error.codeValue(), error.text());
    }
    TTable& pictures = db_.Table1;
    const int before = pictures.recordCount();
    pictures.refresh();
    if (state.ImageEmptyAtError) {
        window_.bringToFront();
        if (pictures.recordCount() > before)
            pictures.deleteRecord();
    }
    state.ImageEmptyAtError = false;
}
