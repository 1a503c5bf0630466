// The application object. It is the program's one place for errors: an error escaping any
// event handler is shown in a message box with its text, and the program goes on. It also
// gives a window key preview: the window sees every key typed in it before the control that
// has the focus.
#pragma once

#include <QApplication>
#include <QPointer>

#include <functional>

class DialogService;
class QKeyEvent;

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    void setDialogService(DialogService* dialogs) { dialogs_ = dialogs; }
    // Shows an error the way every handler's escaping error is shown.
    void showError(const QString& text);

    // `preview` sees each key pressed in `window` once, before the focused control gets it;
    // a null window ends the preview.
    void setKeyPreview(QWidget* window, std::function<void(const QKeyEvent&)> preview);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    DialogService* dialogs_ = nullptr;
    QPointer<QWidget> keyPreviewWindow_;
    std::function<void(const QKeyEvent&)> keyPreview_;
};
