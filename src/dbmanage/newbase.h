// TForm8, the New Database window: where the new album goes and what it is called. Created
// once, it shows the drive, folder and name the user left in it the last time.
#pragma once

#include "framework/modalform.h"

class DirectoryListBox;
class DriveComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm8 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // The folder chosen in the folder list.
    QString location() const;

    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    DriveComboBox* DriveComboBox1 = nullptr;
    DirectoryListBox* DirectoryListBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn2 = nullptr; // OK
    QPushButton* BitBtn1 = nullptr; // Cancel

protected:
    void showEvent(QShowEvent* event) override;
};
