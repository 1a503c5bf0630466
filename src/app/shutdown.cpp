#include "app/shutdown.h"

#include <QStringList>
#include <QWidget>

#include "app/windowgeometry.h"
#include "data/data.h"
#include "data/schema.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"

namespace {

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

Shutdown::Shutdown(Tdb& db, DialogService& dialogs, MainView& window, WindowGeometry& geometry)
    : db_(db), dialogs_(dialogs), window_(window), geometry_(geometry)
{}

void Shutdown::run()
{
    geometry_.stopRestoring();
    shutdownStep([this] { saveGeometry(); });
    if (db_.Table1.active()) {
        shutdownStep([this] { rememberOpenAlbum(); });
        closeAlbum();
    }
    shutdownStep([this] { db_.Reg.close(); });
}

void Shutdown::saveGeometry()
{
    const QRect outer = geometry_.outer();
    db_.Reg.edit();
    if (geometry_.normalState()) {
        db_.Reg.fieldByName("Y").setAsInteger(outer.top());
        db_.Reg.fieldByName("X").setAsInteger(outer.left());
        db_.Reg.fieldByName("DY").setAsInteger(outer.height());
        db_.Reg.fieldByName("DX").setAsInteger(outer.width());
    }
    db_.Reg.refresh();
}

void Shutdown::rememberOpenAlbum()
{
    const std::string baseName = schema::baseNameOfPictureTable(db_.Table1.tableName());
    const std::string directory = db_.Table1.databaseName();
    TField& database = db_.Reg.fieldByName("DATABASE");
    TField& path = db_.Reg.fieldByName("PATH");
    // A cut name or folder would remember another album, or none; the one remembered before
    // stays instead.
    if (baseName.size() > static_cast<std::size_t>(database.size()) ||
        directory.size() > static_cast<std::size_t>(path.size())) {
        dialogs_.showInformation(
            window_.dialogParent(), window_.dialogParent()->windowTitle(),
            QObject::tr("Kadrix cannot remember the album \"%1\" for the next start: its name or folder is longer "
                        "than the settings table can hold (%2 and %3 bytes).")
                .arg(QString::fromStdString(baseName))
                .arg(database.size())
                .arg(path.size()));
        return;
    }
    db_.Reg.edit();
    database.setAsString(baseName);
    path.setAsString(directory);
    db_.Reg.refresh();
}

void Shutdown::closeAlbum()
{
    QStringList lost;
    for (TTable* table : {&db_.Table1, &db_.Table2, &db_.Table3})
        shutdownStep([table] { table->refresh(); }, &lost);
    for (TTable* table : {&db_.Table1, &db_.Table2, &db_.Table3})
        shutdownStep([table] { table->close(); }, &lost);
    lost.removeDuplicates();
    // Said before the window goes, since what could not be stored is lost with it.
    if (!lost.isEmpty())
        dialogs_.showError(window_.dialogParent(),
                           QObject::tr("Your last changes to the album could not be stored and are lost:\n%1")
                               .arg(lost.join(QLatin1Char('\n'))));
}
