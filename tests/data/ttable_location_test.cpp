// Opening and closing tables: locations, missing and locked tables, closed-table errors,
// creating and deleting whole tables.
#include <gtest/gtest.h>

#include <filesystem>

#include "albumfixture.h"
#include "data/databaseerror.h"
#include "data/tbatchmove.h"
#include "paradox/error.h"

namespace fs = std::filesystem;

TEST(TableLocation, DirectoryWithAndWithoutTrailingSeparatorOpenTheSameTable)
{
    AlbumFixture album;
    TTable writer;
    album.createPictures(writer, 2);

    for (const std::string& directory : {album.dir.str(), album.dir.str() + "/"}) {
        TTable reader;
        reader.setDatabaseName(directory);
        reader.setTableName("album.db");
        reader.open();
        EXPECT_EQ(reader.recordCount(), 2) << directory;
        EXPECT_EQ(reader.filePath().lexically_normal(), (album.dir / "album.db").lexically_normal());
    }
}

TEST(TableLocation, MissingTableIsAnErrorAndLeavesTheHandleClosed)
{
    TempDir dir;
    TTable table;
    table.setDatabaseName(dir.str());
    table.setTableName("nothing.db");
    EXPECT_THROW(table.open(), std::runtime_error);
    EXPECT_FALSE(table.active());
    EXPECT_EQ(table.state(), TDataSetState::dsInactive);
}

TEST(TableLocation, ExclusiveOpenLocksOutEverySecondOpen)
{
    AlbumFixture album;
    TTable first;
    album.createPictures(first, 1);
    first.open();

    for (bool exclusive : {true, false}) {
        TTable second;
        second.setDatabaseName(album.dir.str());
        second.setTableName("album.db");
        second.setExclusive(exclusive);
        EXPECT_THROW(second.open(), paradox::InUseError) << "exclusive=" << exclusive;
    }
    first.close();

    TTable again;
    again.setDatabaseName(album.dir.str());
    again.setTableName("album.db");
    again.setExclusive(true);
    EXPECT_NO_THROW(again.open());
}

TEST(TableLocation, SharedOpensCoexist)
{
    AlbumFixture album;
    TTable maker;
    album.createPictures(maker, 1);
    TTable a, b;
    for (TTable* t : {&a, &b}) {
        t->setDatabaseName(album.dir.str());
        t->setTableName("album.db");
        t->setExclusive(false);
        t->open();
    }
    EXPECT_EQ(a.recordCount(), 1);
    EXPECT_EQ(b.recordCount(), 1);
}

TEST(TableLocation, ClosedTableOperationsFailAndLocationLocksWhileOpen)
{
    AlbumFixture album;
    TTable table;
    album.createPictures(table, 1);
    EXPECT_THROW(table.recordCount(), DatabaseError);
    EXPECT_THROW(table.recNo(), DatabaseError);
    EXPECT_THROW(table.next(), DatabaseError);
    EXPECT_THROW(table.fieldByName("NAAM"), DatabaseError);
    EXPECT_THROW(table.edit(), DatabaseError);

    table.open();
    EXPECT_THROW(table.setTableName("other.db"), DatabaseError);
    EXPECT_THROW(table.setDatabaseName("/tmp"), DatabaseError);
    table.close();
    EXPECT_NO_THROW(table.setTableName("other.db"));
}

TEST(TableLocation, DefaultTypeFollowsTheExtension)
{
    TTable table;
    table.setDatabaseName("/albums");
    table.setTableName("trip.db");
    EXPECT_EQ(table.filePath(), fs::path("/albums/trip.db"));
    table.setTableName("trip.txt");
    EXPECT_THROW(table.filePath(), DatabaseError);
    table.setTableType(TTableType::ttParadox);
    EXPECT_EQ(table.filePath(), fs::path("/albums/trip.txt"));
}

TEST(CreateAndDeleteTable, CreateWritesTheBlobFileAndReplacesAnOldTable)
{
    AlbumFixture album;
    TTable pictures;
    album.createPictures(pictures, 3);
    ASSERT_TRUE(fs::exists(album.dir / "album.mb"));

    pictures.createTable(); // replaces the three-record table
    pictures.open();
    EXPECT_EQ(pictures.recordCount(), 0);
    pictures.close();

    TTable categories;
    categories.setDatabaseName(album.dir.str());
    categories.setTableName("album1.db");
    categories.fieldDefs = schema::categoryTableFields();
    categories.createTable();
    EXPECT_TRUE(fs::exists(album.dir / "album1.db"));
    EXPECT_FALSE(fs::exists(album.dir / "album1.mb")) << "a table without blobs needs no blob file";
}

