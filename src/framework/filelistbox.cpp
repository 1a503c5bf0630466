#include "framework/filelistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

QStringList nameFilters(const QString& masks)
{
    QStringList filters;
    for (const QString& mask : masks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!mask.trimmed().isEmpty())
            filters.append(mask.trimmed());
    }
    return filters;
}

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { emit fileSelected(selectedFilePath()); });
    // Enter never reaches the base class (see keyPressEvent), so this comes from the mouse: a
    // double click, or a single one where the desktop is set to open items that way.
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (const QListWidgetItem* file = item(index.row()))
            emit fileActivated(fullPath(file));
    });
}

void FileListBox::setDirectory(const QString& path)
{
    directory_ = QDir::cleanPath(QDir(path).absolutePath());
    reload({});
}

void FileListBox::setMask(const QString& masks)
{
    mask_ = masks;
    reload(selectedFilePath());
}

void FileListBox::refresh()
{
    reload(selectedFilePath());
}

QString FileListBox::selectedFilePath() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : fullPath(selected.first());
}

void FileListBox::selectFile(const QString& nameOrPath)
{
    const QString name = QFileInfo(nameOrPath).fileName();
    const QList<QListWidgetItem*> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) {
        clearSelection();
        return;
    }
    setCurrentItem(found.first());
    scrollToItem(found.first());
}

QString FileListBox::fullPath(const QListWidgetItem* item) const
{
    return QDir(directory_).filePath(item->text());
}

void FileListBox::reload(const QString& keepSelected)
{
    const QString before = selectedFilePath();
    {
        // One fileSelected at the end, not one for the cleared list and another for the reselection.
        const QSignalBlocker quiet(this);
        clear();
        if (!directory_.isEmpty()) {
            // Without QDir::CaseSensitive the name filters match regardless of case.
            const QDir folder(directory_, {}, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware, QDir::Files);
            addItems(folder.entryList(nameFilters(mask_)));
        }
        if (!keepSelected.isEmpty())
            selectFile(keepSelected);
    }
    if (selectedFilePath() != before)
        emit fileSelected(selectedFilePath());
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    if (!isEnterKey(event)) {
        QListWidget::keyPressEvent(event);
        return;
    }
    if (currentItem() && currentItem()->isSelected()) {
        emit fileActivated(fullPath(currentItem()));
        // Taken here, so a window's default button does not act on the same key as well.
        event->accept();
    } else {
        event->ignore(); // nothing chosen: the key belongs to the window's default button
    }
}

void FileListBox::mousePressEvent(QMouseEvent* event)
{
    const QString before = selectedFilePath();
    QListWidget::mousePressEvent(event);
    // A click on the file that is already selected still counts as choosing it: a window that
    // resets itself before each use relies on the click even when the list kept its selection.
    const QListWidgetItem* clicked = itemAt(event->position().toPoint());
    if (!before.isEmpty() && clicked && clicked->isSelected() && fullPath(clicked) == before)
        emit fileSelected(before);
}
