// Tables this program writes: every change reads back identically, here and through pxlib.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace paradox::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class WrittenTable : public ::testing::Test {
protected:
    void SetUp() override { Table::create(db, albumFields()); }

    ::TempDir dir;
    std::filesystem::path db = dir / "album.db";
};

// Sizes around every boundary: empty, inside the 1-byte leader, shared blocks, own blocks.
constexpr std::size_t pictureSizes[] = {0, 1, 2, 100, 2048, 2049, 4087, 4088, 50'000, 300'000};

TEST_F(WrittenTable, MixedChangesReadBackHereAndThroughPxlib)
{
    std::vector<Row> rows;
    {
        Table table(db);
        for (std::int64_t id = 0; id < 80; ++id) {
            rows.push_back(makeRow(id, 0, pictureSizes[id % std::size(pictureSizes)]));
            EXPECT_EQ(table.append(changesFor(rows.back())), rows.size() - 1);
        }
        for (std::size_t r = 0; r < rows.size(); r += 3) {
            rows[r] = makeRow(rows[r].id, 1, pictureSizes[(r + 5) % std::size(pictureSizes)]);
            table.update(r, changesFor(rows[r]));
        }
        // Empty the second data block completely (29 records fit a block), then some more.
        for (int i = 0; i < 29; ++i) {
            table.remove(29);
            rows.erase(rows.begin() + 29);
        }
        for (std::size_t r : {0u, 17u, 30u}) {
            table.remove(r);
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(r));
        }
        for (std::int64_t id = 100; id < 110; ++id) {
            rows.push_back(makeRow(id, 0, pictureSizes[id % std::size(pictureSizes)]));
            table.append(changesFor(rows.back()));
        }
        expectRows(table, rows);
        EXPECT_THAT(table.check(), IsEmpty());
    }
    const Table reopened(db);
    expectRows(reopened, rows);
    EXPECT_THAT(reopened.check(), IsEmpty());
    expectRowsThroughPxlib(db, rows, dir.path());
}

TEST_F(WrittenTable, ReplacingAPictureReusesTheFreedSpace)
{
    constexpr std::size_t picture = 4 << 20;
    Table table(db);
    std::vector<Row> rows{makeRow(1, 0, picture)};
    table.append(changesFor(rows[0]));
    const auto afterFirst = std::filesystem::file_size(Table::blobPathFor(db));
    for (int version = 1; version <= 10; ++version) {
        rows[0].picture = noise(picture, static_cast<std::uint32_t>(version));
        table.update(0, {{3, rows[0].picture}});
    }
    // The new picture is written before the old one is freed, so two copies may coexist.
    EXPECT_LE(std::filesystem::file_size(Table::blobPathFor(db)), 2 * afterFirst);
    expectRows(table, rows);
    EXPECT_THAT(table.check(), IsEmpty());
}

TEST_F(WrittenTable, EmptiedDataBlocksAreReusedBeforeTheFileGrows)
{
    Table table(db);
    for (std::int64_t id = 0; id < 90; ++id)
        table.append(changesFor(makeRow(id, 0, 10)));
    const int blocks = table.info().blocksInFile;
    for (int i = 0; i < 29; ++i)
        table.remove(0);
    EXPECT_NE(table.info().firstFreeBlock, 0);
    for (std::int64_t id = 0; id < 29; ++id)
        table.append(changesFor(makeRow(id, 1, 10)));
    EXPECT_EQ(table.info().blocksInFile, blocks);
    EXPECT_EQ(table.info().firstFreeBlock, 0);
    EXPECT_EQ(table.recordCount(), 90u);
    EXPECT_THAT(table.check(), IsEmpty());
}

TEST_F(WrittenTable, ValuesNoLongerThanTheLeaderStayInTheRecord)
{
    Table table(db);
    const auto blobFile = Table::blobPathFor(db);
    const auto before = readFile(blobFile);
    table.append({{2, std::string("x")}, {3, Bytes{7}}});
    EXPECT_EQ(readFile(blobFile), before);
    EXPECT_EQ(table.text(0, 2), "x");
    EXPECT_EQ(table.blob(0, 3), Bytes{7});
}

TEST_F(WrittenTable, RefusesUnsuitableValuesWithoutTouchingTheFiles)
{
    Table table(db);
    table.append(changesFor(makeRow(1, 0, 5000)));
    const auto tableBytes = readFile(db);
    const auto blobBytes = readFile(Table::blobPathFor(db));
    const std::vector<std::vector<FieldChange>> refused = {
        {{0, std::string("not a number")}}, {{5, std::int64_t{40000}}},
        {{5, std::int64_t{-32768}}},        {{4, std::int64_t{1}}},
        {{3, std::string("text")}},         {{9, true}},
        {{1, std::string("a\0b", 3)}},      {{0, std::int64_t{1}}, {0, std::int64_t{2}}},
        {{3, noise(3000, 1)}, {1, 1.5}},
    };
    for (const auto& changes : refused) {
        EXPECT_THROW(table.update(0, changes), Error);
        EXPECT_THROW(table.append(changes), Error);
    }
    EXPECT_THROW(table.update(5, {{0, std::int64_t{1}}}), Error);
    EXPECT_THROW(table.remove(1), Error);
    EXPECT_EQ(readFile(db), tableBytes);
    EXPECT_EQ(readFile(Table::blobPathFor(db)), blobBytes);
    expectRows(table, {makeRow(1, 0, 5000)});
}

TEST_F(WrittenTable, CreateRefusesFieldListsItCannotWrite)
{
    const std::vector<std::vector<FieldDef>> refused = {
        {},
        {alphaField("A", 0)},
        {{"N", FieldType::Number, 8}},
        {longField("ID"), longField("id")},
        {alphaField("", 10)},
        std::vector<FieldDef>(9, alphaField("A", 255)), // too big for a record, besides repeating a name
        {alphaField("A", 255), alphaField("B", 255), alphaField("C", 255), alphaField("D", 255), alphaField("E", 255),
         alphaField("F", 255), alphaField("G", 255), alphaField("H", 255), longField("I")},
        {{"M", FieldType::Memo, 10}},
    };
    for (const auto& fields : refused)
        EXPECT_THROW(Table::create(dir / "bad.db", fields), Error);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.db"));
}

TEST_F(WrittenTable, RemoveDeletesAllFilesOfTheTable)
{
    Table::remove(db);
    EXPECT_FALSE(std::filesystem::exists(db));
    EXPECT_FALSE(std::filesystem::exists(Table::blobPathFor(db)));
    EXPECT_THROW(Table::remove(db), Error);
    EXPECT_THROW(Table{db}, Error);
}

} // namespace
} // namespace paradox::test
