#include "dbmanage/newbase.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/directorylistbox.h"
#include "framework/drivecombobox.h"

TForm8::TForm8(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("New Database"));

    Label1 = new QLabel(QStringLiteral("Please choose a location and name for the new database:"), this);
    Label4 = new QLabel(QStringLiteral("Location:"), this);
    DriveComboBox1 = new DriveComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setAccessibleName(QStringLiteral("Drive"));
    DirectoryListBox1 = new DirectoryListBox(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setAccessibleName(QStringLiteral("Location"));
    Label4->setBuddy(DirectoryListBox1);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Database Name:"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("Database Name"));
    Label3->setBuddy(Edit1);
    QHBoxLayout* buttons = okCancelRow(BitBtn2, "BitBtn2", BitBtn1, "BitBtn1");

    DirectoryListBox1->attachDriveComboBox(DriveComboBox1);
    DirectoryListBox1->attachLabel(Label2);
    DirectoryListBox1->setDirectory(QDir::currentPath());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(6);
    layout->addWidget(Label4);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirectoryListBox1, 1);
    layout->addWidget(Label2);
    layout->addSpacing(6);
    layout->addWidget(Label3);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    setFixedClientSize(420, 440);
    setCentredOnScreen();
    setTabOrder(DriveComboBox1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, Edit1);
    setTabOrder(Edit1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
}

QString TForm8::location() const
{
    return DirectoryListBox1->directory();
}

void TForm8::showEvent(QShowEvent* event)
{
    TModalForm::showEvent(event);
    // Folders may have come or gone since the window was last shown.
    DirectoryListBox1->refresh();
}
