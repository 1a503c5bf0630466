// TForm1's own life: construction, start-up at the first activation, shutdown, the resize
// rule, the keyboard, and the picture view's progress and error events.
#include "main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

#include "data/autoopennote.h"
#include "data/data.h"
#include "data/schema.h"
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
#include "pictures/mmopendialog.h"

namespace {

constexpr int lowerPaneAllowance = 220; // outer height minus this is where the splitter bar goes

// Runs one shutdown step; a failure ends only that step, so the steps after it (storing the
// album's pending edits above all) still run. The failures of steps that store the user's
// work are collected to be told; the others (window geometry, closing reg.db) pass silently.
template <typename Step> void shutdownStep(Step step, QStringList* failures = nullptr)
{
    try {
        step();
    } catch (const std::exception& error) {
        if (failures)
            failures->append(QString::fromUtf8(error.what()));
    }
}

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
    geometryWatch_ = new QTimer(this);
    geometryWatch_->setInterval(50);
    connect(geometryWatch_, &QTimer::timeout, this, [this] { checkOuterGeometry(); });
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

void TForm1::setDataModule(Tdb& db)
{
    db_ = &db;
    PDBMultiImage1->setDataSource(&db.DataSource1);
    PDBMultiImage1->setDataField("FOTO");
    PDBMultiImage1->setPrefetching(true);
    DBMemo1->setDataSource(&db.DataSource1);
    DBMemo1->setDataField("MEMO");
    // Reported after the table's notification that found it has ended.
    connect(
        DBMemo1, &DBMemo::readFailed, this, [this](const QString& text) { dialogs_.showError(this, text); },
        Qt::QueuedConnection);
    for (DBCheckBox* box : categoryBoxes)
        box->setDataSource(&db.DataSource1);
    RzDBCheckBox25->setDataSource(&db.DataSource1);
    for (DBLabel* label : categoryLabels)
        label->setDataSource(&db.DataSource2);
    RzDBStateStatus1->setDataSource(&db.DataSource1);
}

bool TForm1::albumOpen() const
{
    return db_ && db_->Table1.active();
}

bool TForm1::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        // The first activation runs the start-up sequence once the window is on screen.
        if (!started_)
            QTimer::singleShot(0, this, guarded([this] { FormActivate(); }));
    }
    return result;
}

void TForm1::FormActivate()
{
    if (started_)
        return;
    started_ = true;

    SlideshowStopped = true;
    SlideshowForward = true;
    SlideshowTicks = 0;
    ZoomStep = 0;
    ImageEmptyAtError = false;
    idleTimer_->start();

    Tdb& tables = db();
    try {
        tables.Reg.open();
        const int top = tables.Reg.fieldByName("Y").asInteger();
        const int left = tables.Reg.fieldByName("X").asInteger();
        const int height = tables.Reg.fieldByName("DY").asInteger();
        const int width = tables.Reg.fieldByName("DX").asInteger();
        restoreOuterGeometry(QRect(left, top, width, height));
    } catch (const std::exception&) {
        setWindowTitle(QStringLiteral("Error: Reg.db not found (FormActivate)"));
    }

    ButtonStatus(false);
    SpeedButton2->setChecked(true);

    // Without reg.db there is no remembered album to open.
    if (!tables.Reg.active())
        return;
    try {
        // A start that ended while opening the remembered album (a crash) must not end the
        // same way at every start: it counts as a failed automatic open.
        if (AutoOpenNote::leftBehind()) {
            AutoOpenNote::discard();
            throw std::runtime_error("the previous start ended while opening the remembered album");
        }
        if (tables.Reg.fieldByName("AUTO-OPEN").asBoolean()) {
            autoOpenNote_ = std::make_unique<AutoOpenNote>();
            PasswordGate(tables.Reg.fieldByName("PATH").asString(), tables.Reg.fieldByName("DATABASE").asString());
            // The note goes once the first picture is on screen: decoding it is part of opening.
            if (PDBMultiImage1->displayPending())
                connect(
                    PDBMultiImage1, &TPDBMultiImage::displayEnded, this, [this] { autoOpenNote_.reset(); },
                    Qt::SingleShotConnection);
            else
                autoOpenNote_.reset();
        }
    } catch (const std::exception& error) {
        autoOpenNote_.reset();
        std::fprintf(stderr, "Kadrix: the remembered album was not opened: %s\n", error.what());
        setWindowTitle(QStringLiteral("Error: Default database not found (FormActivate)"));
        tables.Reg.edit();
        tables.Reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
        tables.Reg.refresh();
    }
}

void TForm1::restoreOuterGeometry(const QRect& outer)
{
    wantedOuter_ = outer;
    placeOuterGeometry();
    // A window manager frames the window a moment after it is shown, and only then is the
    // frame's size known: the window is placed again until its outer geometry is the stored one.
    geometryChecks_ = 0;
    geometryWatch_->start();
}

