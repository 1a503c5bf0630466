// Adding pictures to the open album: one file chosen with a preview, many files at once, and
// the clipboard's picture. Each picture becomes one new record at the end of the table.
#include "app/main.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/mmopendialog.h"

void TForm1::beginImport()
{
    SpeedButton7Click();
    db().Table1.append();
}

void TForm1::loadPicture(const QString& path)
{
    PDBMultiImage1->LoadFromFile(path);
    db().Table1.fieldByName("NAAM").setAsString(path.toStdString());
}

namespace {

// Appends the next new record, which stores the one before it. A picture that cannot be
// stored (a full or read-only disk) is dropped rather than left pending, where every later
// step would fail on it again; the error names it.
void appendStoringPrevious(TTable& pictures, const QString& previousFile)
{
    try {
        pictures.append();
    } catch (const std::exception& error) {
        pictures.cancel();
        throw std::runtime_error(
            QObject::tr("%1 could not be stored in the album: %2").arg(previousFile, error.what()).toStdString());
    }
}

} // namespace

void TForm1::ImportSingle1Click()
{
    const std::optional<QString> chosen = MMOpenDialog1->execute();
    if (!chosen)
        return;
    beginImport();
    loadPicture(*chosen);
    RzTrackBar1->setMaximum(db().Table1.recordCount());
}

void TForm1::ImportMulti1Click()
{
    FileDialogRequest request;
    request.directory = QDir::homePath();
    const std::optional<QStringList> chosen = dialogs().openFiles(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    SpeedButton7Click();
    const int count = static_cast<int>(chosen->size());
    RzProgressBar2->setTotalParts(count);
    RzProgressBar2->setPartsComplete(0);
    TTable& pictures = db().Table1;
    {
        const BusyScope busy(*this);
        const ControlsSuspended suspended(pictures);
        for (int i = 0; i < count; ++i) {
            RzProgressBar2->setPartsComplete(i);
            // Keep the window painted (and its progress visible); input waits for the end.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            appendStoringPrevious(pictures, i > 0 ? chosen->at(i - 1) : QString());
            loadPicture(chosen->at(i));
        }
    }
    RzProgressBar2->setPartsComplete(count);
    RzTrackBar1->setMaximum(pictures.recordCount());
}

void TForm1::ImportClipboard1Click()
{
    beginImport();
    PDBMultiImage1->PasteFromClipboard();
    db().Table1.refresh();
    RzTrackBar1->setMaximum(db().Table1.recordCount());
}
