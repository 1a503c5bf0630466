#include "framework/errordisplay.h"

#include <QMessageBox>

#include <exception>

#include "framework/dialogservice.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TApplication::showError(const QString& text)
{
    QWidget* parent = activeModalWidget() ? activeModalWidget() : activeWindow();
    if (dialogs_)
        dialogs_->showError(parent, text);
    else
        QMessageBox::critical(parent, applicationName(), text);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(tr("An unknown error occurred."));
    }
    return false;
}
