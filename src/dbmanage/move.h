// TForm9, the window for copying and moving albums: the album chosen on the left by its blob
// file, the destination folder on the right. The destination side and OK stay disabled until
// a file is clicked in the file list.
#pragma once

#include "framework/modalform.h"

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class PathLabel;
class QLabel;
class QPushButton;

class TForm9 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Readies the window for one use: no album chosen, the given caption, the destination
    // side and OK disabled.
    void prepare(const QString& caption);
    // The file clicked in the file list becomes the chosen album; the destination side and
    // OK become usable.
    void FileListBox1Click();

    QLabel* RzLabel1 = nullptr;
    QLabel* RzLabel2 = nullptr;
    QLabel* RzLabel5 = nullptr;
    QLabel* Label5 = nullptr;
    PathLabel* Label6 = nullptr; // the chosen album's blob file
    DriveComboBox* DriveComboBox1 = nullptr;
    QLabel* RzLabel3 = nullptr;
    PathLabel* Label3 = nullptr;
    DirectoryListBox* DirectoryListBox1 = nullptr;
    FileListBox* FileListBox1 = nullptr;
    DriveComboBox* DriveComboBox2 = nullptr;
    QLabel* RzLabel4 = nullptr;
    PathLabel* Label4 = nullptr;
    DirectoryListBox* DirectoryListBox2 = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setDestinationEnabled(bool enabled);
};
