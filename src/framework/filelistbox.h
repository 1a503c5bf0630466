// The files of one folder whose names match a list of masks, sorted by name. Masks are matched
// without regard to case, so "*.JPG" also lists the lower-case names usual on Linux.
#pragma once

#include <QListWidget>

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    void setDirectory(const QString& path);
    QString directory() const { return directory_; }
    // Masks separated by semicolons, such as "*.BMP;*.JPG"; empty lists every file.
    void setMask(const QString& masks);
    QString mask() const { return mask_; }
    // Reads the folder again, keeping the selected file when it is still listed.
    void refresh();

    // The full path of the selected file; empty when none is selected.
    QString selectedFilePath() const;
    // Selects the listed file with this name or full path; clears the selection when it is not listed.
    void selectFile(const QString& nameOrPath);

signals:
    // The selection moved to this file, or the user clicked the selected one again; an empty
    // path means nothing is selected any more.
    void fileSelected(const QString& fullPath);
    // The user double-clicked a file or pressed Enter on it.
    void fileActivated(const QString& fullPath);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString fullPath(const QListWidgetItem* item) const;
    void reload(const QString& keepSelected);

    QString directory_;
    QString mask_;
};
