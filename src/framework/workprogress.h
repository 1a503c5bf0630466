// Long work on a worker thread behind a progress window with a Cancel button, while the
// window thread goes on handling events. Cancel (the button, Escape or closing the window)
// only asks the work to stop: the window stays up, modal, until the work has ended.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>

#include <atomic>
#include <exception>
#include <thread>

#include "imaging/taskcontrol.h"

class QPushButton;

class WorkProgressWindow : public QProgressDialog {
    Q_OBJECT
public:
    WorkProgressWindow(const QString& text, QWidget* owner);
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* cancelButton_;
};

// Runs `work(control)` on a worker thread while a progress window says `text`; returns what
// the work returned and rethrows what it threw. The work reports progress and watches for
// Cancel through its imaging::TaskControl.
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
