#include "pictures/importcommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/mmopendialog.h"

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

ImportCommands::ImportCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window,
                               TMMOpenDialog& openFileWindow)
    : db_(db), view_(view), dialogs_(dialogs), window_(window), openFileWindow_(openFileWindow)
{}

void beginImport(Tdb& db, MainView& window)
{
    window.showAllPictures();
    db.Table1.append();
}

void ImportCommands::loadPicture(const QString& path)
{
    view_.LoadFromFile(path);
    db_.Table1.fieldByName("NAAM").setAsString(path.toStdString());
}

void ImportCommands::importSingle()
{
    const std::optional<QString> chosen = openFileWindow_.execute();
    if (!chosen)
        return;
    beginImport(db_, window_);
    loadPicture(*chosen);
    window_.setPositionMaximum(db_.Table1.recordCount());
}

void ImportCommands::importMultiple()
{
    FileDialogRequest request;
    request.directory = QDir::homePath();
    const std::optional<QStringList> chosen = dialogs_.openFiles(window_.dialogParent(), request);
    if (!chosen || chosen->isEmpty())
        return;
    window_.showAllPictures();
    const int count = static_cast<int>(chosen->size());
    window_.showProgress(0, count);
    TTable& pictures = db_.Table1;
    {
        const BusyScope busy(window_);
        const ControlsSuspended suspended(pictures);
        for (int i = 0; i < count; ++i) {
            window_.showProgress(i, count);
            // Keep the window painted (and its progress visible); input waits for the end.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            appendStoringPrevious(pictures, i > 0 ? chosen->at(i - 1) : QString());
            loadPicture(chosen->at(i));
        }
    }
    window_.showProgress(count, count);
    window_.setPositionMaximum(pictures.recordCount());
}

void ImportCommands::importClipboard()
{
    beginImport(db_, window_);
    view_.PasteFromClipboard();
    db_.Table1.refresh();
    window_.setPositionMaximum(db_.Table1.recordCount());
}
