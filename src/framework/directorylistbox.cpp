#include "framework/directorylistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

#include "framework/drivecombobox.h"
#include "framework/filelistbox.h"
#include "framework/volumes.h"

namespace {

constexpr int pathRole = Qt::UserRole;

QString nearestExistingFolder(const QString& path)
{
    QString folder = QDir::cleanPath(QDir(path).absolutePath());
    while (QDir::isRelativePath(folder) || !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        // No path left to shorten: a relative path from a current folder that has been
        // removed (which has no absolute path any more).
        if (parent == folder)
            return QDir::rootPath();
        folder = parent;
    }
    return folder;
}

} // namespace

DirectoryListBox::DirectoryListBox(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    // The tree only indents the chain; every level is always shown and cannot be folded away.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(12);
    // Enter never reaches the base class (see keyPressEvent), so this comes from the mouse.
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { openItem(itemFromIndex(index)); });
}

void DirectoryListBox::setDirectory(const QString& path)
{
    const QString folder = nearestExistingFolder(path);
    const bool changed = folder != directory_;
    directory_ = folder;
    rebuild();
    if (changed)
        emit directoryChanged(directory_);
}

void DirectoryListBox::refresh()
{
    if (!directory_.isEmpty())
        setDirectory(directory_);
}

void DirectoryListBox::attachDriveComboBox(DriveComboBox* drives)
{
    drives->setDrive(directory_.isEmpty() ? QDir::currentPath() : directory_);
    connect(this, &DirectoryListBox::directoryChanged, drives, &DriveComboBox::setDrive);
    connect(drives, &DriveComboBox::driveChanged, this, &DirectoryListBox::setDirectory);
}

void DirectoryListBox::attachLabel(QLabel* label)
{
    const auto show = [label](const QString& path) { label->setText(QDir::toNativeSeparators(path)); };
    show(directory_);
    connect(this, &DirectoryListBox::directoryChanged, label, show);
}

void DirectoryListBox::attachFileListBox(FileListBox* files)
{
    if (!directory_.isEmpty())
        files->setDirectory(directory_);
    connect(this, &DirectoryListBox::directoryChanged, files, &FileListBox::setDirectory);
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (currentItem()) {
        openItem(currentItem());
        // Taken here, so a window's default button does not act on the same key as well.
        event->accept();
    } else {
        event->ignore();
    }
}

void DirectoryListBox::drawBranches(QPainter*, const QRect&, const QModelIndex&) const
{
    // Nothing: the chain is always fully open, so arrows that offer to fold it would mislead.
}

void DirectoryListBox::openItem(const QTreeWidgetItem* item)
{
    if (item)
        setDirectory(item->data(0, pathRole).toString());
}

QTreeWidgetItem* DirectoryListBox::addFolder(QTreeWidgetItem* parent, const QString& name, const QString& path,
                                             bool open)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, name);
    item->setData(0, pathRole, path);
    item->setIcon(0, style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    return item;
}

void DirectoryListBox::rebuild()
{
    clear();
    const QString root = volumeRootOf(directory_);
    QTreeWidgetItem* current = addFolder(nullptr, QDir::toNativeSeparators(root), root, true);
    QString path = root;
    const QString below = QDir(root).relativeFilePath(directory_);
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (name == QLatin1String("."))
            continue;
        path = QDir(path).filePath(name);
        current = addFolder(current, name, path, true);
    }
    // A folder that cannot be read lists nothing, which is what it shows: no subfolders.
    const QDir folder(directory_, {}, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware,
                      QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folder.entryList())
        addFolder(current, name, folder.filePath(name), false);
    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}
