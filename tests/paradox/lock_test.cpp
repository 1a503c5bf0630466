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

// Taking turns makes sure, whatever the machine's load, that every append comes right after
// one the other process made through its own handle; then both write as fast as they can.
TEST_F(Locking, WritersThroughSharedHandlesInTwoProcessesKeepEachOthersChanges)
{
    constexpr int turns = 15, freeRun = 30;
    auto rowFor = [](std::int64_t id) { return makeRow(id, 0, id % 2 == 0 ? 3000 : 20); };
    Pipe toOther, toMe;
    auto write = [&](std::int64_t firstId, Pipe& myTurn, Pipe& theirTurn, bool startsFirst) {
        Table table(db, sharedOpen());
        for (int turn = 0; turn < turns; ++turn) {
            if ((turn > 0 || !startsFirst) && !myTurn.wait())
                throw std::runtime_error("the other writer went away");
            table.append(changesFor(rowFor(firstId + turn)));
            theirTurn.signal();
        }
        // The other's last turn still follows this one's.
        if (startsFirst && !myTurn.wait())
            throw std::runtime_error("the other writer went away");
        for (std::int64_t id = firstId + turns; id < firstId + turns + freeRun; ++id)
            table.append(changesFor(rowFor(id)));
    };
    const pid_t other = spawn([&] { write(1000, toOther, toMe, false); });
    write(0, toMe, toOther, true);
    EXPECT_EQ(finish(other), 0);

    const Table table(db);
    ASSERT_EQ(table.recordCount(), 2u * (turns + freeRun));
    std::vector<Row> expected;
    std::set<std::int64_t> ids;
    for (std::size_t r = 0; r < table.recordCount(); ++r) {
        const std::int64_t id = *table.integer(r, 0);
        if (r < 2u * turns) {
            EXPECT_EQ(id, static_cast<std::int64_t>(r / 2 + (r % 2 == 0 ? 0 : 1000))) << "record " << r;
        }
        ids.insert(id);
        expected.push_back(rowFor(id));
    }
    EXPECT_EQ(ids.size(), 2u * (turns + freeRun));
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
