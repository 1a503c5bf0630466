#include <gtest/gtest.h>

#include <filesystem>

#include "albumfixture.h"
#include "data/databaseerror.h"
#include "data/tbatchmove.h"

namespace fs = std::filesystem;

namespace {

void pointAt(TTable& table, const fs::path& dir, const std::string& name)
{
    table.setDatabaseName(dir.string());
    table.setTableName(name);
    table.setExclusive(true);
}

} // namespace

TEST(BatchCopy, CopiesEveryRecordWithItsBlobsIntoANewTableAndClosesWhatItOpened)
{
    AlbumFixture album;
    TTable source;
    album.createPictures(source, {{"first memo", {1, 24}, true}, {"second", {}}, {"", {7}}});
    source.open();
    source.edit();
    paradox::Bytes picture(50000, 0x5A);
    source.fieldByName("FOTO").setAsBytes(picture);
    source.refresh();
    source.close();

    TempDir backup;
    TTable destination;
    pointAt(destination, backup.path(), "album.db");
    TBatchMove move;
    move.setSource(&source);
    move.setDestination(&destination);
    move.execute();
    EXPECT_FALSE(source.active());
    EXPECT_FALSE(destination.active());
    EXPECT_TRUE(fs::exists(backup / "album.mb"));

    destination.open();
    source.open();
    ASSERT_EQ(destination.recordCount(), 3);
    for (; !source.eof(); source.next(), destination.next()) {
        ASSERT_EQ(destination.fieldCount(), source.fieldCount());
        for (int f = 0; f < source.fieldCount(); ++f)
            EXPECT_EQ(destination.field(f).value(), source.field(f).value()) << source.field(f).fieldName();
    }
    destination.first();
    EXPECT_EQ(destination.fieldByName("FOTO").asBytes(), picture);
}

TEST(BatchCopy, ReplacesAnExistingDestinationTable)
{
    AlbumFixture album;
    TTable source;
    album.createPictures(source, 2);
    TempDir backup;
    TTable destination;
    pointAt(destination, backup.path(), "album.db");
    destination.fieldDefs = schema::categoryTableFields();
    destination.createTable(); // a table of another shape under that name

    TBatchMove move;
    move.setSource(&source);
    move.setDestination(&destination);
    move.execute();
    destination.open();
    EXPECT_EQ(destination.recordCount(), 2);
    EXPECT_NE(destination.findField("FOTO"), nullptr);
}

TEST(BatchCopy, RefusesToCopyATableOntoItself)
{
    AlbumFixture album;
    TTable source;
    album.createPictures(source, 2);
    TTable same;
    pointAt(same, album.dir.path(), "album.db");
    TBatchMove move;
    move.setSource(&source);
    move.setDestination(&same);
    EXPECT_THROW(move.execute(), std::runtime_error);
    source.open();
    EXPECT_EQ(source.recordCount(), 2) << "the source must be intact";
}

TEST(BatchCopy, AMissingSourceIsAnErrorAndCreatesNothing)
{
    TempDir from, to;
    TTable source, destination;
    pointAt(source, from.path(), "gone.db");
    pointAt(destination, to.path(), "gone.db");
    TBatchMove move;
    move.setSource(&source);
    move.setDestination(&destination);
    EXPECT_THROW(move.execute(), std::runtime_error);
    EXPECT_FALSE(fs::exists(to / "gone.db"));
}