TEST(CreateAndDeleteTable, DeleteRemovesTheBlobFileAndAMissingTableIsAnError)
{
    AlbumFixture album;
    TTable pictures;
    album.createPictures(pictures, 1);
    pictures.deleteTable();
    EXPECT_FALSE(fs::exists(album.dir / "album.db"));
    EXPECT_FALSE(fs::exists(album.dir / "album.mb"));
    EXPECT_THROW(pictures.deleteTable(), std::runtime_error);
}

TEST(CreateAndDeleteTable, OpenTablesCannotBeCreatedOrDeleted)
{
    AlbumFixture album;
    TTable pictures;
    album.createPictures(pictures, 1);
    pictures.open();
    EXPECT_THROW(pictures.createTable(), DatabaseError);
    EXPECT_THROW(pictures.deleteTable(), DatabaseError);
    EXPECT_EQ(pictures.recordCount(), 1);
}

namespace {

// An album as copied from old media: WIN.MB, WIN.DB, WIN1.DB, WIN2.DB, one picture with a memo.
void makeUpperCaseAlbum(AlbumFixture& album)
{
    TTable pictures;
    album.createPictures(pictures, {{"from the old disk", {3}}}, "made");
    pictures.open();
    pictures.edit();
    pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(9000, 0x42));
    pictures.refresh();
    pictures.close();
    for (const auto& [name, fields] :
         {std::pair{"made1.db", schema::categoryTableFields()}, std::pair{"made2.db", schema::settingsTableFields()}}) {
        TTable table;
        table.setDatabaseName(album.dir.str());
        table.setTableName(name);
        table.fieldDefs = fields;
        table.createTable();
    }
    for (const auto& [from, to] : {std::pair{"made.db", "WIN.DB"}, std::pair{"made.mb", "WIN.MB"},
                                   std::pair{"made1.db", "WIN1.DB"}, std::pair{"made2.db", "WIN2.DB"}})
        fs::rename(album.dir / from, album.dir / to);
}

// Points a handle at a table of the album the user chose by its .mb file.
void pointAtChosen(TTable& table, const fs::path& chosenMb, std::string (*tableName)(const std::string&))
{
    const schema::AlbumLocation location = schema::splitChosenPath(chosenMb.string());
    table.setDatabaseName(location.directory);
    table.setTableName(tableName(location.baseName));
    table.setExclusive(true);
}

} // namespace

TEST(UpperCaseAlbum, ItsTablesOpenUnderTheNamesTheProgramAsksForAndDeleteWithTheBlobFile)
{
    AlbumFixture album;
    makeUpperCaseAlbum(album);
    const fs::path chosen = album.dir / "WIN.MB";
    TTable pictures, categories, settings;
    pointAtChosen(pictures, chosen, schema::pictureTableName);
    pointAtChosen(categories, chosen, schema::categoryTableName);
    pointAtChosen(settings, chosen, schema::settingsTableName);
    EXPECT_EQ(pictures.tableName(), "WIN.db");
    pictures.open();
    categories.open();
    settings.open();
    ASSERT_EQ(pictures.recordCount(), 1);
    EXPECT_EQ(pictures.fieldByName("MEMO").asString(), "from the old disk");
    EXPECT_EQ(pictures.fieldByName("FOTO").asBytes(), paradox::Bytes(9000, 0x42));
    EXPECT_TRUE(pictures.fieldByName("3").asBoolean());
    EXPECT_EQ(categories.recordCount(), 0);

    for (TTable* table : {&pictures, &categories, &settings}) {
        table->close();
        table->deleteTable();
    }
    EXPECT_TRUE(fs::is_empty(album.dir.path()));
}

TEST(UpperCaseAlbum, CopiesWithItsPicturesAndIsNotCopiedOntoItselfUnderAnotherCase)
{
    AlbumFixture album;
    makeUpperCaseAlbum(album);
    TTable source;
    pointAtChosen(source, album.dir / "WIN.MB", schema::pictureTableName);

    TempDir elsewhere;
    TTable copy;
    copy.setDatabaseName(elsewhere.str());
    copy.setTableName("WIN.db");
    TBatchMove move;
    move.setSource(&source);
    move.setDestination(&copy);
    move.execute();
    copy.open();
    ASSERT_EQ(copy.recordCount(), 1);
    EXPECT_EQ(copy.fieldByName("FOTO").asBytes(), paradox::Bytes(9000, 0x42));
    copy.close();

    TTable same;
    same.setDatabaseName(album.dir.str());
    same.setTableName("win.db");
    move.setDestination(&same);
    EXPECT_THROW(move.execute(), DatabaseError);
    source.open();
    EXPECT_EQ(source.fieldByName("FOTO").asBytes(), paradox::Bytes(9000, 0x42)) << "the source must be intact";
}
