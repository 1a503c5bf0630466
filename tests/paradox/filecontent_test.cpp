// Pictures written straight from their files: the table ends up exactly as if the same bytes had
// come from memory, and a file that cannot be copied whole leaves the table as it was.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/journal.h"
#include "paradox/posixfile.h"
#include "paradox/table.h"
#include "paradox/transaction.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace paradox::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Empty, inside the 1-byte leader, shared blocks up to their limit, then blocks of their own.
constexpr std::size_t pictureSizes[] = {0, 1, 100, 2048, 2049, 3 << 20};

// The .db with its update time, which every change sets to the current second, zeroed.
Bytes tableWithoutTime(const std::filesystem::path& db)
{
    Bytes bytes = readFile(db);
    std::fill_n(bytes.begin() + 0x60, 4, std::uint8_t{0});
    return bytes;
}

class FromFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table::create(db, albumFields());
        Table table(db);
        for (std::int64_t id = 0; id < 2; ++id) {
            rows.push_back(makeRow(id, 0, 5000));
            table.append(changesFor(rows.back()));
        }
    }

    void keepFiles()
    {
        tableBytes = readFile(db);
        blobBytes = readFile(Table::blobPathFor(db));
    }

    void expectFilesKept() const
    {
        EXPECT_EQ(readFile(db), tableBytes);
        EXPECT_EQ(readFile(Table::blobPathFor(db)), blobBytes);
        EXPECT_FALSE(std::filesystem::exists(Journal::pathFor(db)));
    }

    // Each change must fail with an Error saying all of what, leaving the files as they were.
    void expectRefused(Table& table, const std::vector<FieldChange>& changes, const std::vector<std::string>& what)
    {
        keepFiles();
        for (const bool append : {true, false}) {
            SCOPED_TRACE(append ? "append" : "update");
            try {
                if (append)
                    table.append(changes);
                else
                    table.update(1, changes);
                ADD_FAILURE() << "the change was made";
            } catch (const Error& error) {
                for (const std::string& part : what)
                    EXPECT_THAT(error.what(), HasSubstr(part));
            }
            expectFilesKept();
            expectRows(table, rows);
        }
        EXPECT_THAT(table.check(), IsEmpty());
    }

    ::TempDir dir;
    std::filesystem::path db = dir / "album.db";
    std::vector<Row> rows;
    Bytes tableBytes;
    Bytes blobBytes;
};

TEST_F(FromFiles, StoreExactlyWhatTheSameBytesFromMemoryStore)
{
    std::filesystem::create_directory(dir / "memory");
    const auto fromMemory = copyTable(db, dir / "memory");
    const auto picture = dir / "picture.jpg";
    {
        Table files(db);
        Table memory(fromMemory);
        auto both = [&](auto change) {
            change(files, true);
            change(memory, false);
        };
        auto changes = [&](const Row& row, bool throughFile) {
            return throughFile ? changesThroughFile(row, picture) : changesFor(row);
        };
        for (const std::size_t size : pictureSizes) {
            rows.push_back(makeRow(static_cast<std::int64_t>(rows.size()), 0, size));
            both([&](Table& table, bool throughFile) { table.append(changes(rows.back(), throughFile)); });
        }
        // Every picture replaced by one of another size, twice: blocks are freed and taken again.
        for (int version = 1; version <= 2; ++version) {
            for (std::size_t r = 0; r < rows.size(); ++r) {
                rows[r] = makeRow(rows[r].id, version,
                                  pictureSizes[(r + 2 * static_cast<std::size_t>(version)) % std::size(pictureSizes)]);
                both([&](Table& table, bool throughFile) { table.update(r, changes(rows[r], throughFile)); });
            }
        }
        both([](Table& table, bool) { table.remove(3); });
        rows.erase(rows.begin() + 3);

        expectRows(files, rows);
        for (std::size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(files.isNull(r, 3), rows[r].picture.empty()) << "record " << r;
        EXPECT_THAT(files.check(), IsEmpty());
    }
    EXPECT_EQ(readFile(Table::blobPathFor(db)), readFile(Table::blobPathFor(fromMemory)));
    EXPECT_EQ(tableWithoutTime(db), tableWithoutTime(fromMemory));
    expectRows(Table(db), rows);
    expectRowsThroughPxlib(db, rows, dir.path());
}

TEST_F(FromFiles, AValueInABlockOfItsOwnIsCopiedFromBlobFileToBlobFile)
{
    {
        Table table(db);
        for (const std::size_t size : pictureSizes) {
            rows.push_back(makeRow(static_cast<std::int64_t>(rows.size()), 0, size));
            table.append(changesFor(rows.back()));
        }
    }
    std::filesystem::create_directory(dir / "copy");
    const auto target = dir / "copy" / "album.db";
    Table::create(target, albumFields());
    {
        const Table source(db);
        Table copy(target);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::optional<FileContent> stored = source.blobInFile(r, 3);
            EXPECT_EQ(stored.has_value(), rows[r].picture.size() > 2048) << "record " << r;
            std::vector<FieldChange> changes = changesFor(rows[r]);
            if (stored) {
                EXPECT_EQ(stored->path, Table::blobPathFor(db));
                EXPECT_EQ(stored->length, rows[r].picture.size());
                changes[3].value = *stored;
            }
            copy.append(changes);
            EXPECT_FALSE(source.blobInFile(r, 2)) << "a memo is text in the table's code page, not bytes to copy";
        }
        expectRows(copy, rows);
        EXPECT_THAT(copy.check(), IsEmpty());
    }
    const Table shared(db, {Lock::Shared});
    EXPECT_FALSE(shared.blobInFile(rows.size() - 1, 3)) << "another handle could reuse the block meanwhile";
}

