// The application object with the program's one place for errors: an error escaping any
// event handler is shown in a message box with its text, and the program goes on.
#pragma once

#include <QApplication>

class DialogService;

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    void setDialogService(DialogService* dialogs) { dialogs_ = dialogs; }
    // Shows an error the way every handler's escaping error is shown.
    void showError(const QString& text);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    DialogService* dialogs_ = nullptr;
};
