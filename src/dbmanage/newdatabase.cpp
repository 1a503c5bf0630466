// Making a new, empty album and leaving it open.
#include "app/main.h"

#include <QLineEdit>

#include <filesystem>

#include "data/albumcreation.h"
#include "data/data.h"
#include "data/schema.h"
#include "dbmanage/newbase.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"

namespace {

// The longest file an album's name is part of: its settings table's journal, name +
// "2.db-journal", which must fit the file system's limit on a name.
constexpr qsizetype longestNameBytes = 255 - 12;

// A name that would put the album's files somewhere other than the chosen folder (a folder
// separator, a NUL, "." or ".."), a name of blanks only, and a name too long for a file name
// are refused before anything is closed or created.
void refuseUnusableName(const QString& name)
{
    const auto refuse = [&name](const QString& why) {
        throw std::runtime_error(QStringLiteral("\"%1\" cannot be used as a database name: %2 Nothing was created.")
                                     .arg(name, why)
                                     .toStdString());
    };
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        refuse(QStringLiteral("a name may not contain \"/\" and may not be \".\" or \"..\"."));
    if (name.trimmed().isEmpty())
        refuse(QStringLiteral("a name must contain more than blanks."));
    if (name.toUtf8().size() > longestNameBytes)
        refuse(QStringLiteral("a name may be at most %1 bytes long.").arg(longestNameBytes));
}

// The category and settings tables of album "trip" are trip1.db and trip2.db, the picture
// table of albums "trip1" and "trip2" (which alone have a blob file beside them): creating
// "trip" next to such an album would destroy its pictures.
void refuseNameOfAnotherAlbumsTables(const std::string& location, const std::string& name)
{
    for (const char* suffix : {"1", "2"}) {
        const std::string other = name + suffix;
        if (std::filesystem::exists(location + other + ".mb"))
            throw std::runtime_error("\"" + name +
                                     "\" cannot be used as a database name here: its tables would replace "
                                     "those of the database \"" +
                                     other + "\" in this folder. Nothing was created.");
    }
}

void pointAt(TTable& table, const std::string& location, const std::string& tableName)
{
    table.setDatabaseName(location);
    table.setTableName(tableName);
    table.setTableType(TTableType::ttParadox);
}

} // namespace

void TForm1::New1Click()
{
    TForm8& window = *windows().Form8;
    if (window.ShowModal() != TModalResult::mrOk)
        return;
    ZoomStep = 0;
    const QString typed = window.Edit1->text();
    if (typed.isEmpty())
        return;
    refuseUnusableName(typed);
    const std::string name = typed.toStdString();
    std::string location = window.location().toStdString();
    if (!std::filesystem::is_directory(location))
        throw std::runtime_error("The folder " + location + " does not exist (any more). Nothing was created.");
    if (location.back() != '/')
        location += '/';
    if (std::filesystem::exists(location + schema::pictureTableName(name)))
        return;
    refuseNameOfAnotherAlbumsTables(location, name);

    closeAlbum();
    createAlbumTables(location, name);
    Tdb& tables = db();
    pointAt(tables.Table1, location, schema::pictureTableName(name));
    pointAt(tables.Table2, location, schema::categoryTableName(name));
    pointAt(tables.Table3, location, schema::settingsTableName(name));
    tables.Table1.open();
    tables.Table2.open();
    tables.Table3.open();
    writeSettingsAtCreation(tables.Table3);
    ButtonStatus(true);
    tables.Table1.first();
    RzTrackBar1->setMaximum(0);
    RzTrackBar1->setValue(0);
    RzStatusPane3->setText(QStringLiteral("0"));
}
