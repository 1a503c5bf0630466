#include "dbmanage/albumcommands.h"

#include <QObject>
#include <QStringList>

#include "data/data.h"
#include "data/schema.h"
#include "dbmanage/albumactivation.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"

AlbumCommands::AlbumCommands(Tdb& db, DialogService& dialogs, MainView& window, AlbumActivation& activation,
                             TForm8& newAlbumWindow)
    : db_(db), dialogs_(dialogs), window_(window), activation_(activation), newAlbumWindow_(newAlbumWindow)
{}

std::optional<QString> AlbumCommands::chooseAlbumFile(const QString& title, const QString& acceptLabel)
{
    // An album is chosen by its picture table's blob file, the one file name that belongs to
    // that table alone; the dialog starts with an empty file name each time.
    FileDialogRequest request;
    request.title = title;
    request.acceptLabel = acceptLabel;
    request.filters = {QStringLiteral("Databases (*.mb)")};
    return dialogs_.openFile(window_.dialogParent(), request);
}

void AlbumCommands::closeAlbum()
{
    QStringList failures;
    const auto attempt = [&failures](const auto& step) {
        try {
            step();
        } catch (const std::exception& error) {
            const QString text = QString::fromUtf8(error.what());
            if (!failures.contains(text))
                failures << text;
        }
    };
    if (db_.Table1.active()) {
        attempt([this] { window_.showAllPictures(); });
        for (TTable* table : {&db_.Table1, &db_.Table2, &db_.Table3})
            if (table->active())
                attempt([table] { table->refresh(); });
    }
    // Also the tables a failed activation left open without an album. Closing always lets
    // a table go, so a damaged album never keeps the others from opening.
    for (TTable* table : {&db_.Table1, &db_.Table2, &db_.Table3})
        attempt([table] { table->close(); });
    showNoAlbum(window_);
    if (!failures.isEmpty())
        dialogs_.showError(
            window_.dialogParent(),
            QObject::tr("The album was closed, but your last changes could not be stored and are lost:\n%1")
                .arg(failures.join(QLatin1Char('\n'))));
}

void AlbumCommands::openAlbum()
{
    const std::optional<QString> chosen = chooseAlbumFile(QStringLiteral("Open a Database"), QObject::tr("&Open"));
    if (!chosen)
        return;
    window_.state().ZoomStep = 0;
    const schema::AlbumLocation album = schema::splitChosenPath(chosen->toStdString());
    closeAlbum();
    activation_.PasswordGate(album.directory, album.baseName);
}

void AlbumCommands::deleteAlbum()
{
    const std::optional<QString> chosen = chooseAlbumFile(QStringLiteral("Delete a Database"), QObject::tr("&Delete"));
    if (!chosen)
        return;
    // A path that names no album is refused before anything is closed.
    const schema::AlbumLocation album = schema::splitChosenPath(chosen->toStdString());
    window_.ButtonStatus(false);
    closeAlbum();
    db_.pointAlbumAt(album.directory, album.baseName);
    db_.Table1.deleteTable();
    db_.Table2.deleteTable();
    db_.Table3.deleteTable();
}
