// TForm1's own life (construction, the first activation, closing, the resize rule, the
// keyboard), what it shows for the commands, and the handlers of the commands, each handing
// its command to the class of its subsystem.
#include "app/main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include "app/browser.h"
#include "app/progressdisplay.h"
#include "app/shutdown.h"
#include "app/slideshow.h"
#include "app/startup.h"
#include "app/windowgeometry.h"
#include "data/data.h"
#include "dbmanage/albumactivation.h"
#include "dbmanage/albumcommands.h"
#include "dbmanage/albumtransfer.h"
#include "dbmanage/optionscommand.h"
#include "framework/application.h"
#include "framework/dbcheckbox.h"
#include "framework/dblabel.h"
#include "framework/dbmemo.h"
#include "framework/dbstatestatus.h"
#include "framework/dialogservice.h"
#include "framework/handlerguard.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/exportcommands.h"
#include "pictures/importcommands.h"
#include "pictures/mmopendialog.h"
#include "pictures/picturemaintenance.h"
#include "pictures/printcommands.h"
#include "pictures/scannercommands.h"
#include "views/categoryfilter.h"
#include "views/viewcommands.h"

namespace {

constexpr int lowerPaneAllowance = 220; // outer height minus this is where the splitter bar goes

} // namespace

TForm1::TForm1(DialogService& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kadrix"));
    // Design geometry until the saved one is applied.
    move(264, 52);
    resize(742, 630);
    buildLayout();
    buildMenu();
    MMOpenDialog1 = new TMMOpenDialog(this);
    connectCommands();
    // Below this size the controls would overlap.
    setMinimumSize(minimumSizeHint());
    RzSplitter3->installEventFilter(this);
    geometry_ = new WindowGeometry(*this);
    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(100);
    connect(idleTimer_, &QTimer::timeout, this, guarded([this] { MyIdleHandler(); }));
    if (auto* application = qobject_cast<TApplication*>(QCoreApplication::instance()))
        application->setKeyPreview(this, [this](const QKeyEvent& key) { previewKey(key); });
}

TForm1::~TForm1()
{
    if (auto* application = qobject_cast<TApplication*>(QCoreApplication::instance()))
        application->setKeyPreview(nullptr, {});
}

void TForm1::bind(Tdb& db, const ModalWindows& windows)
{
    db_ = &db;
    windows_ = windows;
    connectControls(db);
    browser_ = std::make_unique<Browser>(db, *PDBMultiImage1, *this);
    slideshow_ = std::make_unique<Slideshow>(db, *this, *browser_);
    categoryFilter_ = std::make_unique<CategoryFilter>(db, *this);
    activation_ = std::make_unique<AlbumActivation>(db, *PDBMultiImage1, *this, *windows.Form4);
    albums_ = std::make_unique<AlbumCommands>(db, dialogs_, *this, *activation_, *windows.Form8);
    transfer_ = std::make_unique<AlbumTransfer>(db, dialogs_, *this, *albums_, *windows.Form9);
    options_ = std::make_unique<OptionsCommand>(db, *PDBMultiImage1, *windows.Form7);
    imports_ = std::make_unique<ImportCommands>(db, *PDBMultiImage1, dialogs_, *this, *MMOpenDialog1);
    exports_ = std::make_unique<ExportCommands>(db, *PDBMultiImage1, dialogs_, *this);
    printing_ = std::make_unique<PrintCommands>(db, *PDBMultiImage1, dialogs_, *this);
    scanner_ = std::make_unique<ScannerCommands>(db, *PDBMultiImage1, dialogs_, *this);
    maintenance_ = std::make_unique<PictureMaintenance>(db, *PDBMultiImage1, dialogs_, *this);
    views_ = std::make_unique<ViewCommands>(
        db, *this, *PDBMultiImage1,
        ViewWindows{*windows.Form2, *windows.Form3, *windows.Form5, *windows.Form10, *windows.Form11},
        FullScreenCommands{[this] { SpeedButton1Click(); }, [this] { SpeedButton2Click(); },
                           [this] { SpeedButton3Click(); }});
    progress_ = std::make_unique<ProgressDisplay>(*this);
    startup_ = std::make_unique<Startup>(db, *PDBMultiImage1, *this, dialogs_, *geometry_, *activation_);
    shutdown_ = std::make_unique<Shutdown>(db, dialogs_, *this, *geometry_);
}

