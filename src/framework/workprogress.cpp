#include "framework/workprogress.h"

#include <QCloseEvent>
#include <QPushButton>

WorkProgressWindow::WorkProgressWindow(const QString& text, QWidget* owner)
    : QProgressDialog(text, QString(), 0, 100, owner)
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

void WorkProgressWindow::reject()
{
    emit canceled();
}

void WorkProgressWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit canceled();
}
