// Tables copied from old media carry upper-case names (WIN.DB, WIN.MB) where the program asks
// for WIN.db: they are found whatever the case asked for, and creating a table leaves no
// table beside it whose name differs only in case.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/journal.h"
#include "paradox/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace paradox::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class NameCase : public ::testing::Test {
protected:
    // A one-picture table whose picture is in the blob file, under the given file names.
    void makeTable(const std::string& dbName, const std::string& mbName, std::int64_t id) const
    {
        const auto made = dir / "made.db";
        Table::create(made, albumFields());
        Table(made).append(changesFor(row(id)));
        std::filesystem::rename(made, dir / dbName);
        std::filesystem::rename(dir / "made.mb", dir / mbName);
    }

    static Row row(std::int64_t id) { return makeRow(id, 0, 5000); }

    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ::TempDir dir;
};

TEST_F(NameCase, AnUpperCaseTableOpensUnderTheNameTheProgramAsksFor)
{
    makeTable("WIN.DB", "WIN.MB", 1);
    Table table(dir / "WIN.db");
    EXPECT_EQ(table.path(), dir / "WIN.DB");
    EXPECT_TRUE(table.writable()) << table.readOnlyReason();
    table.append(changesFor(row(2)));
    expectRows(table, {row(1), row(2)});
    EXPECT_THAT(files(), ElementsAre("WIN.DB", "WIN.MB"));
}

TEST_F(NameCase, TheBlobFileIsFoundWhateverTheCaseOfItsName)
{
    makeTable("Win.db", "WIN.MB", 1);
    EXPECT_EQ(Table::blobPathFor(dir / "Win.db"), dir / "WIN.MB");
    expectRows(Table(dir / "Win.db"), {row(1)});
}

TEST_F(NameCase, AJournalLeftUnderTheUpperCaseNameIsRolledBack)
{
    makeTable("WIN.DB", "WIN.MB", 1);
    const Bytes before = readFile(dir / "WIN.DB");
    Journal journal(before.size(), std::filesystem::file_size(dir / "WIN.MB"));
    journal.keep(TableFile::Table, 0, Bytes(before.begin(), before.begin() + 0x80));
    journal.write(Journal::pathFor(dir / "WIN.DB"));
    Bytes scribbled = before;
    std::fill_n(scribbled.begin(), 0x80, 0xEE);
    writeFile(dir / "WIN.DB", scribbled);
    expectRows(Table(dir / "WIN.db"), {row(1)});
    EXPECT_THAT(files(), ElementsAre("WIN.DB", "WIN.MB"));
}

TEST_F(NameCase, TheExactNameWinsAndOtherwiseTheFirstInByteOrder)
{
    makeTable("win2.db", "win2.mb", 1);
    makeTable("WIN2.DB", "WIN2.MB", 2);
    makeTable("Win2.db", "Win2.mb", 3);
    expectRows(Table(dir / "win2.db"), {row(1)});
    expectRows(Table(dir / "WIN2.DB"), {row(2)});
    expectRows(Table(dir / "Win2.db"), {row(3)});
    // None of them is WIN2.db; "WIN2.DB" comes first in byte order.
    const Table table(dir / "WIN2.db");
    EXPECT_EQ(table.path(), dir / "WIN2.DB");
    expectRows(table, {row(2)});
}

TEST_F(NameCase, RemovingFindsTheTableAndItsBlobFile)
{
    makeTable("WIN.DB", "WIN.MB", 1);
    Table::remove(dir / "WIN.db");
    EXPECT_THAT(files(), IsEmpty());
    EXPECT_THROW(Table::remove(dir / "WIN.db"), Error);
}

TEST_F(NameCase, CreatingWritesTheNameAskedForAndReplacesTheTableInAnotherCase)
{
    makeTable("WIN.DB", "WIN.MB", 1);
    Table::create(dir / "WIN.db", albumFields());
    EXPECT_THAT(files(), ElementsAre("WIN.db", "WIN.mb"));
    EXPECT_EQ(Table(dir / "WIN.DB").recordCount(), 0u);

    // Upper case asked for, upper case written; a table without blobs leaves no blob file.
    Table::create(dir / "WIN.DB", {longField("X")});
    EXPECT_THAT(files(), ElementsAre("WIN.DB"));
}

TEST_F(NameCase, CreatingReplacesNothingWhileATableItWouldReplaceIsOpen)
{
    makeTable("WIN.DB", "WIN.MB", 1);
    const Table open(dir / "WIN.DB");
    EXPECT_THROW(Table::create(dir / "win.db", albumFields()), InUseError);
    EXPECT_THAT(files(), ElementsAre("WIN.DB", "WIN.MB"));
    expectRows(open, {row(1)});
}

} // namespace
} // namespace paradox::test
