// Opening an album by its blob file (through the password gate), deleting an album, and
// closing the open one, which both do first.
#include "app/main.h"

#include "data/data.h"
#include "data/schema.h"
#include "framework/dialogservice.h"

namespace {

// An album is chosen by its picture table's blob file, the one file name that belongs to
// that table alone; the dialog starts with an empty file name each time.
std::optional<QString> chooseAlbumFile(TForm1& window, const QString& title, const QString& acceptLabel)
{
    FileDialogRequest request;
    request.title = title;
    request.acceptLabel = acceptLabel;
    request.filters = {QStringLiteral("Databases (*.mb)")};
    return window.dialogs().openFile(&window, request);
}

void pointAt(TTable& table, const std::string& directory, const std::string& tableName)
{
    table.setDatabaseName(directory);
    table.setTableType(TTableType::ttDefault);
    table.setTableName(tableName);
}

} // namespace

void TForm1::closeAlbum()
{
    Tdb& tables = db();
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
    if (albumOpen()) {
        attempt([this] { SpeedButton7Click(); });
        for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
            if (table->active())
                attempt([table] { table->refresh(); });
    }
    // Also the tables a failed activation left open without an album. Closing always lets
    // a table go, so a damaged album never keeps the others from opening.
    for (TTable* table : {&tables.Table1, &tables.Table2, &tables.Table3})
        attempt([table] { table->close(); });
    showNoAlbum();
    if (!failures.isEmpty())
        dialogs_.showError(this, tr("The album was closed, but your last changes could not be stored and are lost:\n%1")
                                     .arg(failures.join(QLatin1Char('\n'))));
}

void TForm1::Open1Click()
{
    const std::optional<QString> chosen = chooseAlbumFile(*this, QStringLiteral("Open a Database"), tr("&Open"));
    if (!chosen)
        return;
    ZoomStep = 0;
    const schema::AlbumLocation album = schema::splitChosenPath(chosen->toStdString());
    closeAlbum();
    PasswordGate(album.directory, album.baseName);
}

void TForm1::Delete1Click()
{
    const std::optional<QString> chosen = chooseAlbumFile(*this, QStringLiteral("Delete a Database"), tr("&Delete"));
    if (!chosen)
        return;
    // A path that names no album is refused before anything is closed.
    const schema::AlbumLocation album = schema::splitChosenPath(chosen->toStdString());
    ButtonStatus(false);
    closeAlbum();
    Tdb& tables = db();
    pointAt(tables.Table1, album.directory, schema::pictureTableName(album.baseName));
    pointAt(tables.Table2, album.directory, schema::categoryTableName(album.baseName));
    pointAt(tables.Table3, album.directory, schema::settingsTableName(album.baseName));
    tables.Table1.deleteTable();
    tables.Table2.deleteTable();
    tables.Table3.deleteTable();
}
