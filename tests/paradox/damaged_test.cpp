// Damaged or hostile files give an Error naming the file and the fault, never a crash, a hang
// or a read out of bounds. Also leaves the fuzzer its seed corpus.
#include "helpers/album.h"
#include "helpers/childprocess.h"
#include "helpers/testsupport.h"
#include "paradox/endian.h"
#include "paradox/error.h"
#include "paradox/table.h"
#include "paradox_input.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

namespace paradox::test {
namespace {

using ::testing::HasSubstr;

// Opens the table, reads every value and runs the check; the first Error's message, the first
// fault the check found, or an empty string for a sound table.
std::string firstFault(const std::filesystem::path& db)
{
    try {
        const Table table(db);
        for (std::size_t r = 0; r < table.recordCount(); ++r)
            for (std::size_t f = 0; f < table.fields().size(); ++f)
                table.value(r, static_cast<int>(f));
        const auto faults = table.check();
        return faults.empty() ? std::string() : "check: " + faults.front();
    } catch (const Error& error) {
        return error.what();
    }
}

enum class File { Table, Blobs };

struct Damage {
    const char* name;
    File damaged;
    std::function<void(Bytes&)> apply;
    const char* expected; // a word the message must contain
    File named;           // the file the message names
};

void putLe16(Bytes& b, std::size_t at, std::uint16_t v)
{
    endian::putLe16(b.data() + at, v);
}
void putLe32(Bytes& b, std::size_t at, std::uint32_t v)
{
    endian::putLe32(b.data() + at, v);
}

constexpr std::size_t pictureSizes[] = {0, 1, 100, 2049, 6000};

// Offsets in the table made by SetUp: header 2 KB, blocks of 2 KB, records of 69 bytes with
// FOTO's pointer at record offset 56; record 0 holds a 20 KB picture, record 1 a 100-byte one.
constexpr std::size_t block1 = 0x800, block2 = 0x1000, record0 = block1 + 6, record1 = record0 + 69;
constexpr std::size_t pictureLocation = 56, pictureLength = 60;

const Damage damages[] = {
    {"header cut short", File::Table, [](Bytes& b) { b.resize(0x30); }, "short", File::Table},
    {"header size past the end", File::Table, [](Bytes& b) { putLe16(b, 2, 0xF000); }, "header size", File::Table},
    {"record size wrong", File::Table, [](Bytes& b) { putLe16(b, 0, 70); }, "record size", File::Table},
    {"more blocks than the file holds", File::Table, [](Bytes& b) { putLe16(b, 0x0C, 500); }, "truncated", File::Table},
    {"first block out of range", File::Table, [](Bytes& b) { putLe16(b, 0x0E, 9); }, "block 9", File::Table},
    {"chain loops back", File::Table, [](Bytes& b) { putLe16(b, block2, 1); }, "loops", File::Table},
    {"free list into the chain", File::Table, [](Bytes& b) { putLe16(b, 0x4D, 2); }, "twice", File::Table},
    {"impossible record count", File::Table, [](Bytes& b) { putLe16(b, block1 + 4, 0x7FFF); }, "impossible",
     File::Table},
    {"field count huge", File::Table, [](Bytes& b) { putLe16(b, 0x21, 0xFFFF); }, "fields", File::Table},
    {"field size impossible", File::Table, [](Bytes& b) { b[0x78 + 1] = 3; }, "size", File::Table},
    {"unknown code page", File::Table, [](Bytes& b) { putLe16(b, 0x6A, 12345); }, "code page", File::Table},
    {"encrypted", File::Table, [](Bytes& b) { putLe32(b, 0x5C, 0x12345678); }, "encrypted", File::Table},
    {"unknown file version", File::Table, [](Bytes& b) { b[0x39] = 0x2F; }, "version", File::Table},
    {"pointer past the blob file", File::Table, [](Bytes& b) { putLe32(b, record0 + pictureLocation, 0x7FFFF0FF); },
     "past the end", File::Blobs},
    {"huge blob length", File::Table, [](Bytes& b) { putLe32(b, record0 + pictureLength, 0xFFFFFFF0); }, "length",
     File::Blobs},
    {"inline value longer than its leader", File::Table, [](Bytes& b) { putLe32(b, record1 + pictureLocation, 0); },
     "record", File::Table},
    {"pointer into the middle of a block", File::Table, [](Bytes& b) { b[record0 + pictureLocation + 1] |= 0x04; },
     "offset", File::Blobs},
    {"blob file without header block", File::Blobs, [](Bytes& b) { b[0] = 2; }, "blob file", File::Blobs},
    {"single block claims a huge value", File::Blobs, [](Bytes& b) { putLe32(b, 0x1003, 0x7FFFFFFF); }, "length",
     File::Blobs},
    {"blob file cut inside a value", File::Blobs, [](Bytes& b) { b.resize(0x1000 + 6000); }, "end", File::Blobs},
    {"shared entry damaged", File::Blobs, [](Bytes& b) { b[0x6000 + 12 + 63 * 5 + 1] = 0xFF; }, "damaged", File::Blobs},
    {"shared entry freed", File::Blobs, [](Bytes& b) { b[0x6000 + 12 + 63 * 5] = 0; }, "free", File::Blobs},
    {"block of unknown type", File::Blobs, [](Bytes& b) { b[0x6000] = 9; }, "type", File::Blobs},
};

class DamagedTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table::create(db, albumFields());
        Table table(db);
        const std::size_t sizes[] = {20'000, 100, 0, 3000};
        for (std::int64_t id = 0; id < 40; ++id)
            table.append(changesFor(makeRow(id, 0, sizes[id % 4])));
        ASSERT_EQ(table.info().blocksInFile, 2);
        ASSERT_EQ(table.blob(1, 3).size(), 100u);
        tableBytes = readFile(db);
        blobBytes = readFile(blobs);
    }