TEST_F(FromFiles, RefuseAStretchBeyondTheEndOfItsFile)
{
    Table table(db);
    const auto picture = dir / "picture.jpg";
    writeFile(picture, noise(6000, 3));
    expectRefused(table, {{3, FileContent{picture, 5000, 1001}}}, {picture.string(), "6000 bytes"});
    expectRefused(table, {{3, FileContent{picture, 6001, std::nullopt}}}, {picture.string(), "6000 bytes"});
}

TEST(FromFilesWithLeaders, TheRecordRepeatsTheStartOfTheFileAsItDoesForBytes)
{
    for (const int leader : {0, 40}) {
        SCOPED_TRACE("leader of " + std::to_string(leader) + " bytes");
        ::TempDir dir;
        const std::vector<FieldDef> fields = {longField("ID"),
                                              {"FOTO", FieldType::Binary, static_cast<std::uint16_t>(leader + 10)}};
        const auto files = dir / "files" / "pictures.db";
        const auto memory = dir / "memory" / "pictures.db";
        for (const auto& db : {files, memory}) {
            std::filesystem::create_directory(db.parent_path());
            Table::create(db, fields);
        }
        {
            Table fromFiles(files);
            Table fromMemory(memory);
            for (const std::size_t size : {0, 1, 39, 40, 41, 2049, 5000}) {
                const Bytes picture = noise(size, static_cast<std::uint32_t>(size));
                writeFile(dir / "picture.jpg", picture);
                const auto id = static_cast<std::int64_t>(size);
                const std::size_t record = fromFiles.append({{0, id}, {1, FileContent{dir / "picture.jpg"}}});
                fromMemory.append({{0, id}, {1, picture}});
                EXPECT_EQ(fromFiles.blob(record, 1), picture) << size << " bytes";
            }
        }
        EXPECT_EQ(tableWithoutTime(files), tableWithoutTime(memory));
        EXPECT_EQ(readFile(Table::blobPathFor(files)), readFile(Table::blobPathFor(memory)));
    }
}

TEST_F(FromFiles, RefuseWhatIsNotARegularFileBeforeWritingAnything)
{
    Table table(db);
    const auto folder = dir / "folder";
    std::filesystem::create_directory(folder);
    const auto pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Nobody writes to the pipe: opening it must not wait for a writer.
    const std::vector<std::pair<std::filesystem::path, std::string>> refused = {
        {dir / "missing.jpg", "No such file"},
        {folder, "folder"},
        {pipe, "not a regular file"},
    };
    for (const auto& [path, why] : refused) {
        SCOPED_TRACE(path.string());
        expectRefused(table, {{3, FileContent{path}}}, {path.string(), why});
        // Refused as a whole change, even after a value that went into the blob file.
        expectRefused(table, {{2, std::string(3000, 'm')}, {3, FileContent{path}}}, {path.string()});
    }
}

TEST_F(FromFiles, RefuseFieldsAndSizesThatCannotTakeAFile)
{
    Table table(db);
    const auto picture = dir / "picture.jpg";
    writeFile(picture, noise(3000, 1));
    for (const int field : {0, 1, 2, 4}) {
        SCOPED_TRACE("field " + std::to_string(field));
        expectRefused(table, {{field, FileContent{picture}}}, {"cannot take a file value"});
    }
    // A sparse file larger than a single blob block can be, without writing it.
    const auto huge = dir / "huge.jpg";
    writeFile(huge, {});
    std::filesystem::resize_file(huge, 0xFFFFull * 4096);
    expectRefused(table, {{3, FileContent{huge}}}, {"larger than a blob file can hold"});
}

