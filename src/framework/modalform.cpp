#include "framework/modalform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

TModalForm::TModalForm(QWidget* parent) : QDialog(parent)
{
    setModal(true);
}

TModalResult TModalForm::ShowModal()
{
    if (centredOnScreen_) {
        QScreen* shownOn = parentWidget() ? parentWidget()->screen() : screen();
        QRect placed(QPoint(), frameGeometry().size());
        placed.moveCenter(shownOn->availableGeometry().center());
        move(placed.topLeft());
    }
    return exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
}

void TModalForm::setFixedClientSize(int width, int height)
{
    setFixedSize(width, height);
}

QHBoxLayout* TModalForm::okCancelRow(QPushButton*& ok, const char* okName, QPushButton*& cancel, const char* cancelName)
{
    ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QString::fromLatin1(okName));
    ok->setDefault(true);
    cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QString::fromLatin1(cancelName));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
