// The menu bar and the map from every menu item, button and label to its handler.
#include "app/main.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include "framework/trackbar.h"
#include <QToolButton>

#include "framework/dblabel.h"
#include "framework/handlerguard.h"
#include "imaging/pdbmultiimage.h"

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();

    DataBase1 = bar->addMenu(tr("&DataBase"));
    DataBase1->setObjectName(QStringLiteral("DataBase1"));
    Open1 = item(DataBase1, "Open1", tr("&Open"));
    Opties1 = item(DataBase1, "Opties1", tr("Op&tions"));
    DataBase1->addSeparator();
    New1 = item(DataBase1, "New1", tr("&New"));
    Delete1 = item(DataBase1, "Delete1", tr("&Delete"));
    Move1 = item(DataBase1, "Move1", tr("&Move"));
    Copy1 = item(DataBase1, "Copy1", tr("&Copy"));
    DataBase1->addSeparator();
    Exit1 = item(DataBase1, "Exit1", tr("Exit"));

    Picture1 = bar->addMenu(tr("&Picture"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    ImportSingle1 = item(Picture1, "ImportSingle1", tr("Import &Single"));
    ImportMulti1 = item(Picture1, "ImportMulti1", tr("Import &Multiple"));
    ImportClipboard1 = item(Picture1, "ImportClipboard1", tr("Import &Clipboard"));
    Picture1->addSeparator();
    QMenu* exportToFile = Picture1->addMenu(tr("E&xport to File"));
    exportToFile->setObjectName(QStringLiteral("ExporttoFile1"));
    const std::pair<const char*, void (TForm1::*)()> singleExports[] = {
        {"JPG1", &TForm1::JPG1Click}, {"GIF1", &TForm1::GIF1Click}, {"BMP1", &TForm1::BMP1Click},
        {"TIF1", &TForm1::TIF1Click}, {"TGA1", &TForm1::TGA1Click}, {"PCX1", &TForm1::PCX1Click},
        {"PNG1", &TForm1::PNG1Click}, {"EPS1", &TForm1::EPS1Click}};
    for (const auto& [name, handler] : singleExports) {
        QAction* action = item(exportToFile, name, tr("as %1").arg(QString::fromLatin1(name).chopped(1)));
        connect(action, &QAction::triggered, this, guarded([this, handler = handler] { (this->*handler)(); }));
    }
    ExportClipboard1 = item(Picture1, "ExportClipboard1", tr("Export to Clipboard"));
    Picture1->addSeparator();
    PrinterSetup1 = item(Picture1, "PrinterSetup1", tr("Printer &Setup"));
    Print1 = item(Picture1, "Print1", tr("&Print"));
    Picture1->addSeparator();
    DeletePicture1 = item(Picture1, "DeletePicture1", tr("&Delete Picture"));

    Batch1 = bar->addMenu(tr("&Batch"));
    Batch1->setObjectName(QStringLiteral("Batch1"));
    ShowChecked1 = item(Batch1, "ShowChecked1", tr("&Show Checked Pictures"));
    Print2 = item(Batch1, "Print2", tr("&Print Checked Pictures"));
    QMenu* batchExport = Batch1->addMenu(tr("E&xport to File"));
    batchExport->setObjectName(QStringLiteral("ExporttoFile2"));
    const std::pair<const char*, void (TForm1::*)()> batchExports[] = {
        {"asJPG1", &TForm1::asJPG1Click}, {"asGIF1", &TForm1::asGIF1Click}, {"asBMP1", &TForm1::asBMP1Click},
        {"asTIF1", &TForm1::asTIF1Click}, {"asTGA1", &TForm1::asTGA1Click}, {"asPCX1", &TForm1::asPCX1Click},
        {"asPNG1", &TForm1::asPNG1Click}, {"asEPS1", &TForm1::asEPS1Click}};
    for (const auto& [name, handler] : batchExports) {
        QAction* action = item(batchExport, name, tr("as %1").arg(QString::fromLatin1(name).mid(2).chopped(1)));
        connect(action, &QAction::triggered, this, guarded([this, handler = handler] { (this->*handler)(); }));
    }
    MarkallPictures1 = item(Batch1, "MarkallPictures1", tr("&Mark all Pictures"));
    Unmarkallpictures1 = item(Batch1, "Unmarkallpictures1", tr("&Unmark all Pictures"));

    Scanner1 = bar->addMenu(tr("&Scanner"));
    Scanner1->setObjectName(QStringLiteral("Scanner1"));
    Select1 = item(Scanner1, "Select1", tr("Se&lect"));
    Scan1 = item(Scanner1, "Scan1", tr("&Scan"));

    // Commands of the menu bar itself, without a menu of their own.
    Labels1 = bar->addAction(tr("&Category"));
    Labels1->setObjectName(QStringLiteral("Labels1"));
    Processing1 = bar->addAction(tr("Processing"));
    Processing1->setObjectName(QStringLiteral("Processing1"));
    Help1 = bar->addAction(tr("Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    About1 = bar->addAction(tr("&About"));
    About1->setObjectName(QStringLiteral("About1"));
}

void TForm1::connectCommands()
{
    auto on = [this](QAction* action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this, guarded([this, handler] { (this->*handler)(); }));
    };
    on(Open1, &TForm1::Open1Click);
    on(Opties1, &TForm1::Opties1Click);
    on(New1, &TForm1::New1Click);
    on(Delete1, &TForm1::Delete1Click);
    on(Move1, &TForm1::Move1Click);
    on(Copy1, &TForm1::Copy1Click);
    on(Exit1, &TForm1::Exit1Click);
    on(ImportSingle1, &TForm1::ImportSingle1Click);
    on(ImportMulti1, &TForm1::ImportMulti1Click);
    on(ImportClipboard1, &TForm1::ImportClipboard1Click);
    on(ExportClipboard1, &TForm1::ExportClipboard1Click);
    on(PrinterSetup1, &TForm1::PrinterSetup1Click);
    on(Print1, &TForm1::Print1Click);
    on(DeletePicture1, &TForm1::DeletePicture1Click);
    on(ShowChecked1, &TForm1::ShowChecked1Click);
    on(Print2, &TForm1::Print2Click);
    on(MarkallPictures1, &TForm1::MarkallPictures1Click);
    on(Unmarkallpictures1, &TForm1::Unmarkallpictures1Click);
    on(Select1, &TForm1::Select1Click);
    on(Scan1, &TForm1::Scan1Click);
    on(Labels1, &TForm1::Labels1Click);
    on(Processing1, &TForm1::Processing1Click);
    on(Help1, &TForm1::Help1Click);
    on(About1, &TForm1::About1Click);

    auto onClick = [this](QAbstractButton* button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, guarded([this, handler] { (this->*handler)(); }));
    };
    onClick(SpeedButton1, &TForm1::SpeedButton1Click);
    onClick(SpeedButton2, &TForm1::SpeedButton2Click);
    onClick(SpeedButton3, &TForm1::SpeedButton3Click);
    onClick(SpeedButton4, &TForm1::SpeedButton4Click);
    onClick(SpeedButton5, &TForm1::SpeedButton5Click);
    onClick(SpeedButton6, &TForm1::SpeedButton6Click);
    onClick(SpeedButton7, &TForm1::SpeedButton7Click);
    onClick(SpeedButton8, &TForm1::SpeedButton8Click);
    onClick(SpeedButton9, &TForm1::SpeedButton9Click);
    onClick(BitBtn1, &TForm1::BitBtn1Click);
    connect(RzTrackBar1, &TrackBar::mouseUp, this, guarded([this] { RzTrackBar1MouseUp(); }));

    using Handler = void (TForm1::*)();
    static constexpr Handler categoryHandlers[24] = {
        &TForm1::RzLabel2Click,  &TForm1::RzLabel3Click,  &TForm1::RzLabel4Click,  &TForm1::RzLabel5Click,
        &TForm1::RzLabel6Click,  &TForm1::RzLabel7Click,  &TForm1::RzLabel8Click,  &TForm1::RzLabel9Click,
        &TForm1::RzLabel10Click, &TForm1::RzLabel11Click, &TForm1::RzLabel12Click, &TForm1::RzLabel13Click,
        &TForm1::RzLabel14Click, &TForm1::RzLabel15Click, &TForm1::RzLabel16Click, &TForm1::RzLabel17Click,
        &TForm1::RzLabel18Click, &TForm1::RzLabel19Click, &TForm1::RzLabel20Click, &TForm1::RzLabel21Click,
        &TForm1::RzLabel22Click, &TForm1::RzLabel23Click, &TForm1::RzLabel24Click, &TForm1::RzLabel25Click};
    for (std::size_t i = 0; i < categoryLabels_.size(); ++i)
        connect(categoryLabels_[i], &DBLabel::clicked, this,
                guarded([this, handler = categoryHandlers[i]] { (this->*handler)(); }));

    connect(PDBMultiImage1, &TPDBMultiImage::progress, this, [this](int percent, const QString& status, bool* abort) {
        PDBMultiImage1Progress(percent, status, abort);
    });
    connect(PDBMultiImage1, &TPDBMultiImage::ilibError, this,
            [this](int code, const QString& text) { PDBMultiImage1IlibError(code, text); });
}
