// What a writer killed mid-change leaves behind is undone, or ignored, on the next open.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/journal.h"
#include "paradox/table.h"

#include <functional>
#include <gtest/gtest.h>

namespace paradox::test {
namespace {

class LeftJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table::create(db, albumFields());
        Table table(db);
        table.append(changesFor(makeRow(1, 0, 10'000)));
        table.append(changesFor(makeRow(2, 0, 100)));
        tableBytes = readFile(db);
        blobBytes = readFile(blobs);
    }

    // A journal of the first bytes of both files, as a writer would leave it before changing them.
    void leaveJournal() const
    {
        Journal journal(tableBytes.size(), blobBytes.size());
        journal.keep(TableFile::Table, 0, Bytes(tableBytes.begin(), tableBytes.begin() + 0x80));
        journal.keep(TableFile::Blobs, 4096, Bytes(blobBytes.begin() + 4096, blobBytes.begin() + 4200));
        journal.write(Journal::pathFor(db));
    }

    void scribble() const
    {
        Bytes damagedTable = tableBytes;
        std::fill_n(damagedTable.begin(), 0x80, 0xEE);
        damagedTable.resize(damagedTable.size() + 2048, 0xEE);
        writeFile(db, damagedTable);
        Bytes damagedBlobs = blobBytes;
        std::fill_n(damagedBlobs.begin() + 4096, 104, 0xEE);
        damagedBlobs.resize(damagedBlobs.size() + 8192, 0xEE);
        writeFile(blobs, damagedBlobs);
    }

    ::TempDir dir;
    std::filesystem::path db = dir / "album.db";
    std::filesystem::path blobs = Table::blobPathFor(db);
    Bytes tableBytes;
    Bytes blobBytes;
};

TEST_F(LeftJournal, ACompleteJournalIsRolledBackWhenTheTableOpens)
{
    leaveJournal();
    scribble();
    const Table table(db);
    EXPECT_EQ(readFile(db), tableBytes);
    EXPECT_EQ(readFile(blobs), blobBytes);
    EXPECT_FALSE(std::filesystem::exists(Journal::pathFor(db)));
    expectRows(table, {makeRow(1, 0, 10'000), makeRow(2, 0, 100)});
}

TEST_F(LeftJournal, AnIncompleteJournalIsDeletedAndTheTableLeftAsItIs)
{
    leaveJournal();
    const auto journal = Journal::pathFor(db);
    Bytes cut = readFile(journal);
    cut.pop_back();
    writeFile(journal, cut);
    const Table table(db);
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_EQ(readFile(db), tableBytes);
    EXPECT_EQ(table.recordCount(), 2u);
}

TEST_F(LeftJournal, AHandleOpenBeforeTheCrashUndoesItBeforeItsOwnChange)
{
    {
        Table table(db, {.lock = Lock::Shared});
        leaveJournal();
        scribble();
        table.append(changesFor(makeRow(3, 0, 50)));
        EXPECT_FALSE(std::filesystem::exists(Journal::pathFor(db)));
    }
    expectRows(Table(db), {makeRow(1, 0, 10'000), makeRow(2, 0, 100), makeRow(3, 0, 50)});
}

TEST_F(LeftJournal, AJournalOfABlobFileThatWasNotThereIsIgnored)
{
    Journal journal(tableBytes.size(), std::nullopt);
    journal.keep(TableFile::Blobs, 4096, Bytes(16, 0xAA));
    journal.write(Journal::pathFor(db));
    const Table table(db);
    EXPECT_EQ(readFile(blobs), blobBytes);
    EXPECT_EQ(table.recordCount(), 2u);
}

// A journal records the sizes the files had before a change, and only bytes inside them; one
// that claims more cannot come from a change of these files, and applying it would grow them.
TEST_F(LeftJournal, AJournalThatDoesNotFitTheFilesIsIgnored)
{
    constexpr std::uint64_t gigabyte = 1ull << 30;
    const std::vector<std::function<Journal()>> misfits{
        [&] { return Journal(tableBytes.size() + gigabyte, blobBytes.size()); },
        [&] { return Journal(tableBytes.size(), blobBytes.size() + gigabyte); },
        [&] {
            Journal journal(tableBytes.size(), blobBytes.size());
            journal.keep(TableFile::Table, tableBytes.size() - 8, Bytes(16, 0xAA));
            return journal;
        },
    };
    for (std::size_t i = 0; i < misfits.size(); ++i) {
        SCOPED_TRACE("journal " + std::to_string(i));
        misfits[i]().write(Journal::pathFor(db));
        const Table table(db);
        EXPECT_FALSE(std::filesystem::exists(Journal::pathFor(db)));
        EXPECT_EQ(readFile(db), tableBytes);
        EXPECT_EQ(std::filesystem::file_size(blobs), blobBytes.size());
        EXPECT_EQ(readFile(blobs), blobBytes);
    }
}

} // namespace
} // namespace paradox::test
