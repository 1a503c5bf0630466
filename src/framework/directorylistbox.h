// A folder chooser: the chain of folders from the volume's root down to the current folder,
// each one level further in and shown open, then the current folder's subfolders, shown closed.
// Double-click or Enter on any entry makes it the current folder.
#pragma once

#include <QTreeWidget>

class DriveComboBox;
class FileListBox;
class QLabel;

class DirectoryListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget* parent = nullptr);

    // Makes `path` the current folder; a path that does not exist (any more) falls back to its
    // nearest existing parent. Both forms, with and without a trailing separator, work.
    void setDirectory(const QString& path);
    // The current folder as a clean absolute path; empty until one is set.
    QString directory() const { return directory_; }
    // Reads the current folder again (another program may have added or removed folders).
    void refresh();

    // Links for the rest of both controls' lives: the drive box shows the current folder's volume
    // and choosing a volume there opens its root here; the label shows the current folder; the
    // file list lists the current folder.
    void attachDriveComboBox(DriveComboBox* drives);
    void attachLabel(QLabel* label);
    void attachFileListBox(FileListBox* files);

signals:
    void directoryChanged(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void openItem(const QTreeWidgetItem* item);
    void rebuild();
    QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, const QString& name, const QString& path, bool open);

    QString directory_;
};
