// TForm7, the Options window: the open album's settings record (password, slideshow delay,
// display and file-format settings) and the application's automatic opening, on three pages.
// Most controls are bound to their fields; the display check boxes write through their click
// handlers, and the File page's controls also apply their value to the picture view.
#pragma once

#include "framework/modalform.h"

class DBCheckBox;
class DBComboBox;
class DBEdit;
class DBTrackBar;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TPDBMultiImage;
class Tdb;

class TForm7 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Binds the controls to the open album's settings and reg.db, and the handlers to the
    // picture view they apply settings to. Done once, when the data module exists.
    void bind(Tdb& db, TPDBMultiImage& view);

    // Handlers.
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void RzDBTrackBar1MouseUp();
    void RzDBTrackBar2MouseUp();
    void RzDBComboBox2Change();
    void RzDBComboBox3Change();
    void RzDBComboBox1Change();

    QTabWidget* PageControl1 = nullptr;
    // Page "Database".
    QLabel* RzLabel4 = nullptr;
    DBCheckBox* DBCheckBox1 = nullptr; // "Password", PW
    QLineEdit* MaskEdit1 = nullptr;    // the password, copied by hand
    DBCheckBox* DBCheckBox2 = nullptr; // "Automatic open last database", AUTO-OPEN of reg.db
    // Page "Picture".
    QLabel* Label1 = nullptr;
    DBEdit* DBEdit2 = nullptr; // DELAY
    QLabel* Label2 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // "Center"
    QCheckBox* CheckBox2 = nullptr; // "Auto Fit"
    QCheckBox* CheckBox3 = nullptr; // "Show Filename"
    // Page "File".
    QLabel* Label3 = nullptr;
    DBTrackBar* RzDBTrackBar1 = nullptr; // JPG QUALITY
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label4 = nullptr;
    DBTrackBar* RzDBTrackBar2 = nullptr; // JPG SMOOTH
    QLabel* Label11 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label5 = nullptr;
    DBComboBox* RzDBComboBox2 = nullptr; // PNG INTERLACE
    QLabel* Label6 = nullptr;
    DBComboBox* RzDBComboBox3 = nullptr; // TIF COMPRESSION
    QLabel* Label7 = nullptr;
    DBComboBox* RzDBComboBox1 = nullptr; // PCD MODE
    QPushButton* BitBtn1 = nullptr;      // OK

private:
    QWidget* buildDatabasePage();
    QWidget* buildPicturePage();
    QWidget* buildFilePage();
    void writeSetting(const char* fieldName, bool value);

    Tdb* db_ = nullptr;
    TPDBMultiImage* view_ = nullptr;
};
