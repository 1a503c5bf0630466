// A blob file cannot grow past what its 32-bit offsets address: such a change is refused whole.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace paradox::test {
namespace {

using ::testing::HasSubstr;

TEST(Capacity, AChangeThatWouldOutgrowTheBlobFileIsRefusedBeforeAnythingIsWritten)
{
    ::TempDir dir;
    const auto db = dir / "full.db";
    Table::create(db, albumFields());
    OpenOptions options;
    options.blobFileLimit = 64 * 1024;
    Table table(db, options);
    std::vector<Row> rows{makeRow(1, 0, 40'000), makeRow(2, 0, 500)};
    for (const Row& row : rows)
        table.append(changesFor(row));

    const Bytes tableBefore = readFile(db);
    const Bytes blobsBefore = readFile(Table::blobPathFor(db));
    const std::vector<std::function<void()>> tooBig = {
        [&] { table.append(changesFor(makeRow(3, 0, 30'000))); },
        [&] {
            table.update(1, {{3, noise(30'000, 9)}});
        },
        // The old picture would only be freed after the new one is written.
        [&] {
            table.update(0, {{3, noise(40'000, 9)}});
        },
        // Pictures copied from their files are measured by their files' sizes.
        [&] { table.append(changesThroughFile(makeRow(3, 0, 30'000), dir / "new.jpg")); },
        [&] {
            writeFile(dir / "replacement.jpg", noise(40'000, 9));
            table.update(0, {{3, FileContent{dir / "replacement.jpg"}}});
        },
    };
    for (const auto& change : tooBig) {
        try {
            change();
            FAIL() << "the blob file grew past its limit";
        } catch (const CapacityError& error) {
            EXPECT_THAT(error.what(), HasSubstr("album is full"));
            EXPECT_THAT(error.what(), HasSubstr(Table::blobPathFor(db).string()));
            EXPECT_THAT(error.what(), HasSubstr("64 KB"));
        }
        EXPECT_EQ(readFile(db), tableBefore);
        EXPECT_EQ(readFile(Table::blobPathFor(db)), blobsBefore);
        expectRows(table, rows);
    }
    // What still fits goes in.
    rows.push_back(makeRow(4, 0, 1000));
    table.append(changesFor(rows.back()));
    expectRows(table, rows);
    EXPECT_THAT(table.check(), ::testing::IsEmpty());
}

} // namespace
} // namespace paradox::test
