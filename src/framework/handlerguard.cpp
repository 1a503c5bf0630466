#include "framework/handlerguard.h"

#include <QMessageBox>

#include "framework/application.h"

void showHandlerError(const QString& text)
{
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance())) {
        app->showError(text);
        return;
    }
    QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
}
