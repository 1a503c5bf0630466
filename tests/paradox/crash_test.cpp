// A writer killed at any moment leaves a table that opens, passes its check and holds every
// change that had returned, and at most the one in flight, completely or not at all.
//
// Where the kills land is made sure of, not left to timing (a loaded machine or a sanitizer
// slows the writer down by any factor): the test stops the writer, looks where it is, and
// kills it only when it is where the round aims, letting it go on otherwise. Half the rounds
// kill it at a random moment between its report that a change begins and its report that the
// change ended; the other half while the change's journal lies complete on disk, when the
// change may have written into the table and the next open must roll it back.
#include "helpers/album.h"
#include "helpers/childprocess.h"
#include "helpers/testsupport.h"
#include "paradox/journal.h"
#include "paradox/table.h"

#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace paradox::test {
namespace {

enum class Operation : std::uint8_t { Append, Update, Remove };
enum class Phase : std::uint8_t { Begin, End };

// What the writer tells the test, one fixed-size message per write so none arrives torn.
struct Message {
    Phase phase;
    Operation operation;
    std::uint32_t index;
    std::int64_t id;
    std::int32_t version;
    std::uint32_t pictureSize;
};

struct RowKey {
    std::int64_t id;
    std::int32_t version;
    std::uint32_t pictureSize;
};

constexpr std::uint32_t pictureSizes[] = {0, 1, 60, 1500, 3000, 40'000, 250'000};

void note(std::vector<RowKey>& rows, const Message& m)
{
    switch (m.operation) {
    case Operation::Append:
        rows.push_back({m.id, m.version, m.pictureSize});
        break;
    case Operation::Update:
        rows[m.index] = {m.id, m.version, m.pictureSize};
        break;
    case Operation::Remove:
        rows.erase(rows.begin() + m.index);
        break;
    }
}

void perform(Table& table, const Message& m)
{
    const Row row = makeRow(m.id, m.version, m.pictureSize);
    // Odd rows get their pictures copied from a file, as an import does.
    const auto changes =
        m.id % 2 == 0 ? changesFor(row) : changesThroughFile(row, table.path().parent_path() / "import.jpg");
    switch (m.operation) {
    case Operation::Append:
        table.append(changes);
        break;
    case Operation::Update:
        table.update(m.index, changes);
        break;
    case Operation::Remove:
        table.remove(m.index);
        break;
    }
}

void send(int fd, const Message& m)
{
    if (::write(fd, &m, sizeof m) != sizeof m)
        throw std::runtime_error("cannot report to the test");
}

[[noreturn]] void writeForever(const std::filesystem::path& db, int report, std::uint32_t seed)
{
    Table table(db);
    std::mt19937 random(seed);
    std::int64_t nextId = std::int64_t{seed} * 1000;
    for (;;) {
        const std::size_t count = table.recordCount();
        const auto choice = random() % 10;
        Message m{Phase::Begin, Operation::Remove, 0, 0, 0, 0};
        m.pictureSize = pictureSizes[random() % std::size(pictureSizes)];
        if (count == 0 || choice < 3 || (count < 30 && choice < 5)) {
            m.operation = Operation::Append;
            m.id = nextId++;
        } else if (choice < 8) {
            m.operation = Operation::Update;
            m.index = static_cast<std::uint32_t>(random() % count);
            m.id = *table.integer(m.index, 0);
            m.version = static_cast<std::int32_t>(random() % 1000 + 1);
        } else {
            m.index = static_cast<std::uint32_t>(random() % count);
        }
        send(report, m);
        perform(table, m);
        m.phase = Phase::End;
        send(report, m);
    }
}

bool holds(const Table& table, const std::vector<RowKey>& keys)
{
    if (table.recordCount() != keys.size())
        return false;
    for (std::size_t r = 0; r < keys.size(); ++r) {
        const Row row = makeRow(keys[r].id, keys[r].version, keys[r].pictureSize);
        if (table.integer(r, 0) != row.id || table.text(r, 1) != row.name || table.text(r, 2) != row.memo ||
            table.blob(r, 3) != row.picture || table.logical(r, 4) != row.mark || table.integer(r, 5) != row.small)
            return false;
    }
    return true;
}

// A writer process and its reports: which changes have returned, which one is in flight.
class WriterProcess {
public:
    WriterProcess(const std::filesystem::path& db, std::uint32_t seed, std::vector<RowKey>& rows) : rows_(rows)
    {
        pid_ = spawn([&] {
            reports_.closeRead();
            writeForever(db, reports_.writeEnd(), seed);
        });
        reports_.closeWrite();
    }
    ~WriterProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            finish(pid_);
        }
    }
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    int reports() const { return reports_.readEnd(); }
    const std::optional<Message>& inFlight() const { return inFlight_; }

    // Waits for the next report; false when the writer is gone.
    bool readNext()
    {
        Message m{};
        if (::read(reports_.readEnd(), &m, sizeof m) != sizeof m)
            return false;
        if (m.phase == Phase::Begin) {
            inFlight_ = m;
            begun_ = Clock::now();
        } else {
            note(rows_, m);
            inFlight_.reset();
            changeTime_ += Clock::now() - begun_;
            ++changes_;
        }
        return true;
    }

    // Waits until count more changes have returned; false when the writer is gone first.
    bool letChangesReturn(int count)
    {
        for (const int target = changes_ + count; changes_ < target;) {
            if (!readNext())
                return false;
        }
        return true;
    }

    // Reads the reports that have arrived without waiting; false when the writer is gone.
    bool readArrived()
    {
        pollfd ready{reports_.readEnd(), POLLIN, 0};
        while (::poll(&ready, 1, 0) > 0) {
            if (!readNext())
                return false;
        }
        return true;
    }

    // How long a change has taken, seen from here; a guess before the first one ended.
    std::chrono::microseconds typicalChange() const
    {
        if (changes_ == 0)
            return std::chrono::milliseconds(1);
        return std::chrono::duration_cast<std::chrono::microseconds>(changeTime_ / changes_);
    }

    void stop() const
    {
        ::kill(pid_, SIGSTOP);
        int status = 0;
        ::waitpid(pid_, &status, WUNTRACED);
    }
    void resume() const { ::kill(pid_, SIGCONT); }

    // Kills the writer where it stands and reads its last reports; the exit status.
    int kill()
    {
        ::kill(pid_, SIGKILL);
        const int status = finish(pid_);
        pid_ = -1;
        while (readNext()) {
        }
        return status;
    }

