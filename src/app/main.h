// TForm1, the main window: the picture of the current record with its memo, category and mark
// boxes, the browsing buttons, the menu bar from which every command starts, and the start-up
// and shutdown of the program.
#pragma once

#include <QMainWindow>

#include "imaging/pdbmultiimage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class TrackBar;
class QTimer;
class QToolButton;
class QPushButton;

class DBMemo;
class DBCheckBox;
class DBLabel;
class DBStateStatus;
class DialogService;
class PartsProgressBar;
class StatusPane;
class Tdb;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TMMOpenDialog;
class AutoOpenNote;

// The program's windows other than the main one, created once at start-up after it.
struct ModalWindows {
    TForm2* Form2 = nullptr;
    TForm4* Form4 = nullptr;
    TForm7* Form7 = nullptr;
    TForm5* Form5 = nullptr;
    TForm3* Form3 = nullptr;
    TForm8* Form8 = nullptr;
    TForm9* Form9 = nullptr;
    TForm10* Form10 = nullptr;
    TForm11* Form11 = nullptr;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(DialogService& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // The data module is created after the main window; binding it connects the controls.
    void setDataModule(Tdb& db);
    void setModalWindows(const ModalWindows& windows) { windows_ = windows; }
    const ModalWindows& windows() const { return windows_; }
    Tdb& db() { return *db_; }
    DialogService& dialogs() { return dialogs_; }

    // State shared by the commands.
    bool SlideshowStopped = true;
    bool SlideshowForward = true;
    std::int32_t SlideshowTicks = 0;
    std::int32_t ZoomStep = 0;
    bool ImageEmptyAtError = false;

    // Controls.
    QSplitter* RzSplitter3 = nullptr;
    TPDBMultiImage* PDBMultiImage1 = nullptr;
    DBMemo* DBMemo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // back
    QToolButton* SpeedButton2 = nullptr; // forward
    QToolButton* SpeedButton3 = nullptr; // slideshow
    QToolButton* SpeedButton4 = nullptr; // find next
    QToolButton* SpeedButton5 = nullptr; // zoom in
    QToolButton* SpeedButton6 = nullptr; // zoom out
    QToolButton* SpeedButton7 = nullptr; // show all
    QToolButton* SpeedButton8 = nullptr; // thumbnails
    QToolButton* SpeedButton9 = nullptr; // full screen
    TrackBar* RzTrackBar1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // exit
    TMMOpenDialog* MMOpenDialog1 = nullptr;
    std::array<DBLabel*, 24> categoryLabels{};   // RzDBLabel… for categories 1..24
    std::array<DBCheckBox*, 24> categoryBoxes{}; // RzDBCheckBox… for categories 1..24
    DBCheckBox* RzDBCheckBox25 = nullptr;        // "Check"
    DBStateStatus* RzDBStateStatus1 = nullptr;
    StatusPane* RzStatusPane1 = nullptr;
    StatusPane* RzStatusPane4 = nullptr;
    StatusPane* RzStatusPane3 = nullptr;
    PartsProgressBar* RzProgressBar2 = nullptr;
    StatusPane* RzStatusPane2 = nullptr;

    // Menu commands.
    QMenu* DataBase1 = nullptr;
    QMenu* Picture1 = nullptr;
    QMenu* Batch1 = nullptr;
    QMenu* Scanner1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Opties1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* Move1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* ImportSingle1 = nullptr;
    QAction* ImportMulti1 = nullptr;
    QAction* ImportClipboard1 = nullptr;
    QAction* ExportClipboard1 = nullptr;
    QAction* PrinterSetup1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* DeletePicture1 = nullptr;
    QAction* ShowChecked1 = nullptr;
    QAction* Print2 = nullptr;
    QAction* MarkallPictures1 = nullptr;
    QAction* Unmarkallpictures1 = nullptr;
    QAction* Select1 = nullptr;
    QAction* Scan1 = nullptr;
    QAction* Labels1 = nullptr;
    QAction* Processing1 = nullptr;
    QAction* Help1 = nullptr;
    QAction* About1 = nullptr;

    // Start-up, shutdown and the window's own events.
    void FormActivate();
    void FormClose();
    void FormResize();
    void FormKeyPress(QChar key);
    void Exit1Click();
    void BitBtn1Click();
    void PDBMultiImage1Progress(int percent, const QString& status, bool* abort);
    void PDBMultiImage1IlibError(int code, const QString& text);

    // Activation (the album becomes the open one) and the database commands' state.
    void PasswordGate(const std::string& directory, const std::string& baseName);
    void ActivateDatabase(const std::string& directory, const std::string& baseName);
    void ButtonStatus(bool on);
    bool albumOpen() const;
    // Closing the open album: filter off, pending edits stored, its tables closed, the
    // window showing no album. What could not be stored is reported; the tables close anyway.
    void closeAlbum();
    // The window as it is with no album open: commands off, panes and position bar empty.
    void showNoAlbum();

    // While a long command runs and lets the window paint, the window does not close and
    // the slideshow does not step.
    class BusyScope {
    public:
        explicit BusyScope(TForm1& form) : form_(form) { ++form_.busy_; }
        ~BusyScope() { --form_.busy_; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        TForm1& form_;
    };

    // Browsing.
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void RzTrackBar1MouseUp();
    void SpeedButton3Click();
    void MyIdleHandler();

    // Category filtering.
    void RzLabel2Click();
    void RzLabel3Click();
    void RzLabel4Click();
    void RzLabel5Click();
    void RzLabel6Click();
    void RzLabel7Click();
    void RzLabel8Click();
    void RzLabel9Click();
    void RzLabel10Click();
    void RzLabel11Click();
    void RzLabel12Click();
    void RzLabel13Click();
    void RzLabel14Click();
    void RzLabel15Click();
    void RzLabel16Click();
    void RzLabel17Click();
    void RzLabel18Click();
    void RzLabel19Click();
    void RzLabel20Click();
    void RzLabel21Click();
    void RzLabel22Click();
    void RzLabel23Click();
    void RzLabel24Click();
    void RzLabel25Click();
    void ShowChecked1Click();
    void SpeedButton7Click();

    // Albums.
    void Open1Click();
    void Opties1Click();
    void New1Click();
    void Delete1Click();
    void Move1Click();
    void Copy1Click();

    // Pictures.
    void ImportSingle1Click();
    void ImportMulti1Click();
    void ImportClipboard1Click();
    void JPG1Click();
    void GIF1Click();
    void BMP1Click();
    void TIF1Click();
    void TGA1Click();
    void PCX1Click();
    void PNG1Click();
    void EPS1Click();
    void ExportClipboard1Click();
    void PrinterSetup1Click();
    void Print1Click();
    void DeletePicture1Click();
    void Print2Click();
    void asJPG1Click();
    void asGIF1Click();
    void asBMP1Click();
    void asTIF1Click();
    void asTGA1Click();
    void asPCX1Click();
    void asPNG1Click();
    void asEPS1Click();
    void MarkallPictures1Click();
    void Unmarkallpictures1Click();
    void Select1Click();
    void Scan1Click();
    void Processing1Click();

    // Views.
    void Labels1Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void Help1Click();
    void About1Click();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every key typed in this window comes here first, then goes on to the focused control.
    void previewKey(const QKeyEvent& key);
    void buildLayout();
    void buildMenu();
    void connectCommands();
    QWidget* buildLowerPane();
    QWidget* buildCategoryColumn();
    void buildStatusBar();
    void showCategory(int predicate);
    void setPositionBar(int position);
    void step(bool forward);
    void beginImport();
    void loadPicture(const QString& path);
    void fitPictureToView();
    void showPictureName();
    void notYetAvailable(const QString& command);
    // The stored geometry is the window's outer one, frame included.
    void restoreOuterGeometry(const QRect& outer);
    // Writes the open album into reg.db as the one to open at the next start.
    void rememberOpenAlbum();
    void placeOuterGeometry();
    void checkOuterGeometry();
    QMargins frameMargins() const;

    Tdb* db_ = nullptr;
    DialogService& dialogs_;
    ModalWindows windows_;
    QTimer* idleTimer_ = nullptr;
    QTimer* geometryWatch_ = nullptr;
    QRect wantedOuter_;
    QMargins placedWithFrame_;
    int geometryChecks_ = 0;
    bool started_ = false;
    bool closingDown_ = false;
    int busy_ = 0;
    QString chosenScanner_;                      // the scanner chosen for this session; empty: the first one found
    std::unique_ptr<AutoOpenNote> autoOpenNote_; // while the remembered album is being opened
};
