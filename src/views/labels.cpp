#include "views/labels.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int namesPerColumn = 12;

} // namespace

TForm2::TForm2(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Category"));
    setCentredOnScreen();

    auto* layout = new QVBoxLayout(this);
    RzLabel1 = new QLabel(tr("Labels to arrange the pictures:"), this);
    RzLabel1->setObjectName(QStringLiteral("RzLabel1"));
    layout->addWidget(RzLabel1);

    auto* grid = new QGridLayout;
    for (int category = 1; category <= 24; ++category) {
        const int column = category <= namesPerColumn ? 0 : 2;
        const int row = (category - 1) % namesPerColumn;
        auto* caption = new QLabel(tr("Label %1:").arg(category), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("RzLineEdit%1").arg(category));
        caption->setBuddy(edit);
        edit->setAccessibleName(caption->text());
        grid->addWidget(caption, row, column);
        grid->addWidget(edit, row, column + 1);
        edits_[static_cast<std::size_t>(category - 1)] = edit;
    }
    grid->setColumnMinimumWidth(1, 130);
    grid->setColumnMinimumWidth(3, 130);
    layout->addLayout(grid);

    BitBtn1 = new QPushButton(tr("&Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