private:
    using Clock = std::chrono::steady_clock;

    Pipe reports_;
    pid_t pid_ = -1;
    std::vector<RowKey>& rows_;
    std::optional<Message> inFlight_;
    Clock::time_point begun_;
    Clock::duration changeTime_{};
    int changes_ = 0;
};

// Tells when a journal has been written completely: the writer closes it before it changes
// the table.
class JournalWatch {
public:
    explicit JournalWatch(const std::filesystem::path& journal)
        : name_(journal.filename().string()), fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (fd_ < 0 || ::inotify_add_watch(fd_, journal.parent_path().c_str(), IN_CLOSE_WRITE) < 0)
            throw std::runtime_error("cannot watch the folder of " + journal.string());
    }
    ~JournalWatch() { ::close(fd_); }
    JournalWatch(const JournalWatch&) = delete;
    JournalWatch& operator=(const JournalWatch&) = delete;

    int fd() const { return fd_; }

    // Reads the events that arrived; whether one of them was the journal's.
    bool journalWritten()
    {
        bool written = false;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                written = written || (event->len > 0 && name_ == event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return written;
    }

private:
    std::string name_;
    int fd_;
};

// Every attempt lets the writer make about one more change; far more than any round needs.
constexpr int attemptsPerKill = 2000;

// Stops the writer at a random moment of a change; false when no attempt found it in one.
bool stopDuringAChange(WriterProcess& writer, std::mt19937& random)
{
    for (int attempt = 0; attempt < attemptsPerKill; ++attempt) {
        while (!writer.inFlight()) {
            if (!writer.readNext())
                return false;
        }
        const auto typical = writer.typicalChange().count();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (typical + 1)));
        writer.stop();
        if (!writer.readArrived())
            return false;
        if (writer.inFlight())
            return true;
        writer.resume();
    }
    return false;
}

// Stops the writer while the journal of its change is complete on disk; false when no
// attempt found it there.
bool stopInsideACommit(WriterProcess& writer, JournalWatch& watch, const std::filesystem::path& journal,
                       std::mt19937& random)
{
    for (int attempt = 0; attempt < attemptsPerKill;) {
        pollfd ready[] = {{writer.reports(), POLLIN, 0}, {watch.fd(), POLLIN, 0}};
        ::poll(ready, 2, -1);
        if (ready[0].revents != 0 && !writer.readArrived())
            return false;
        if (ready[1].revents == 0 || !watch.journalWritten())
            continue;
        ++attempt;
        // Sometimes a little later, so kills fall all over the commit, not only at its start.
        if (random() % 2 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 200));
        writer.stop();
        if (!writer.readArrived())
            return false;
        if (Journal::load(journal))
            return true;
        writer.resume();
    }
    return false;
}

TEST(CrashSafety, AWriterKilledAtRandomMomentsNeverLosesOrTearsARecord)
{
    ::TempDir dir;
    const auto db = dir / "album.db";
    const auto journal = Journal::pathFor(db);
    Table::create(db, albumFields());
    std::vector<RowKey> rows;
    std::mt19937 random(20240501);
    int rolledBack = 0;
    constexpr int rounds = 40;
    for (int round = 0; round < rounds; ++round) {
        const bool aimAtCommit = round % 2 == 1;
        SCOPED_TRACE("round " + std::to_string(round) + (aimAtCommit ? ", inside a commit" : ", during a change"));
        JournalWatch watch(journal);
        WriterProcess writer(db, static_cast<std::uint32_t>(round + 1), rows);
        // The table grows and changes over the rounds, so kills meet every kind of change on
        // tables of many sizes.
        ASSERT_TRUE(writer.letChangesReturn(static_cast<int>(random() % 12)));
        const bool placed =
            aimAtCommit ? stopInsideACommit(writer, watch, journal, random) : stopDuringAChange(writer, random);
        ASSERT_TRUE(placed) << "the writer was never where this round aims to kill it";
        const std::optional<Message> inFlight = writer.inFlight();
        ASSERT_TRUE(inFlight.has_value());
        ASSERT_EQ(writer.kill(), -SIGKILL);

        // A complete journal means the change may have written into the table: opening must
        // undo it. Without one, the change either never touched the table or was committed.
        const bool mustRollBack = Journal::load(journal).has_value();
        rolledBack += mustRollBack ? 1 : 0;
        const Table table(db);
        ASSERT_THAT(table.check(), ::testing::IsEmpty());
        if (!holds(table, rows)) {
            ASSERT_FALSE(mustRollBack) << "the interrupted change was not rolled back";
            note(rows, *inFlight);
            ASSERT_TRUE(holds(table, rows)) << "a change that had returned is missing, or one is half made";
        }
    }
    std::cout << "[ INFO     ] " << rolledBack << " of " << rounds
              << " kills interrupted a change that the next open rolled back\n";
    EXPECT_GE(rolledBack, rounds / 2);
}

} // namespace
} // namespace paradox::test
