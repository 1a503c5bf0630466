// Moving through the records and editing them: end flags, counts, and how pending edits are
// stored or dropped.
#include <gtest/gtest.h>

#include "albumfixture.h"
#include "data/databaseerror.h"
#include "data/tdatasource.h"
#include "recordinglink.h"

namespace {

class FivePictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        album.createPictures(table, 5);
        table.open();
    }
    AlbumFixture album;
    TTable table;
};

} // namespace

TEST_F(FivePictures, OpenMakesTheFirstRecordCurrent)
{
    EXPECT_EQ(currentName(table), "picture 1");
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
}

TEST_F(FivePictures, NextOnTheLastRecordSetsEndAndStays)
{
    for (int i = 0; i < 4; ++i)
        table.next();
    EXPECT_EQ(currentName(table), "picture 5");
    EXPECT_FALSE(table.eof());
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(currentName(table), "picture 5");
    EXPECT_EQ(table.recNo(), 5);
    table.prior();
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(currentName(table), "picture 4");
}

TEST_F(FivePictures, PriorOnTheFirstRecordSetsStartAndStays)
{
    table.next();
    EXPECT_FALSE(table.bof());
    table.prior();
    table.prior();
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(currentName(table), "picture 1");
}

TEST_F(FivePictures, MoveByStopsAtTheEnds)
{
    EXPECT_EQ(table.moveBy(3), 3);
    EXPECT_EQ(table.recNo(), 4);
    EXPECT_EQ(table.moveBy(10), 1);
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recNo(), 5);
    EXPECT_EQ(table.moveBy(-10), -4);
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(table.moveBy(0), 0);
}

TEST_F(FivePictures, FirstAfterTheEndClearsTheEndFlag)
{
    table.moveBy(10);
    table.next();
    ASSERT_TRUE(table.eof());
    table.first();
    EXPECT_FALSE(table.eof());
    EXPECT_TRUE(table.bof());
}

TEST_F(FivePictures, RefreshStoresAnAssignedFieldAndDropsAnUntouchedEdit)
{
    table.edit();
    table.fieldByName("MEMO").setAsString("kept");
    table.refresh();
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(table.fieldByName("MEMO").asString(), "kept");

    table.edit();
    table.refresh();
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(table.recordCount(), 5);
}

TEST_F(FivePictures, MovingStoresAPendingEdit)
{
    table.edit();
    table.fieldByName("MARK").setAsBoolean(true);
    table.next();
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
    table.prior();
    EXPECT_TRUE(table.fieldByName("MARK").asBoolean());
}

TEST_F(FivePictures, CancelDropsAssignedFields)
{
    table.edit();
    table.fieldByName("NAAM").setAsString("changed");
    EXPECT_EQ(currentName(table), "changed");
    table.cancel();
    EXPECT_EQ(currentName(table), "picture 1");
}

TEST_F(FivePictures, AppendStoresThePreviousNewRecordAndAnUntouchedOneIsDropped)
{
    table.append();
    table.fieldByName("NAAM").setAsString("six");
    EXPECT_EQ(table.recordCount(), 5) << "a pending new record is not counted";
    table.append(); // stores "six"
    EXPECT_EQ(table.recordCount(), 6);
    EXPECT_EQ(currentName(table), "") << "the new record starts empty";
    table.first(); // drops the untouched new record
    EXPECT_EQ(table.recordCount(), 6);
    table.moveBy(5);
    EXPECT_EQ(currentName(table), "six");
}

TEST_F(FivePictures, PostingANewRecordMakesItCurrentAtTheEnd)
{
    table.next();
    table.append();
    table.fieldByName("NAAM").setAsString("six");
    table.refresh();
    EXPECT_EQ(currentName(table), "six");
    EXPECT_EQ(table.recNo(), 6);
    table.next();
    EXPECT_TRUE(table.eof());
}

TEST_F(FivePictures, DeletingMovesToTheFollowingRecordOrBackFromTheLast)
{
    table.next();
    table.deleteRecord();
    EXPECT_EQ(currentName(table), "picture 3");
    EXPECT_EQ(table.recordCount(), 4);
    table.moveBy(10);
    table.deleteRecord();
    EXPECT_EQ(currentName(table), "picture 4");
    EXPECT_EQ(table.recordCount(), 3);
}

TEST_F(FivePictures, DeletingAPendingNewRecordDropsItAndKeepsTheStoredOnes)
{
    table.moveBy(2);
    table.append();
    table.fieldByName("NAAM").setAsString("not yet stored");
    table.deleteRecord();
    EXPECT_EQ(table.recordCount(), 5);
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(currentName(table), "picture 3");
}

TEST_F(FivePictures, CloseStoresAPendingEdit)
{
    table.edit();
    table.fieldByName("MEMO").setAsString("written before close");
    table.close();
    table.open();
    EXPECT_EQ(table.fieldByName("MEMO").asString(), "written before close");
}

TEST(EmptyTable, EditInsertsAndTheViewHasNoRecord)
{
    AlbumFixture album;
    TTable table;
    album.createPictures(table, 0);
    table.open();
    EXPECT_TRUE(table.eof());
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.recNo(), 0);
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(currentName(table), "");
    EXPECT_THROW(table.deleteRecord(), DatabaseError);

    table.edit();
    EXPECT_EQ(table.state(), TDataSetState::dsInsert);
    table.fieldByName("NAAM").setAsString("first");
    table.refresh();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.recNo(), 1);
}

TEST(DeleteTheOnlyRecord, LeavesAnEmptyView)
{
    AlbumFixture album;
    TTable table;
    album.createPictures(table, 1);
    table.open();
    table.deleteRecord();
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.recNo(), 0);
    EXPECT_TRUE(table.eof());
}
