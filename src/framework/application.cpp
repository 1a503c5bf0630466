#include "framework/application.h"

#include <QKeyEvent>
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

void TApplication::setKeyPreview(QWidget* window, std::function<void(const QKeyEvent&)> preview)
{
    keyPreviewWindow_ = window;
    keyPreview_ = window ? std::move(preview) : nullptr;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        // A key comes here once, for the control it is typed into; passing it on to that
        // control's parents happens inside QApplication::notify.
        if (event->type() == QEvent::KeyPress && keyPreviewWindow_ && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->window() == keyPreviewWindow_)
            keyPreview_(*static_cast<QKeyEvent*>(event));
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(tr("An unknown error occurred."));
    }
    return false;
}
