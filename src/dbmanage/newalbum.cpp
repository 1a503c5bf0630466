// Making a new, empty album and leaving it open.
#include "dbmanage/albumcommands.h"

#include <QLineEdit>

#include <filesystem>

#include "data/albumcreation.h"
#include "data/data.h"
#include "data/schema.h"
#include "dbmanage/newbase.h"
#include "framework/mainview.h"
#include "paradox/filenames.h"
#include "paradox/table.h"

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
        if (std::filesystem::exists(paradox::onDisk(location + other + ".mb")))
            throw std::runtime_error("\"" + name +
                                     "\" cannot be used as a database name here: its tables would replace "
                                     "those of the database \"" +
                                     other + "\" in this folder. Nothing was created.");
    }
}

} // namespace

void AlbumCommands::createAlbum()
{
    if (newAlbumWindow_.ShowModal() != TModalResult::mrOk)
        return;
    window_.state().ZoomStep = 0;
    const QString typed = newAlbumWindow_.Edit1->text();
    if (typed.isEmpty())
        return;
    refuseUnusableName(typed);
    const std::string name = typed.toStdString();
    std::string location = newAlbumWindow_.location().toStdString();
    if (!std::filesystem::is_directory(location))
        throw std::runtime_error("The folder " + location + " does not exist (any more). Nothing was created.");
    if (location.back() != '/')
        location += '/';
    if (std::filesystem::exists(paradox::Table::pathOnDisk(location + schema::pictureTableName(name))))
        return;
    refuseNameOfAnotherAlbumsTables(location, name);

    closeAlbum();
    createAlbumTables(location, name);
    db_.pointAlbumAt(location, name);
    db_.Table1.open();
    db_.Table2.open();
    db_.Table3.open();
    writeSettingsAtCreation(db_.Table3);
    window_.ButtonStatus(true);
    db_.Table1.first();
    window_.setPositionMaximum(0);
    window_.showPosition(0);
}
