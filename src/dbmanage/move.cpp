#include "dbmanage/move.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/directorylistbox.h"
#include "framework/drivecombobox.h"
#include "framework/filelistbox.h"
#include "framework/pathlabel.h"

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name, const QString& accessibleName = {})
{
    widget->setObjectName(QString::fromLatin1(name));
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

TForm9::TForm9(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("copy / move"));

    RzLabel1 = named(new QLabel(QStringLiteral("- First choose a database in the left window"), this), "RzLabel1");
    RzLabel2 = named(
        new QLabel(QStringLiteral("- Secondly choose a destination directory in de right window"), this), "RzLabel2");
    RzLabel5 = named(
        new QLabel(
            QStringLiteral("- After clicking OK, be patient, it can take some time to complete the action......"),
            this),
        "RzLabel5");
    Label5 = named(new QLabel(QStringLiteral("Database:"), this), "Label5");
    Label6 = named(new PathLabel(this), "Label6", QStringLiteral("Database"));

    DriveComboBox1 = named(new DriveComboBox(this), "DriveComboBox1", QStringLiteral("Source drive"));
    RzLabel3 = named(new QLabel(QStringLiteral("Source"), this), "RzLabel3");
    Label3 = named(new PathLabel(this), "Label3", QStringLiteral("Source folder"));
    DirectoryListBox1 = named(new DirectoryListBox(this), "DirectoryListBox1", QStringLiteral("Source folders"));
    FileListBox1 = named(new FileListBox(this), "FileListBox1", QStringLiteral("Databases"));
    FileListBox1->setMask(QStringLiteral("*.mb"));
    DriveComboBox2 = named(new DriveComboBox(this), "DriveComboBox2", QStringLiteral("Destination drive"));
    RzLabel4 = named(new QLabel(QStringLiteral("Destination"), this), "RzLabel4");
    Label4 = named(new PathLabel(this), "Label4", QStringLiteral("Destination folder"));
    DirectoryListBox2 =
        named(new DirectoryListBox(this), "DirectoryListBox2", QStringLiteral("Destination folders"));
    QHBoxLayout* buttons = okCancelRow(BitBtn1, "BitBtn1", BitBtn2, "BitBtn2");

    DirectoryListBox1->attachDriveComboBox(DriveComboBox1);
    DirectoryListBox1->attachLabel(Label3);
    DirectoryListBox1->attachFileListBox(FileListBox1);
    DirectoryListBox1->setDirectory(QDir::homePath());
    DirectoryListBox2->attachDriveComboBox(DriveComboBox2);
    DirectoryListBox2->attachLabel(Label4);
    DirectoryListBox2->setDirectory(QDir::homePath());
    connect(FileListBox1, &FileListBox::fileSelected, this, [this](const QString& path) {
        // A selection lost because the folder changed is no click on a file.
        if (!path.isEmpty())
            FileListBox1Click();
    });

    auto* chosen = new QHBoxLayout;
    chosen->addWidget(Label5);
    chosen->addWidget(Label6, 1);
    auto* sides = new QGridLayout;
    sides->addWidget(DriveComboBox1, 0, 0);
    sides->addWidget(RzLabel3, 1, 0);
    sides->addWidget(Label3, 2, 0);
    sides->addWidget(DirectoryListBox1, 3, 0);
    sides->addWidget(FileListBox1, 4, 0);
    sides->addWidget(DriveComboBox2, 0, 1);
    sides->addWidget(RzLabel4, 1, 1);
    sides->addWidget(Label4, 2, 1);
    sides->addWidget(DirectoryListBox2, 3, 1, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RzLabel1);
    layout->addWidget(RzLabel2);
    layout->addWidget(RzLabel5);
    layout->addLayout(chosen);
    layout->addLayout(sides, 1);
    layout->addLayout(buttons);
    setFixedClientSize(560, 520);
    setCentredOnScreen();
}

void TForm9::prepare(const QString& caption)
{
    Label6->clear();
    setWindowTitle(caption);
    setDestinationEnabled(false);
}

void TForm9::FileListBox1Click()
{
    Label6->setText(FileListBox1->selectedFilePath());
    setDestinationEnabled(true);
}

void TForm9::setDestinationEnabled(bool enabled)
{
    DriveComboBox2->setEnabled(enabled);
    DirectoryListBox2->setEnabled(enabled);
    BitBtn1->setEnabled(enabled);
}

void TForm9::showEvent(QShowEvent* event)
{
    TModalForm::showEvent(event);
    // Albums and folders may have come or gone since the window was last shown.
    DirectoryListBox1->refresh();
    DirectoryListBox2->refresh();
}
