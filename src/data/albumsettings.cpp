#include "data/albumsettings.h"

#include <filesystem>

#include "paradox/table.h"

#include "data/data.h"
#include "data/databaseerror.h"
#include "data/schema.h"

namespace {

void openAlbumTable(TTable& table, const std::string& baseName, const char* role)
{
    try {
        table.open();
    } catch (const std::exception&) {
        if (std::filesystem::exists(paradox::Table::pathOnDisk(table.filePath())))
            throw;
        throw DatabaseError("The album \"" + baseName + "\" in " + table.databaseName() + " is incomplete: its " +
                            role + " " + table.tableName() + " is missing.");
    }
}

} // namespace

AlbumSettings readAlbumSettings(TTable& settings)
{
    AlbumSettings album;
    album.showName = settings.fieldByName("TITEL").asBoolean();
    album.center = settings.fieldByName("CENTER").asBoolean();
    album.fit = settings.fieldByName("PASSEND").asBoolean();
    album.jpegQuality = settings.fieldByName("JPG QUALITY").asInteger();
    album.jpegSmoothing = settings.fieldByName("JPG SMOOTH").asInteger();
    album.pngInterlaced = settings.fieldByName("PNG INTERLACE").asString() == "Yes";
    album.tifCompression = settings.fieldByName("TIF COMPRESSION").asString();
    album.pcdMode = settings.fieldByName("PCD MODE").asString();
    return album;
}

void openSettingsTable(Tdb& db, const std::string& directory, const std::string& baseName)
{
    db.pointAlbumAt(directory, baseName);
    openAlbumTable(db.Table3, baseName, "settings table");
}

AlbumSettings openAlbumTables(Tdb& db)
{
    const std::string baseName = schema::baseNameOfPictureTable(db.Table1.tableName());
    openAlbumTable(db.Table1, baseName, "picture table");
    openAlbumTable(db.Table2, baseName, "category table");
    return readAlbumSettings(db.Table3);
}

std::optional<std::string> pictureCaption(Tdb& db)
{
    if (!db.Table3.fieldByName("TITEL").asBoolean())
        return std::nullopt;
    return db.Table1.fieldByName("NAAM").asString();
}
