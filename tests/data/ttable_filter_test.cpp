// The record filter: which records are visible, which becomes current, and the record
// number counted within the visible records.
#include <gtest/gtest.h>

#include "albumfixture.h"
#include "data/data.h"
#include "data/databaseerror.h"

namespace {

// Pictures 1..6; category 3 holds pictures 2, 4 and 5; picture 6 is marked.
std::vector<PictureSpec> sixPictures()
{
    return {{}, {"", {3}}, {}, {"", {3, 5}}, {"", {3}}, {"", {}, true}};
}

TTable::TFilterRecordEvent acceptCategory(TTable& table, const std::string& field)
{
    return [&table, field](TTable&, bool& accept) { accept = table.fieldByName(field).asBoolean(); };
}

class FilteredPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        album.createPictures(table, sixPictures());
        table.open();
    }
    std::vector<std::string> visibleNames()
    {
        std::vector<std::string> names;
        for (table.first(); !table.eof(); table.next())
            names.push_back(currentName(table));
        return names;
    }
    AlbumFixture album;
    TTable table;
};

} // namespace

TEST_F(FilteredPictures, OnlyAcceptedRecordsAreVisibleAndNumberedFromOne)
{
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.setFiltered(true);
    EXPECT_EQ(currentName(table), "picture 2");
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(table.recordCount(), 6) << "the record count counts the whole table";
    EXPECT_EQ(visibleNames(), (std::vector<std::string>{"picture 2", "picture 4", "picture 5"}));
    EXPECT_EQ(table.recNo(), 3);
    table.prior();
    EXPECT_EQ(currentName(table), "picture 4");
}

TEST_F(FilteredPictures, SwitchingOnOrOffAlwaysMakesTheFirstRecordOfTheViewCurrent)
{
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.moveBy(3);
    table.setFiltered(false); // already off: still goes to the first record
    EXPECT_EQ(currentName(table), "picture 1");
    table.setFiltered(true);
    table.next();
    table.setFiltered(true); // again on: back to the first visible record
    EXPECT_EQ(currentName(table), "picture 2");
    table.next();
    table.setFiltered(false);
    EXPECT_EQ(currentName(table), "picture 1");
}

TEST_F(FilteredPictures, ANewPredicateWhileOnReplacesTheOldOneAndReapplies)
{
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.setFiltered(true);
    table.next();
    table.setOnFilterRecord(acceptCategory(table, "5"));
    EXPECT_EQ(visibleNames(), std::vector<std::string>{"picture 4"});
}

TEST_F(FilteredPictures, AnEmptyViewHasNoCurrentRecord)
{
    table.setOnFilterRecord(acceptCategory(table, "7"));
    table.setFiltered(true);
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recNo(), 0);
    EXPECT_EQ(currentName(table), "");
    EXPECT_TRUE(visibleNames().empty());
}

TEST_F(FilteredPictures, ASwitchOnAClosedTableIsRecordedAndInForceAtOpen)
{
    table.close();
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.setFiltered(true);
    EXPECT_TRUE(table.filtered());
    table.open();
    EXPECT_EQ(currentName(table), "picture 2");
}

TEST_F(FilteredPictures, AnOpenThatTheFilterFailsLeavesTheTableClosed)
{
    table.close();
    table.setOnFilterRecord(acceptCategory(table, "no such field"));
    table.setFiltered(true);
    EXPECT_ANY_THROW(table.open());
    EXPECT_FALSE(table.active());
    table.setFiltered(false);
    table.open();
    EXPECT_EQ(currentName(table), "picture 1");
}

TEST_F(FilteredPictures, ASwitchStoresThePendingEditFirst)
{
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.edit();
    table.fieldByName("3").setAsBoolean(true); // picture 1 joins category 3
    table.setFiltered(true);
    EXPECT_EQ(currentName(table), "picture 1");
}

TEST_F(FilteredPictures, ARecordLeavingTheViewByAnEditStaysCurrentAndTheWalkGoesOn)
{
    // Clearing the field the filter reads, while walking the view, visits every record once.
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.setFiltered(true);
    std::vector<std::string> visited;
    for (table.first(); !table.eof(); table.next()) {
        visited.push_back(currentName(table));
        table.edit();
        table.fieldByName("3").setAsBoolean(false);
        table.refresh();
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"picture 2", "picture 4", "picture 5"}));
    table.setFiltered(true);
    EXPECT_TRUE(table.isEmpty());
}

TEST(DataModule, PredicatesAcceptOnlyTrueFieldsAndTheTwentyFifthReadsTheMark)
{
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
    Tdb db;
    AlbumFixture album;
    album.createPictures(db.Table1, sixPictures());
    db.Table1.open();

    auto visibleWith = [&db](int predicate) {
        db.Table1.setOnFilterRecord(db.filterHandler(Tdb::filterPredicate(predicate)));
        db.Table1.setFiltered(true);
        std::vector<int> numbers;
        for (db.Table1.first(); !db.Table1.eof(); db.Table1.next())
            numbers.push_back(std::stoi(currentName(db.Table1).substr(8)));
        return numbers;
    };
    EXPECT_EQ(visibleWith(3), (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(visibleWith(5), (std::vector<int>{4}));
    EXPECT_EQ(visibleWith(25), (std::vector<int>{6}));
    EXPECT_TRUE(visibleWith(24).empty()) << "never-set (empty) fields reject every record";
    EXPECT_THROW(Tdb::filterPredicate(26), std::runtime_error);
    EXPECT_EQ(db.Reg.databaseName(), (config.path() / "kadrix").string());
}

TEST_F(FilteredPictures, ABookmarkFindsItsRecordAgainAfterItLeftTheFilter)
{
    table.setOnFilterRecord(acceptCategory(table, "3"));
    table.setFiltered(true);
    table.next(); // picture 4
    const auto fourth = table.bookmark();
    table.next(); // picture 5
    const auto fifth = table.bookmark();
    ASSERT_TRUE(fourth && fifth);
    table.gotoBookmark(*fourth);
    table.edit();
    table.fieldByName("3").setAsBoolean(false);
    table.gotoBookmark(*fifth); // stores picture 4, which no longer passes
    EXPECT_EQ(currentName(table), "picture 5");
    table.gotoBookmark(*fourth);
    EXPECT_EQ(currentName(table), "picture 4");
    EXPECT_FALSE(table.fieldByName("3").asBoolean());
    EXPECT_EQ(visibleNames(), (std::vector<std::string>{"picture 2", "picture 5"}));
    EXPECT_THROW(table.gotoBookmark(6), DatabaseError);
    // Read in place: the current record stays.
    table.gotoBookmark(*fourth);
    EXPECT_EQ(std::get<bool>(table.valueAt(*fifth, "3")), true);
    EXPECT_EQ(std::get<bool>(table.valueAt(*fourth, "3")), false);
    EXPECT_EQ(currentName(table), "picture 4");
    EXPECT_THROW(table.valueAt(6, "3"), DatabaseError);
    EXPECT_THROW(table.valueAt(*fifth, "NO SUCH FIELD"), DatabaseError);
}

TEST_F(FilteredPictures, AnEmptyViewHasNoBookmark)
{
    table.setOnFilterRecord(acceptCategory(table, "24"));
    table.setFiltered(true);
    EXPECT_FALSE(table.bookmark().has_value());
}