QMargins TForm1::frameMargins() const
{
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void TForm1::placeOuterGeometry()
{
    placedWithFrame_ = frameMargins();
    setGeometry(wantedOuter_.marginsRemoved(placedWithFrame_));
}

void TForm1::checkOuterGeometry()
{
    constexpr int checksWithoutFrame = 40; // about two seconds: no window manager frames it
    // Placed again only when the frame turned out other than it was placed with; a size the
    // user gives the window meanwhile is the user's.
    const QMargins frame = frameMargins();
    if (frame != placedWithFrame_)
        placeOuterGeometry();
    else if (!frame.isNull())
        geometryWatch_->stop();
    if (++geometryChecks_ >= checksWithoutFrame)
        geometryWatch_->stop();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (busy_ > 0) {
        event->ignore();
        return;
    }
    FormClose();
    // From here on the program ends: work the picture view still reports progress for is
    // aborted. Pictures stored by the shutdown itself were encoded in full.
    closingDown_ = true;
    event->accept();
}

void TForm1::FormClose()
{
    idleTimer_->stop();
    geometryWatch_->stop();
    if (!db_)
        return;
    Tdb& tables = db();
    const bool normalState = !(isMaximized() || isMinimized() || isFullScreen());
    const QRect outer = frameGeometry();
    shutdownStep([&] {
        tables.Reg.edit();
        if (normalState) {
            tables.Reg.fieldByName("Y").setAsInteger(outer.top());
            tables.Reg.fieldByName("X").setAsInteger(outer.left());
            tables.Reg.fieldByName("DY").setAsInteger(outer.height());
            tables.Reg.fieldByName("DX").setAsInteger(outer.width());
        }
        tables.Reg.refresh();
    });
    if (tables.Table1.active()) {
        shutdownStep([&] { rememberOpenAlbum(); });
        QStringList lost;
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
            shutdownStep([table] { table->refresh(); }, &lost);
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
            shutdownStep([table] { table->close(); }, &lost);
        lost.removeDuplicates();
        // Said before the window goes, since what could not be stored is lost with it.
        if (!lost.isEmpty())
            dialogs_.showError(this, tr("Your last changes to the album could not be stored and are lost:\n%1")
                                         .arg(lost.join(QLatin1Char('\n'))));
    }
    shutdownStep([&] { tables.Reg.close(); });
}

void TForm1::rememberOpenAlbum()
{
    Tdb& tables = db();
    const std::string baseName = schema::baseNameOfPictureTable(tables.Table1.tableName());
    const std::string directory = tables.Table1.databaseName();
    TField& database = tables.Reg.fieldByName("DATABASE");
    TField& path = tables.Reg.fieldByName("PATH");
    // A cut name or folder would remember another album, or none; the one remembered
    // before stays instead.
    if (baseName.size() > static_cast<std::size_t>(database.size()) ||
        directory.size() > static_cast<std::size_t>(path.size())) {
        dialogs_.showInformation(
            this, windowTitle(),
            tr("Kadrix cannot remember the album \"%1\" for the next start: its name or folder is longer than "
               "the settings table can hold (%2 and %3 bytes).")
                .arg(QString::fromStdString(baseName))
                .arg(database.size())
                .arg(path.size()));
        return;
    }
    tables.Reg.edit();
    database.setAsString(baseName);
    path.setAsString(directory);
    tables.Reg.refresh();
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
    if (albumOpen()) {
        if (key == QLatin1Char('+'))
            SpeedButton5Click();
        else if (key == QLatin1Char('-'))
            SpeedButton6Click();
        return;
    }
    Open1Click();
}

void TForm1::PDBMultiImage1Progress(int percent, const QString&, bool* abort)
{
    if (abort)
        *abort = closingDown_ || QCoreApplication::closingDown();
    // Pending events are let through so the window paints; the user's input waits, since
    // the picture view may be in the middle of storing the record.
    const BusyScope busy(*this);
    if (percent == 0 || percent > 99) {
        RzProgressBar2->setPercent(percent);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (percent % 2 == 1) {
        RzProgressBar2->setPercent(percent);
    }
}

void TForm1::PDBMultiImage1IlibError(int, const QString&)
{
    ImageEmptyAtError = !PDBMultiImage1->hasImage();
}

void TForm1::setPositionBar(int position)
{
    RzTrackBar1->setValue(position);
    RzStatusPane3->setText(QString::number(RzTrackBar1->value()));
}

void TForm1::notYetAvailable(const QString& command)
{
    dialogs_.showInformation(this, windowTitle(),
                             tr("%1 is not available in this version of Kadrix yet.").arg(command));
}
