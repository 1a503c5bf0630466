#include "dbmanage/paswoord.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Masks each typed character with "*" rather than the style's own bullet.
class StarMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

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
    auto* masking = new StarMaskStyle;
    masking->setParent(MaskEdit1);
    MaskEdit1->setStyle(masking);
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
