#include "dbmanage/albumtransfer.h"

#include <QObject>

#include <atomic>

#include "data/albumcopy.h"
#include "data/data.h"
#include "data/schema.h"
#include "dbmanage/albumcommands.h"
#include "dbmanage/move.h"
#include "framework/dialogservice.h"
#include "framework/directorylistbox.h"
#include "framework/mainview.h"
#include "framework/pathlabel.h"
#include "framework/workprogress.h"

AlbumTransfer::AlbumTransfer(Tdb& db, DialogService& dialogs, MainView& window, AlbumCommands& albums,
                             TForm9& transferWindow)
    : db_(db), dialogs_(dialogs), window_(window), albums_(albums), transferWindow_(transferWindow)
{}

void AlbumTransfer::moveAlbum()
{
    transfer(Kind::Move);
}

void AlbumTransfer::copyAlbum()
{
    transfer(Kind::Copy);
}

void AlbumTransfer::transfer(Kind kind)
{
    transferWindow_.prepare(kind == Kind::Move ? QStringLiteral("Move a database") : QStringLiteral("copy / move"));
    if (transferWindow_.ShowModal() != TModalResult::mrOk)
        return;
    const QString chosen = transferWindow_.Label6->text();
    const QString destination = transferWindow_.DirectoryListBox2->directory();
    if (chosen.isEmpty() || destination.isEmpty()) {
        window_.ButtonStatus(false);
        return;
    }
    const schema::AlbumLocation source = schema::splitChosenPath(chosen.toStdString());
    // Copied onto itself each table would be emptied, and a move would then delete the only copy.
    if (sameFolder(source.directory, destination.toStdString())) {
        dialogs_.showError(window_.dialogParent(),
                           QObject::tr("The album cannot be copied or moved into the folder it is in (%1). "
                                       "Choose another destination folder.")
                               .arg(destination));
        return;
    }
    window_.ButtonStatus(false);
    albums_.closeAlbum(); // whichever album is open, the copied one or another
    db_.pointAlbumAt(source.directory, source.baseName);
    if (!copyWithProgress(source, destination) || kind == Kind::Copy)
        return;
    db_.Table1.deleteTable();
    db_.Table2.deleteTable();
    db_.Table3.deleteTable();
}

bool AlbumTransfer::copyWithProgress(const schema::AlbumLocation& source, const QString& destination)
{
    const BusyScope busy(window_); // the main window stays open until the copy has ended
    QObject relay; // carries the progress to the main window's bar; news arriving late is dropped with it
    std::atomic_bool stopped{false};
    window_.showProgressPercent(0);
    const auto copy = [&](imaging::TaskControl& control) {
        ::copyAlbum(db_, source, destination.toStdString(), [&](int percent) {
            control.progress(percent, {});
            QMetaObject::invokeMethod(
                &relay, [this, percent] { window_.showProgressPercent(percent); }, Qt::QueuedConnection);
            stopped = control.cancel->load();
            return !stopped;
        });
        return true;
    };
    try {
        behindProgressWindow(window_.dialogParent(),
                             QObject::tr("Copying the album %1...").arg(QString::fromStdString(source.baseName)), copy);
    } catch (const std::exception&) {
        if (stopped)
            return false; // the user's own choice needs no message
        throw;
    }
    return true;
}
