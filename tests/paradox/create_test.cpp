// A new table must look like one a Borland tool made: same header bytes, same blob file.
#include "helpers/testsupport.h"
#include "paradox/table.h"

#include <gtest/gtest.h>

namespace paradox::test {
namespace {

// Runtime pointers, change counters and the update time differ between any two files.
struct Range {
    std::size_t from;
    std::size_t to;
};
constexpr Range varyingBytes[] = {{0x16, 0x1E}, {0x2D, 0x2F}, {0x30, 0x38}, {0x60, 0x64}, {0x86, 0xA6}};
// empty.db's last field is a graphic; ours is binary, the closest type we create.
constexpr std::size_t lastFieldType = 0x78 + 2 * 6;

bool varies(std::size_t offset)
{
    if (offset == lastFieldType)
        return true;
    for (const Range& range : varyingBytes) {
        if (offset >= range.from && offset < range.to)
            return true;
    }
    return false;
}

TEST(CreatedTable, HasTheHeaderBytesABorlandToolWrites)
{
    REQUIRE_FIXTURES();
    ::TempDir dir;
    // The header stores the table name; empty.db was made under this one.
    const auto db = dir / "resttemp.DB";
    Table::create(db,
                  {longField("ID"),
                   alphaField("ScientificName", 30),
                   alphaField("CommonName", 30),
                   alphaField("Order", 20),
                   alphaField("Genus", 20),
                   {"Notes", FieldType::Memo, 20},
                   binaryField("Picture")},
                  1252);
    const Bytes ours = readFile(db);
    const Bytes borland = readFile(fixture("rparadox/empty.db"));
    ASSERT_EQ(ours.size(), borland.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (!varies(i)) {
            EXPECT_EQ(ours[i], borland[i]) << "header byte 0x" << std::hex << i;
        }
    }
    EXPECT_EQ(ours[lastFieldType], static_cast<std::uint8_t>(FieldType::Binary));
    EXPECT_EQ(readFile(Table::blobPathFor(db)), readFile(fixture("rparadox/empty.mb")));

    const Table table(db);
    EXPECT_TRUE(table.writable());
    EXPECT_EQ(table.info().codePage, 1252);
    EXPECT_EQ(table.info().tableName, "resttemp.DB");
}

TEST(CreatedTable, StoresUtf8AndHasNoBlobFileWithoutBlobFields)
{
    ::TempDir dir;
    const auto db = dir / "plain.db";
    Table::create(db, {shortField("Nummer"), alphaField("Größe", 10)});
    EXPECT_FALSE(std::filesystem::exists(Table::blobPathFor(db)));
    Table table(db);
    EXPECT_EQ(table.info().codePage, 65001);
    EXPECT_EQ(table.fields()[1].name, "Größe");
    table.append({{0, std::int64_t{-5}}, {1, std::string("ÄÖÜ")}});
    EXPECT_EQ(table.integer(0, 0), -5);
    EXPECT_EQ(table.text(0, 1), "ÄÖÜ");
}

TEST(CreatedTable, ReplacesAnEarlierTableOfTheSameName)
{
    ::TempDir dir;
    const auto db = dir / "again.db";
    Table::create(db, {memoField("M")});
    {
        Table table(db);
        table.append({{0, std::string(5000, 'x')}});
    }
    Table::create(db, {longField("N")});
    EXPECT_FALSE(std::filesystem::exists(Table::blobPathFor(db)));
    const Table table(db);
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_EQ(table.fields()[0].name, "N");
}

} // namespace
} // namespace paradox::test
