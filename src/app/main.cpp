// TForm1's own life: construction, start-up at the first activation, shutdown, the resize
// rule, the keyboard, and the picture view's progress and error events.
#include "main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

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
// album's pending edits above all) still run.
template <typename Step> void shutdownStep(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
        // Shutdown goes on whatever fails; there is no one left to tell.
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
    RzSplitter3->installEventFilter(this);
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
        // The stored size is the outer size; the window's own size leaves out its frame.
        const QSize frame = frameGeometry().size() - size();
        move(left, top);
        resize(width - frame.width(), height - frame.height());
    } catch (const std::exception&) {
        setWindowTitle(QStringLiteral("Error: Reg.db not found (FormActivate)"));
    }

    ButtonStatus(false);
    SpeedButton2->setChecked(true);

    // Without reg.db there is no remembered album to open.
    if (!tables.Reg.active())
        return;
    try {
        if (tables.Reg.fieldByName("AUTO-OPEN").asBoolean())
            PasswordGate(tables.Reg.fieldByName("PATH").asString(), tables.Reg.fieldByName("DATABASE").asString());
    } catch (const std::exception&) {
        setWindowTitle(QStringLiteral("Error: Default database not found (FormActivate)"));
        tables.Reg.edit();
        tables.Reg.fieldByName("AUTO-OPEN").setAsBoolean(false);
        tables.Reg.refresh();
    }
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
        shutdownStep([&] {
            tables.Reg.edit();
            tables.Reg.fieldByName("DATABASE").setAsString(schema::baseNameOfPictureTable(tables.Table1.tableName()));
            tables.Reg.fieldByName("PATH").setAsString(tables.Table1.databaseName());
            tables.Reg.refresh();
        });
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
            shutdownStep([table] { table->refresh(); });
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
            shutdownStep([table] { table->close(); });
    }
    shutdownStep([&] { tables.Reg.close(); });
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::BitBtn1Click()
{
    close();
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
