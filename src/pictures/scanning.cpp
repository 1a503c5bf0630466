// Choosing a scanner and scanning a picture into a new record. The scan runs on a worker
// thread behind a progress window with a Cancel button, so the window keeps painting.
#include "app/main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>

#include <atomic>
#include <thread>

#include "data/data.h"
#include "framework/dialogservice.h"
#include "imaging/error.h"
#include "imaging/pdbmultiimage.h"
#include "imaging/scanner.h"

namespace {

// A progress window that stays up, modal, until the work behind it has ended: Cancel (the
// button, Escape or closing the window) only asks the work to stop.
class WorkProgressWindow : public QProgressDialog {
public:
    WorkProgressWindow(const QString& text, QWidget* owner) : QProgressDialog(text, QString(), 0, 100, owner)
    {
        setWindowTitle(QStringLiteral("Kadrix"));
        setWindowModality(Qt::ApplicationModal);
        setMinimumDuration(0);
        setAutoClose(false);
        setAutoReset(false);
        cancelButton_ = new QPushButton(tr("Cancel"));
        setCancelButton(cancelButton_);
        // QProgressDialog hides itself on its own Cancel, connected by name.
        disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
        connect(this, &QProgressDialog::canceled, this, [this] {
            cancelButton_->setEnabled(false);
            setLabelText(tr("Cancelling..."));
        });
    }
    void reject() override { emit canceled(); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        emit canceled();
    }

private:
    QPushButton* cancelButton_;
};

// Runs `work` on a worker thread while a progress window with Cancel is shown; the window
// thread goes on handling events meanwhile. Returns what the work returned, rethrows what it
// threw.
template <typename Work> auto behindProgressWindow(QWidget* owner, const QString& text, Work work)
{
    WorkProgressWindow progress(text, owner);
    std::atomic_bool cancel{false};
    QObject::connect(&progress, &QProgressDialog::canceled, [&cancel] { cancel = true; });

    imaging::TaskControl control;
    control.cancel = &cancel;
    control.progress = [&progress](int percent, const QString&) {
        QMetaObject::invokeMethod(
            &progress, [&progress, percent] { progress.setValue(percent); }, Qt::QueuedConnection);
    };
    QEventLoop waiting;
    std::exception_ptr failure;
    decltype(work(control)) result{};
    progress.show();
    std::thread worker([&] {
        try {
            result = work(control);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    waiting.exec();
    worker.join();
    QCoreApplication::removePostedEvents(&progress); // progress news for a closed window
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

} // namespace

void TForm1::Select1Click()
{
    const BusyScope busy(*this);
    std::vector<imaging::ScannerDevice> devices;
    try {
        devices = behindProgressWindow(this, tr("Looking for scanners..."),
                                       [](const imaging::TaskControl&) { return imaging::listScanners(); });
    } catch (const imaging::Error& error) {
        PDBMultiImage1->reportError(error.codeValue(), error.text());
        return;
    }
    const QString caption = tr("Select Scanner");
    if (devices.empty()) {
        dialogs().showInformation(this, caption, tr("No scanner was found."));
        return;
    }
    QStringList labels;
    QString current;
    for (const imaging::ScannerDevice& device : devices) {
        labels << device.label();
        if (device.name == chosenScanner_)
            current = device.label();
    }
    const std::optional<QString> chosen = dialogs().chooseItem(this, caption, tr("Scanner:"), labels, current);
    if (!chosen)
        return;
    chosenScanner_ = devices[static_cast<std::size_t>(labels.indexOf(*chosen))].name;
}

void TForm1::Scan1Click()
{
    const BusyScope busy(*this);
    beginImport();
    ImageEmptyAtError = false;
    try {
        const QImage scanned =
            behindProgressWindow(this, tr("Scanning..."), [this](const imaging::TaskControl& control) {
                return imaging::acquireScan(chosenScanner_, control);
            });
        PDBMultiImage1->setPicture(scanned);
    } catch (const imaging::Error& error) {
        PDBMultiImage1->reportError(error.codeValue(), error.text());
    }
    TTable& pictures = db().Table1;
    const int before = pictures.recordCount();
    pictures.refresh();
    if (ImageEmptyAtError) {
        raise();
        activateWindow();
        if (pictures.recordCount() > before)
            pictures.deleteRecord();
    }
    ImageEmptyAtError = false;
}