    ::TempDir dir;
    std::filesystem::path db = dir / "album.db";
    std::filesystem::path blobs = Table::blobPathFor(db);
    Bytes tableBytes;
    Bytes blobBytes;
};

TEST_F(DamagedTable, EveryKindOfDamageIsReportedWithTheFileAndTheFault)
{
    ASSERT_EQ(firstFault(db), "");
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        Bytes table = tableBytes, blobFile = blobBytes;
        damage.apply(damage.damaged == File::Blobs ? blobFile : table);
        writeFile(db, table);
        writeFile(blobs, blobFile);
        const std::string fault = firstFault(db);
        EXPECT_THAT(fault, HasSubstr(damage.expected));
        EXPECT_THAT(fault, HasSubstr((damage.named == File::Blobs ? blobs : db).string() + ": "));
    }
}

TEST_F(DamagedTable, RandomlyCorruptedFilesNeverCrash)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        Bytes table = tableBytes, blobFile = blobBytes;
        Bytes& target = round % 3 == 0 ? blobFile : table;
        const std::size_t span = round % 2 == 0 ? 0x100 : target.size();
        for (auto flips = random() % 8 + 1; flips > 0; --flips)
            target[random() % span] = static_cast<std::uint8_t>(random());
        if (round % 7 == 0)
            target.resize(random() % target.size());
        writeFile(db, table);
        writeFile(blobs, blobFile);
        firstFault(db); // anything but an Error escapes and fails the test
    }
}

// A header may claim 65535 blocks of 32 KB, 2 GB, in a sparse file that takes 4 KB of disk:
// the holes read as zeros. Opening it must cost what the record chain reaches, not what the
// header claims.
Bytes hugeClaimingHeader()
{
    ::TempDir dir;
    const auto db = dir / "huge.db";
    Table::create(db, albumFields());
    Bytes start = readFile(db);
    start[0x05] = 32;
    putLe16(start, 0x0C, 0xFFFF); // blocks in the file
    putLe16(start, 0x0E, 1);      // the record chain starts in the first block
    putLe16(start, 0x4D, 2);      // and the free list in the second
    start.resize(4096, 0);
    return start;
}

TEST(HugeClaims, ASparseTableClaimingTwoGigabytesOpensWithoutReadingItsHoles)
{
    ::TempDir dir;
    const auto db = dir / "sparse.db";
    writeFile(db, hugeClaimingHeader());
    std::filesystem::resize_file(db, 0x800 + 0xFFFFull * 32 * 1024);
    rusage usage{};
    // In a child process, so that its peak memory is its own.
    const pid_t child = spawn([&] {
        const Table table(db);
        if (table.recordCount() != 1 || !table.isNull(0, 0))
            throw std::runtime_error("the one empty record of the first block was not read");
        // Tens of thousands of unused blocks are one fault, not one line each.
        const auto faults = table.check();
        if (faults.empty() || faults.size() > 8)
            throw std::runtime_error("the check found " + std::to_string(faults.size()) + " faults");
    });
    ASSERT_EQ(finish(child, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "peak memory in KB";
}

// The fuzzer starts from these: our own tables and the small Borland ones.
TEST_F(DamagedTable, LeavesTheFuzzerItsSeedCorpus)
{
    const auto corpus = std::filesystem::path(KADRIX_BINARY_DIR) / "fuzz-corpus" / "paradox";
    std::filesystem::create_directories(corpus);
    auto seed = [&](const std::string& name, const Bytes& table, const Bytes& blobFile) {
        writeFile(corpus / (name + ".seed"), fuzz::joinTableFiles(table, blobFile));
    };
    // Small enough for the fuzzer's input limit (256 KB).
    const auto small = dir / "seed.db";
    Table::create(small, albumFields());
    {
        Table table(small);
        for (std::int64_t id = 0; id < 12; ++id)
            table.append(changesFor(makeRow(id, 0, pictureSizes[id % std::size(pictureSizes)])));
        seed("album", readFile(small), readFile(Table::blobPathFor(small)));
        for (int i = 0; i < 5; ++i)
            table.remove(0);
        table.update(0, {{3, noise(5000, 3)}});
    }
    seed("album-after-changes", readFile(small), readFile(Table::blobPathFor(small)));
    seed("huge-header-claims", hugeClaimingHeader(), {});
    if (std::filesystem::exists(fixtureDir())) {
        for (const char* name : {"rparadox/TypSammlung.DB", "rparadox/empty.db", "paradoxdriver/fields/memo.db",
                                 "paradoxdriver/fields/fmemo.db", "paradoxdriver/fields/bytes.db",
                                 "paradoxdriver/fields/graphic240.db", "paradoxdriver/db/HERCULES.DB"}) {
            const auto path = fixture(name);
            const auto blobPath = Table::blobPathFor(path);
            seed(path.stem().string(), readFile(path),
                 std::filesystem::exists(blobPath) ? readFile(blobPath) : Bytes{});
        }
    }
    EXPECT_GE(std::distance(std::filesystem::directory_iterator(corpus), {}), 2);
}

} // namespace
} // namespace paradox::test
