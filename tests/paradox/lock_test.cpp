// Exclusive opens keep every other handle out; shared handles see and serialise each other.
#include "helpers/album.h"
#include "helpers/childprocess.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace paradox::test {
namespace {

using ::testing::HasSubstr;

OpenOptions sharedOpen()
{
    OpenOptions options;
    options.lock = Lock::Shared;
    return options;
}

class Locking : public ::testing::Test {
protected:
    void SetUp() override { Table::create(db, albumFields()); }

    void expectInUse(const std::function<void()>& attempt)
    {
        try {
            attempt();
            ADD_FAILURE() << "the table was not reported in use";
        } catch (const InUseError& error) {
            EXPECT_THAT(error.what(), HasSubstr("in use"));
            EXPECT_THAT(error.what(), HasSubstr(db.string()));
        }
    }

    ::TempDir dir;
    std::filesystem::path db = dir / "album.db";
};

TEST_F(Locking, AnotherProcessHoldingTheTableExclusivelyKeepsEveryoneOut)
{
    Pipe opened, done;
    const pid_t holder = spawn([&] {
        Table table(db);
        opened.signal();
        done.wait();
    });
    ASSERT_TRUE(opened.wait());
    expectInUse([&] { Table table(db); });
    expectInUse([&] { Table table(db, sharedOpen()); });
    expectInUse([&] { Table::remove(db); });
    expectInUse([&] { Table::create(db, {longField("X")}); });
    done.signal();
    EXPECT_EQ(finish(holder), 0);
    const Table table(db);
    EXPECT_EQ(table.fields().size(), albumFields().size());
}

TEST_F(Locking, HandlesInOneProcessConflictLikeProcesses)
{
    {
        const Table first(db);
        expectInUse([&] { Table second(db); });
        expectInUse([&] { Table second(db, sharedOpen()); });
    }
    const Table first(db, sharedOpen());
    const Table second(db, sharedOpen());
    expectInUse([&] { Table third(db); });
    expectInUse([&] { Table::remove(db); });
}

TEST_F(Locking, SharedHandlesInTwoProcessesSeeEachOthersChanges)
{
    Table mine(db, sharedOpen());
    Pipe appended, checked;
    const pid_t other = spawn([&] {
        Table theirs(db, sharedOpen());
        theirs.append(changesFor(makeRow(1, 0, 5000)));
        appended.signal();
        checked.wait();
        if (!theirs.reloadIfChanged() || theirs.recordCount() != 2 || *theirs.integer(1, 0) != 2)
            throw std::runtime_error("the other process did not see the change");
    });
    ASSERT_TRUE(appended.wait());
    EXPECT_TRUE(mine.reloadIfChanged());
    EXPECT_FALSE(mine.reloadIfChanged());
    expectRows(mine, {makeRow(1, 0, 5000)});
    mine.append(changesFor(makeRow(2, 0, 100)));
    checked.signal();
    EXPECT_EQ(finish(other), 0);
}

TEST_F(Locking, ConcurrentWritersThroughSharedHandlesSerialise)
{
    constexpr int perWriter = 40;
    auto rowFor = [](std::int64_t id) { return makeRow(id, 0, id % 2 == 0 ? 3000 : 20); };
    auto write = [&](std::int64_t firstId) {
        Table table(db, sharedOpen());
        for (std::int64_t id = firstId; id < firstId + perWriter; ++id)
            table.append(changesFor(rowFor(id)));
    };
    const pid_t other = spawn([&] { write(1000); });
    write(0);
    EXPECT_EQ(finish(other), 0);
    const Table table(db);
    std::vector<Row> expected;
    std::set<std::int64_t> ids;
    for (std::size_t r = 0; r < table.recordCount(); ++r) {
        ids.insert(*table.integer(r, 0));
        expected.push_back(rowFor(*table.integer(r, 0)));
    }
    EXPECT_EQ(ids.size(), 2u * perWriter);
    expectRows(table, expected);
    EXPECT_THAT(table.check(), ::testing::IsEmpty());
}

TEST_F(Locking, AChangeToARecordAnotherHandleChangedIsRefused)
{
    Table mine(db, sharedOpen());
    mine.append(changesFor(makeRow(1, 0, 10)));
    mine.append(changesFor(makeRow(2, 0, 10)));
    {
        Table theirs(db, sharedOpen());
        theirs.remove(0);
    }
    EXPECT_THROW(mine.update(0, {{1, std::string("stale")}}), Error);
    // The handle has caught up: record 0 is now what was record 1.
    EXPECT_EQ(mine.integer(0, 0), 2);
    mine.update(0, {{1, std::string("fresh")}});
    EXPECT_EQ(mine.text(0, 1), "fresh");
}

} // namespace
} // namespace paradox::test
