// The Open File window, used to import one picture: drive, folder and file lists, the kinds of
// file to list, a preview of the selected picture and the selected file's full path. Created
// once, it keeps its folder, kind and selection from one use to the next; the first use opens on
// the program's current folder.
#pragma once

#include <optional>

#include "framework/modalform.h"

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class PathLabel;
class PicturePreview;
class QComboBox;
class QPushButton;

class TMMOpenDialog : public TModalForm {
    Q_OBJECT
public:
    explicit TMMOpenDialog(QWidget* parent = nullptr);

    // Shows the window; the chosen file's full path, or nothing when the user cancels.
    std::optional<QString> execute();
    // The full path of the file selected in the file list; empty when none is selected.
    QString fileName() const;

    DriveComboBox* driveBox() const { return drives_; }
    DirectoryListBox* directoryList() const { return folders_; }
    FileListBox* fileList() const { return files_; }
    QComboBox* kindBox() const { return kinds_; }
    PicturePreview* preview() const { return preview_; }
    PathLabel* statusLine() const { return status_; }
    QPushButton* okButton() const { return ok_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void connectControls();
    void prepareForUse();
    void chooseKind(int index);
    void fileChosen(const QString& path);

    DriveComboBox* drives_ = nullptr;
    DirectoryListBox* folders_ = nullptr;
    PathLabel* folderPath_ = nullptr;
    FileListBox* files_ = nullptr;
    QComboBox* kinds_ = nullptr;
    PicturePreview* preview_ = nullptr;
    PathLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
};