TEST_F(FromFiles, AFileShorterThanItsSizeUndoesTheChange)
{
    // Kernel attribute files claim a whole page but hold a few bytes: the copy finds the file
    // ending early, as it would a picture cut short while it is being imported.
    const std::filesystem::path claimsMore = "/sys/devices/system/cpu/online";
    std::error_code error;
    if (std::filesystem::file_size(claimsMore, error) <= 2048 || error)
        GTEST_SKIP() << claimsMore << " is not there to stand in for a file that shrinks";
    Table table(db);
    expectRefused(table, {{3, FileContent{claimsMore}}}, {claimsMore.string(), "ended after"});
    // The handle goes on writing.
    rows.push_back(makeRow(2, 0, 10'000));
    table.append(changesThroughFile(rows.back(), dir / "picture.jpg"));
    expectRows(table, rows);
}

TEST_F(FromFiles, ACopyThatRunsShortUndoesEveryWriteOfItsCommit)
{
    keepFiles();
    const auto picture = dir / "picture.jpg";
    writeFile(picture, noise(10'000, 3));
    {
        PosixFile table = PosixFile::open(db, PosixFile::Access::ReadWrite);
        PosixFile blobs = PosixFile::open(Table::blobPathFor(db), PosixFile::Access::ReadWrite);
        Transaction change(table, &blobs, Journal::pathFor(db), OpenOptions{}.blobFileLimit);
        change.overwrite(TableFile::Table, 0, Bytes(0x60, 0xEE));
        change.overwrite(TableFile::Blobs, 0, Bytes(100, 0xEE));
        // As if the picture had shrunk by one byte since its size was taken.
        change.place(blobBytes.size(), Bytes(9, 0xEE), FileSource{PosixFile::openRegular(picture), 10'001}, 0);
        EXPECT_THROW(change.commit(), Error);
    }
    expectFilesKept();
    const Table table(db);
    expectRows(table, rows);
    EXPECT_THAT(table.check(), IsEmpty());
}

// A folder on another file system than the temporary folder, when there is one: between file
// systems the kernel mostly refuses to copy file to file, and the buffered copy takes over.
class OtherFileSystem {
public:
    OtherFileSystem()
    {
        std::string pattern = "/dev/shm/kadrix-test-XXXXXX";
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~OtherFileSystem()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    OtherFileSystem(const OtherFileSystem&) = delete;
    OtherFileSystem& operator=(const OtherFileSystem&) = delete;

    bool differsFrom(const std::filesystem::path& folder) const
    {
        struct stat here {};
        struct stat there {};
        return !path_.empty() && ::stat(path_.c_str(), &here) == 0 && ::stat(folder.c_str(), &there) == 0 &&
               here.st_dev != there.st_dev;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class FileCopy : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam() && !other.differsFrom(dir.path()))
            GTEST_SKIP() << "no other file system in /dev/shm";
        source = (GetParam() ? other.path() : dir.path()) / "picture.jpg";
    }

    ::TempDir dir;
    OtherFileSystem other;
    std::filesystem::path source;
    std::filesystem::path target = dir / "target";
};

TEST_P(FileCopy, WritesTheBytesFromTheSourceOffsetAtTheTargetOffset)
{
    // Over three times the buffered copy's buffer, ending inside it.
    const Bytes content = noise((3 << 20) + 12'345, 5);
    for (const std::size_t from : {std::size_t{0}, std::size_t{777}}) {
        const std::size_t length = content.size() - 1000;
        writeFile(source, content);
        writeFile(target, Bytes(8192, 0xAA));
        PosixFile::open(target, PosixFile::Access::ReadWrite)
            .copyFrom(PosixFile::openRegular(source), from, length, 5000);
        Bytes expected(5000 + length, 0xAA);
        std::copy_n(content.begin() + static_cast<std::ptrdiff_t>(from), length, expected.begin() + 5000);
        EXPECT_EQ(readFile(target), expected) << "from " << from;
    }
}

TEST_P(FileCopy, RefusesASourceThatEndsEarly)
{
    writeFile(source, noise(5000, 6));
    writeFile(target, {});
    PosixFile out = PosixFile::open(target, PosixFile::Access::ReadWrite);
    try {
        out.copyFrom(PosixFile::openRegular(source), 0, 5001, 0);
        ADD_FAILURE() << "the copy went past the end of its source";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), AllOf(HasSubstr(source.string()), HasSubstr("ended after 5000 of its 5001")));
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, FileCopy, ::testing::Values(false, true),
                         [](const auto& source) { return source.param ? "OtherFileSystem" : "SameFileSystem"; });

} // namespace
} // namespace paradox::test
