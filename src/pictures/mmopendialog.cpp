#include "pictures/mmopendialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "framework/directorylistbox.h"
#include "framework/drivecombobox.h"
#include "framework/filelistbox.h"
#include "framework/pathlabel.h"
#include "pictures/openfilekinds.h"
#include "pictures/picturepreview.h"

namespace {

QLabel* buddyLabel(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

} // namespace

TMMOpenDialog::TMMOpenDialog(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("MMOpenDialog1"));
    setWindowTitle(tr("Open File"));
    createControls();
    layOutControls();
    connectControls();
    resize(720, 420);
}

std::optional<QString> TMMOpenDialog::execute()
{
    if (ShowModal() != TModalResult::mrOk || fileName().isEmpty())
        return std::nullopt;
    return fileName();
}

QString TMMOpenDialog::fileName() const
{
    return files_->selectedFilePath();
}

void TMMOpenDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepareForUse();
    TModalForm::showEvent(event);
}

void TMMOpenDialog::createControls()
{
    drives_ = new DriveComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveComboBox1"));
    folders_ = new DirectoryListBox(this);
    folders_->setObjectName(QStringLiteral("DirectoryListBox1"));
    folderPath_ = new PathLabel(this);
    folderPath_->setObjectName(QStringLiteral("FolderLabel"));
    files_ = new FileListBox(this);
    files_->setObjectName(QStringLiteral("FileListBox1"));
    kinds_ = new QComboBox(this);
    kinds_->setObjectName(QStringLiteral("FileKindComboBox"));
    for (const OpenFileKind& kind : openFileKinds())
        kinds_->addItem(kind.name, kind.masks);
    files_->setMask(openFileKinds().front().masks);
    preview_ = new PicturePreview(this);
    preview_->setObjectName(QStringLiteral("Preview"));
    status_ = new PathLabel(this);
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    status_->setAccessibleName(tr("Selected file"));
    drives_->setAccessibleName(tr("Drives"));
    folders_->setAccessibleName(tr("Folders"));
    folderPath_->setAccessibleName(tr("Current folder"));
    files_->setAccessibleName(tr("Files"));
    kinds_->setAccessibleName(tr("File kinds"));
    preview_->setAccessibleName(tr("Preview"));
    folders_->setMinimumSize(180, 200);
    files_->setMinimumSize(180, 200);
}

void TMMOpenDialog::layOutControls()
{
    auto* fileColumn = new QVBoxLayout;
    fileColumn->addWidget(buddyLabel(tr("&Files:"), files_));
    fileColumn->addWidget(files_, 1);
    fileColumn->addWidget(buddyLabel(tr("File &kinds:"), kinds_));
    fileColumn->addWidget(kinds_);

    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(buddyLabel(tr("F&olders:"), folders_));
    folderColumn->addWidget(folderPath_);
    folderColumn->addWidget(folders_, 1);
    folderColumn->addWidget(buddyLabel(tr("&Drives:"), drives_));
    folderColumn->addWidget(drives_);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(new QLabel(tr("Preview"), this));
    previewColumn->addWidget(preview_);
    previewColumn->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(fileColumn, 1);
    columns->addLayout(folderColumn, 1);
    columns->addLayout(previewColumn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* window = new QVBoxLayout(this);
    window->addLayout(columns, 1);
    window->addWidget(status_);
    window->addWidget(buttons);

    setTabOrder(files_, kinds_);
    setTabOrder(kinds_, folders_);
    setTabOrder(folders_, drives_);
    setTabOrder(drives_, ok_);
    setTabOrder(ok_, cancel);
}

void TMMOpenDialog::connectControls()
{
    folders_->attachDriveComboBox(drives_);
    folders_->attachLabel(folderPath_);
    folders_->attachFileListBox(files_);
    connect(kinds_, &QComboBox::currentIndexChanged, this, &TMMOpenDialog::chooseKind);
    connect(files_, &FileListBox::fileSelected, this, &TMMOpenDialog::fileChosen);
    connect(files_, &FileListBox::fileActivated, this, &QDialog::accept);
    fileChosen({});
}

void TMMOpenDialog::prepareForUse()
{
    drives_->refresh();
    // No folder is set in advance: the first use starts in the program's current folder.
    if (folders_->directory().isEmpty()) {
        folders_->setDirectory(QDir::currentPath());
    } else {
        // The window keeps its place, but the folder's contents may have changed since.
        folders_->refresh();
        files_->refresh();
        preview_->reload();
    }
    files_->setFocus();
}

void TMMOpenDialog::chooseKind(int index)
{
    files_->setMask(kinds_->itemData(index).toString());
}

void TMMOpenDialog::fileChosen(const QString& path)
{
    status_->setText(QDir::toNativeSeparators(path));
    ok_->setEnabled(!path.isEmpty());
    preview_->showFile(path);
}
