// TForm1, the main window: the picture of the current record with its memo, category and mark
// boxes, the browsing buttons and the menu bar from which every command starts. The window is
// the frame: it lays out its controls and hands each command to the class of its subsystem,
// and shows what the commands report through MainView.
#pragma once

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "framework/mainview.h"

class QAction;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTimer;
class QToolButton;

class AlbumActivation;
class AlbumCommands;
class AlbumTransfer;
class Browser;
class CategoryFilter;
class DBCheckBox;
class DBLabel;
class DBMemo;
class DBStateStatus;
class DialogService;
class ExportCommands;
class ImportCommands;
class OptionsCommand;
class PartsProgressBar;
class PictureMaintenance;
class PrintCommands;
class ProgressDisplay;
class ScannerCommands;
class Shutdown;
class Slideshow;
class Startup;
class StatusPane;
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
class TPDBMultiImage;
class Tdb;
class TrackBar;
class ViewCommands;
class WindowGeometry;

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

class TForm1 : public QMainWindow, public MainView {
    Q_OBJECT
public:
    explicit TForm1(DialogService& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // The data module and the modal windows are created after the main window; binding them
    // connects the controls and makes the commands.
    void bind(Tdb& db, const ModalWindows& windows);
    // The album the first activation opens instead of the remembered one (named on the
    // command line): its picture file's path.
    void openAtStart(const std::string& albumFile);
    bool albumOpen() const;

    // Start-up, shutdown and the window's own events.
    void FormActivate();
    void FormClose();
    void FormResize();
    void FormKeyPress(QChar key);
    void Exit1Click();
    void BitBtn1Click();
    void PDBMultiImage1Progress(int percent, const QString& status, bool* abort);
    void PDBMultiImage1IlibError(int code, const QString& text);

    // Browsing and the slideshow.
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

    // What the commands show here.
    QWidget* dialogParent() override { return this; }
    MainWindowState& state() override { return state_; }
    void setPositionMaximum(int maximum) override;
    int positionMaximum() const override;
    int position() const override;
    void showPosition(int position) override;
    void showRecordNumber(int number) override;
    QString findText() const override;
    void showFindResult(const QString& text) override;
    void showAlbumName(const QString& name) override;
    void showCaption(const QString& caption) override { setWindowTitle(caption); }
    void showProgress(int partsComplete, int totalParts) override;
    void showProgressPercent(int percent) override;
    void ButtonStatus(bool on) override;
    void setShowAllDown(bool down) override;
    void setSlideshowDown(bool down) override;
    void bringToFront() override;
    void showAllPictures() override { SpeedButton7Click(); }
    void showMarkedPictures() override { ShowChecked1Click(); }
    void beginBusy() override { ++busy_; }
    void endBusy() override { --busy_; }
    bool busy() const override { return busy_ > 0; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenu();
    void connectCommands();
    QWidget* buildLowerPane();
    QWidget* buildCategoryColumn();
    void buildStatusBar();
    void connectControls(Tdb& db);
    // Every key typed in this window comes here first, then goes on to the focused control.
    void previewKey(const QKeyEvent& key);

    DialogService& dialogs_;
    Tdb* db_ = nullptr;
    ModalWindows windows_;
    MainWindowState state_;
    int busy_ = 0;
    bool started_ = false;
    QTimer* idleTimer_ = nullptr;
    WindowGeometry* geometry_ = nullptr;

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
    std::array<DBLabel*, 24> categoryLabels_{};   // RzDBLabel… for categories 1..24
    std::array<DBCheckBox*, 24> categoryBoxes_{}; // RzDBCheckBox… for categories 1..24
    DBCheckBox* RzDBCheckBox25 = nullptr;         // "Check"
    DBStateStatus* RzDBStateStatus1 = nullptr;
    StatusPane* RzStatusPane1 = nullptr;
    StatusPane* RzStatusPane4 = nullptr;
    StatusPane* RzStatusPane3 = nullptr;
    PartsProgressBar* RzProgressBar2 = nullptr;
    StatusPane* RzStatusPane2 = nullptr;

    // Menus.
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

    // The commands, by subsystem.
    std::unique_ptr<Browser> browser_;
    std::unique_ptr<Slideshow> slideshow_;
    std::unique_ptr<CategoryFilter> categoryFilter_;
    std::unique_ptr<AlbumActivation> activation_;
    std::unique_ptr<AlbumCommands> albums_;
    std::unique_ptr<AlbumTransfer> transfer_;
    std::unique_ptr<OptionsCommand> options_;
    std::unique_ptr<ImportCommands> imports_;
    std::unique_ptr<ExportCommands> exports_;
    std::unique_ptr<PrintCommands> printing_;
    std::unique_ptr<ScannerCommands> scanner_;
    std::unique_ptr<PictureMaintenance> maintenance_;
    std::unique_ptr<ViewCommands> views_;
    std::unique_ptr<ProgressDisplay> progress_;
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Shutdown> shutdown_;
};
