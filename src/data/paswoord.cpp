#include "data/paswoord.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm4::TForm4(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Password"));
    setFixedClientSize(293, 162);
    setCentredOnScreen();

    Label1 = new QLabel(QStringLiteral("Password to access this database:"), this);
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->setEchoMode(QLineEdit::Password);
    MaskEdit1->setAccessibleName(QStringLiteral("Password"));
    Label1->setBuddy(MaskEdit1);

    QHBoxLayout* buttons = okCancelRow(BitBtn2, "BitBtn2", BitBtn1, "BitBtn1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(Label1);
    layout->addWidget(MaskEdit1);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setTabOrder(MaskEdit1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
}

void TForm4::showEvent(QShowEvent* event)
{
    TModalForm::showEvent(event);
    MaskEdit1->setFocus();
    MaskEdit1->selectAll();
}