void TForm1::openAtStart(const std::string& albumFile)
{
    startup_->openInstead(albumFile);
}

void TForm1::connectControls(Tdb& db)
{
    PDBMultiImage1->setDataSource(&db.DataSource1);
    PDBMultiImage1->setDataField("FOTO");
    PDBMultiImage1->setPrefetching(true);
    DBMemo1->setDataSource(&db.DataSource1);
    DBMemo1->setDataField("MEMO");
    // Reported after the table's notification that found it has ended.
    connect(
        DBMemo1, &DBMemo::readFailed, this, [this](const QString& text) { dialogs_.showError(this, text); },
        Qt::QueuedConnection);
    for (DBCheckBox* box : categoryBoxes_)
        box->setDataSource(&db.DataSource1);
    RzDBCheckBox25->setDataSource(&db.DataSource1);
    for (DBLabel* label : categoryLabels_)
        label->setDataSource(&db.DataSource2);
    RzDBStateStatus1->setDataSource(&db.DataSource1);
}

bool TForm1::albumOpen() const
{
    return db_ && db_->Table1.active();
}

// --- the window's own life ---------------------------------------------------------------

bool TForm1::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    // The first activation runs the start-up sequence once the window is on screen.
    if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) && !started_)
        QTimer::singleShot(0, this, guarded([this] { FormActivate(); }));
    return result;
}

void TForm1::FormActivate()
{
    if (started_)
        return;
    started_ = true;
    idleTimer_->start();
    startup_->run();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (busy()) {
        event->ignore();
        return;
    }
    FormClose();
    // From here on the program ends: work the picture view still reports progress for is
    // aborted. Pictures stored by the shutdown itself were encoded in full.
    progress_->programClosing();
    event->accept();
}

