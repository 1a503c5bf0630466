#include "framework/modalform.h"

TModalForm::TModalForm(QWidget* parent) : QDialog(parent)
{
    setModal(true);
}

TModalResult TModalForm::ShowModal()
{
    return exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
}

void TModalForm::setFixedClientSize(int width, int height)
{
    setFixedSize(width, height);
}
