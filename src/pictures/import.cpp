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

namespace {} // namespace

void TForm1::beginImport()
{
    SpeedButton7Click();
    db().Table1.append();
}

void TForm1::loadPicture(const QString& path, TPDBMultiImage::FileLoad load)
{
    PDBMultiImage1->LoadFromFile(path, load);
    db().Table1.fieldByName("NAAM").setAsString(path.toStdString());
}

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
            pictures.append();
            // Each record is stored as the next one is appended, straight from its file; the
            // last one stays pending, so it holds its bytes already.
            const bool last = i == count - 1;
            loadPicture(chosen->at(i),
                        last ? TPDBMultiImage::FileLoad::ReadNow : TPDBMultiImage::FileLoad::CopyWhenStored);
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