void TForm1::FormClose()
{
    idleTimer_->stop();
    shutdown_->run();
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::BitBtn1Click()
{
    close();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // A window manager keeps the window at its minimum size; without one the display server
    // may make it smaller all the same, and the window grows back by itself.
    if (width() < minimumWidth() || height() < minimumHeight())
        QTimer::singleShot(0, this, [this] { resize(size().expandedTo(minimumSize())); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The window's resize is handled once its layout has given the splitter its new size.
    if (watched == RzSplitter3 && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormResize()
{
    // The lower pane keeps its height; the picture takes the rest.
    const int barPosition = frameGeometry().height() - lowerPaneAllowance;
    const int total = RzSplitter3->height();
    const int upper = std::clamp(barPosition, 0, std::max(0, total - RzSplitter3->handleWidth()));
    RzSplitter3->setSizes({upper, std::max(0, total - upper - RzSplitter3->handleWidth())});
}

void TForm1::previewKey(const QKeyEvent& key)
{
    // Keys that type a character; Tab moves the focus, and Alt or Meta with a key reach the
    // menus rather than type.
    const bool typesACharacter = !key.text().isEmpty() && key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab &&
                                 !(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
    if (typesACharacter)
        guarded([this, character = key.text().at(0)] { FormKeyPress(character); })();
}

void TForm1::FormKeyPress(QChar key)
{
    if (!albumOpen())
        Open1Click();
    else if (key == QLatin1Char('+'))
        SpeedButton5Click();
    else if (key == QLatin1Char('-'))
        SpeedButton6Click();
}

void TForm1::PDBMultiImage1Progress(int percent, const QString&, bool* abort)
{
    progress_->show(percent, abort);
}

void TForm1::PDBMultiImage1IlibError(int, const QString&)
{
    state_.ImageEmptyAtError = !PDBMultiImage1->hasImage();
}

// --- what the commands show --------------------------------------------------------------

void TForm1::setPositionMaximum(int maximum)
{
    RzTrackBar1->setMaximum(maximum);
}

int TForm1::positionMaximum() const
{
    return RzTrackBar1->maximum();
}

int TForm1::position() const
{
    return RzTrackBar1->value();
}

void TForm1::showPosition(int position)
{
    RzTrackBar1->setValue(position);
    RzStatusPane3->setText(QString::number(RzTrackBar1->value()));
}

void TForm1::showRecordNumber(int number)
{
    RzStatusPane3->setText(QString::number(number));
}

QString TForm1::findText() const
{
    return Edit1->text();
}

void TForm1::showFindResult(const QString& text)
{
    RzStatusPane4->setText(text);
}

void TForm1::showAlbumName(const QString& name)
{
    RzStatusPane1->setText(name);
}

void TForm1::showProgress(int partsComplete, int totalParts)
{
    RzProgressBar2->setTotalParts(totalParts);
    RzProgressBar2->setPartsComplete(partsComplete);
}

void TForm1::showProgressPercent(int percent)
{
    RzProgressBar2->setPercent(percent);
}

void TForm1::ButtonStatus(bool on)
{
    state_.ZoomStep = 0;
    if (!on)
        RzStatusPane1->clear();
    for (QAction* command : {ImportMulti1, Scanner1->menuAction(), Picture1->menuAction(), Labels1, Opties1,
                             Processing1, Batch1->menuAction()})
        command->setEnabled(on);
    for (QWidget* control : std::initializer_list<QWidget*>{SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton7,
                                                            SpeedButton8, RzTrackBar1})
        control->setEnabled(on);
}

void TForm1::setShowAllDown(bool down)
{
    SpeedButton7->setChecked(down);
}

void TForm1::setSlideshowDown(bool down)
{
    SpeedButton3->setChecked(down);
}

void TForm1::bringToFront()
{
    raise();
    activateWindow();
}

// --- the commands ------------------------------------------------------------------------

void TForm1::SpeedButton2Click()
{
    browser_->stepForward();
}
void TForm1::SpeedButton1Click()
{
    browser_->stepBack();
}
void TForm1::SpeedButton4Click()
{
    browser_->stepForward();
}
void TForm1::SpeedButton5Click()
{
    browser_->zoomIn();
}
void TForm1::SpeedButton6Click()
{
    browser_->zoomOut();
}
void TForm1::RzTrackBar1MouseUp()
{
    browser_->jumpToPosition();
}
void TForm1::SpeedButton3Click()
{
    slideshow_->playOrStop();
}
void TForm1::MyIdleHandler()
{
    slideshow_->tick();
}

void TForm1::RzLabel2Click()
{
    categoryFilter_->showCategory(1);
}
void TForm1::RzLabel3Click()
{
    categoryFilter_->showCategory(2);
}
void TForm1::RzLabel4Click()
{
    categoryFilter_->showCategory(3);
}
void TForm1::RzLabel5Click()
{
    categoryFilter_->showCategory(4);
}
void TForm1::RzLabel6Click()
{
    categoryFilter_->showCategory(5);
}
void TForm1::RzLabel7Click()
{
    categoryFilter_->showCategory(6);
}
void TForm1::RzLabel8Click()
{
    categoryFilter_->showCategory(7);
}
void TForm1::RzLabel9Click()
{
    categoryFilter_->showCategory(8);
}
void TForm1::RzLabel10Click()
{
    categoryFilter_->showCategory(9);
}
void TForm1::RzLabel11Click()
{
    categoryFilter_->showCategory(10);
}
void TForm1::RzLabel12Click()
{
    categoryFilter_->showCategory(11);
}
void TForm1::RzLabel13Click()
{
    categoryFilter_->showCategory(12);
}
void TForm1::RzLabel14Click()
{
    categoryFilter_->showCategory(13);
}
void TForm1::RzLabel15Click()
{
    categoryFilter_->showCategory(14);
}
void TForm1::RzLabel16Click()
{
    categoryFilter_->showCategory(15);
}
void TForm1::RzLabel17Click()
{
    categoryFilter_->showCategory(16);
}
void TForm1::RzLabel18Click()
{
    categoryFilter_->showCategory(17);
}
void TForm1::RzLabel19Click()
{
    categoryFilter_->showCategory(18);
}
void TForm1::RzLabel20Click()
{
    categoryFilter_->showCategory(19);
}
void TForm1::RzLabel21Click()
{
    categoryFilter_->showCategory(20);
}
void TForm1::RzLabel22Click()
{
    categoryFilter_->showCategory(21);
}
void TForm1::RzLabel23Click()
{
    categoryFilter_->showCategory(22);
}
void TForm1::RzLabel24Click()
{
    categoryFilter_->showCategory(23);
}
void TForm1::RzLabel25Click()
{
    categoryFilter_->showCategory(24);
}
void TForm1::ShowChecked1Click()
{
    categoryFilter_->showMarked();
}
void TForm1::SpeedButton7Click()
{
    categoryFilter_->showAll();
}

void TForm1::Open1Click()
{
    albums_->openAlbum();
}
void TForm1::New1Click()
{
    albums_->createAlbum();
}
void TForm1::Delete1Click()
{
    albums_->deleteAlbum();
}
void TForm1::Move1Click()
{
    transfer_->moveAlbum();
}
void TForm1::Copy1Click()
{
    transfer_->copyAlbum();
}
void TForm1::Opties1Click()
{
    options_->showOptions();
}

void TForm1::ImportSingle1Click()
{
    imports_->importSingle();
}
void TForm1::ImportMulti1Click()
{
    imports_->importMultiple();
}
void TForm1::ImportClipboard1Click()
{
    imports_->importClipboard();
}
void TForm1::JPG1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Jpg);
}
void TForm1::GIF1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Gif);
}
void TForm1::BMP1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Bmp);
}
void TForm1::TIF1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Tif);
}
void TForm1::TGA1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Tga);
}
void TForm1::PCX1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Pcx);
}
void TForm1::PNG1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Png);
}
void TForm1::EPS1Click()
{
    exports_->exportToFile(imaging::SaveFormat::Eps);
}
void TForm1::ExportClipboard1Click()
{
    exports_->exportToClipboard();
}
void TForm1::asJPG1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Jpg);
}
void TForm1::asGIF1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Gif);
}
void TForm1::asBMP1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Bmp);
}
void TForm1::asTIF1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Tif);
}
void TForm1::asTGA1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Tga);
}
void TForm1::asPCX1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Pcx);
}
void TForm1::asPNG1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Png);
}
void TForm1::asEPS1Click()
{
    exports_->exportMarked(imaging::SaveFormat::Eps);
}
void TForm1::PrinterSetup1Click()
{
    printing_->printerSetup();
}
void TForm1::Print1Click()
{
    printing_->printShown();
}
void TForm1::Print2Click()
{
    printing_->printMarked();
}
void TForm1::Select1Click()
{
    scanner_->selectScanner();
}
void TForm1::Scan1Click()
{
    scanner_->scan();
}

void TForm1::DeletePicture1Click()
{
    maintenance_->deletePicture();
}
void TForm1::MarkallPictures1Click()
{
    maintenance_->markAll();
}
void TForm1::Unmarkallpictures1Click()
{
    maintenance_->unmarkAll();
}
void TForm1::Processing1Click()
{
    maintenance_->processPicture();
}
void TForm1::Labels1Click()
{
    views_->editCategories();
}
void TForm1::SpeedButton8Click()
{
    views_->showThumbnails();
}
void TForm1::SpeedButton9Click()
{
    views_->showFullScreen();
}
void TForm1::Help1Click()
{
    views_->showHelp();
}
void TForm1::About1Click()
{
    views_->showAbout();
}
