// ptable: what its check says about a damaged table must lead the user to the file and the
// record, numbered as its dump numbers them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "helpers/testsupport.h"
#include "paradox/endian.h"
#include "paradox/table.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

struct Outcome {
    int status;
    std::string output;
};

Outcome ptable(const std::string& command, const fs::path& table)
{
    const std::string line =
        "'" KADRIX_BINARY_DIR "/tools/ptable/ptable' " + command + " '" + table.string() + "' 2>&1";
    Outcome run{-1, {}};
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.output.append(buffer.data(), n);
    run.status = ::pclose(pipe);
    return run;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        result.push_back(text.substr(start, end - start));
    }
    return result;
}

} // namespace

TEST(PtableCheck, NamesTheBlobFileForItsFaultsAndNumbersRecordsAsTheDumpDoes)
{
    TempDir dir;
    const fs::path db = dir / "album.db";
    paradox::Table::create(db, {paradox::alphaField("NAAM", 20), paradox::binaryField("FOTO")});
    std::size_t headerSize = 0;
    {
        paradox::Table table(db);
        for (const char* name : {"first", "second", "third"})
            table.append({{0, std::string(name)}, {1, paradox::test::noise(5000, 1)}});
        headerSize = static_cast<std::size_t>(table.info().headerSize);
    }
    // Record 2's picture pointer claims one byte more than its block holds: the record's fault,
    // and its block in the blob file then belongs to no record.
    paradox::Bytes bytes = paradox::test::readFile(db);
    constexpr std::size_t recordSize = 20 + 11, lengthInRecord = 20 + 1 + 4;
    std::uint8_t* length = bytes.data() + headerSize + 6 + 1 * recordSize + lengthInRecord;
    paradox::endian::putLe32(length, paradox::endian::le32(length) + 1);
    paradox::test::writeFile(db, bytes);

    const Outcome dump = ptable("dump", db);
    EXPECT_THAT(dump.output, HasSubstr("record 2\n  NAAM: \"second\"\n  FOTO: (unreadable: "));
    EXPECT_THAT(dump.output, HasSubstr("\"FOTO\" in record 2 "));

    const Outcome check = ptable("check", db);
    EXPECT_NE(check.status, 0);
    const auto faults = lines(check.output);
    ASSERT_EQ(faults.size(), 2u) << check.output;
    EXPECT_THAT(faults[0], ::testing::StartsWith(db.string() + ": the value of field \"FOTO\" in record 2 "));
    EXPECT_THAT(faults[1], ::testing::StartsWith((dir / "album.mb").string() + ": the value block at offset "));
    EXPECT_THAT(faults[1], HasSubstr("belongs to no record"));
}
