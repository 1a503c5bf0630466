#include <gtest/gtest.h>

#include <filesystem>

#include "albumfixture.h"
#include "data/albumcopy.h"
#include "data/albumcreation.h"
#include "data/data.h"

namespace fs = std::filesystem;

namespace {

// An album "trip" of `pictures` records in `dir`.
void makeAlbum(const fs::path& dir, int pictures, const std::string& base = "trip")
{
    createAlbumTables(dir.string(), base);
    TTable table;
    table.setDatabaseName(dir.string());
    table.setTableName(schema::pictureTableName(base));
    table.open();
    for (int n = 0; n < pictures; ++n) {
        table.append();
        table.fieldByName("NAAM").setAsString("picture " + std::to_string(n + 1));
        table.fieldByName("FOTO").setAsBytes(paradox::Bytes(30000, static_cast<std::uint8_t>(n)));
    }
    table.refresh();
}

int recordsIn(const fs::path& table)
{
    return static_cast<int>(paradox::Table(table, {paradox::Lock::Shared}).recordCount());
}

bool stagedFilesIn(const fs::path& dir)
{
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().starts_with(".kadrix-copy-"))
            return true;
    return false;
}

const auto always = [](int) { return true; };

} // namespace

TEST(AlbumCopy, PutsTheThreeTablesInPlaceReplacingATableWhoseNameDiffersInCase)
{
    TempDir from, to;
    makeAlbum(from.path(), 3);
    makeAlbum(to.path(), 1, "TRIP"); // TRIP.db, TRIP.mb from old media stand for trip.db
    Tdb db;
    std::vector<int> told;
    copyAlbum(db, {from.str(), "trip"}, to.str(), [&told](int percent) {
        told.push_back(percent);
        return true;
    });
    EXPECT_EQ(recordsIn(to / "trip.db"), 3);
    EXPECT_FALSE(fs::exists(to / "TRIP.db"));
    EXPECT_FALSE(fs::exists(to / "TRIP.mb"));
    EXPECT_TRUE(fs::exists(to / "trip.mb"));
    EXPECT_TRUE(fs::exists(to / "trip1.db"));
    EXPECT_TRUE(fs::exists(to / "trip2.db"));
    EXPECT_FALSE(stagedFilesIn(to.path()));
    EXPECT_EQ(recordsIn(from / "trip.db"), 3) << "a copy leaves the source";
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.begin() + 3)) << "the picture table's part only grows";
    EXPECT_EQ(told.back(), 100);
    EXPECT_EQ(db.copy1.filePath(), to / "trip.db") << "the copy handles address the copied album";
}

TEST(AlbumCopy, AStoppedCopyLeavesTheDestinationAsItWasAndNoStagedTables)
{
    TempDir from, to;
    makeAlbum(from.path(), 4);
    makeAlbum(to.path(), 1);
    Tdb db;
    EXPECT_THROW(copyAlbum(db, {from.str(), "trip"}, to.str(), [](int percent) { return percent < 50; }),
                 std::runtime_error);
    EXPECT_EQ(recordsIn(to / "trip.db"), 1);
    EXPECT_FALSE(stagedFilesIn(to.path()));
    EXPECT_FALSE(db.BatchMove1.onProgress) << "the batch copy forgets the caller's progress";
}

TEST(AlbumCopy, AMissingCategoryTableFailsBeforeAnythingIsReplaced)
{
    TempDir from, to;
    makeAlbum(from.path(), 2);
    fs::remove(from / "trip1.db");
    makeAlbum(to.path(), 1);
    Tdb db;
    EXPECT_THROW(copyAlbum(db, {from.str(), "trip"}, to.str(), always), std::runtime_error);
    EXPECT_EQ(recordsIn(to / "trip.db"), 1) << "the picture table copied before it is not put in place";
    EXPECT_FALSE(stagedFilesIn(to.path()));
}

TEST(AlbumCopy, RefusesTheSourceFolderHoweverItIsWritten)
{
    TempDir from;
    makeAlbum(from.path(), 2);
    Tdb db;
    for (const std::string& same : {from.str(), from.str() + "/", from.str() + "/."})
        EXPECT_THROW(copyAlbum(db, {from.str(), "trip"}, same, always), std::runtime_error) << same;
    EXPECT_EQ(recordsIn(from / "trip.db"), 2);
    EXPECT_FALSE(stagedFilesIn(from.path()));
    EXPECT_FALSE(sameFolder(from.str(), (from / "missing").string()));
}
