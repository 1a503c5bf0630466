#include "helpers/album.h"

#include "helpers/pxoracle.h"
#include "helpers/testsupport.h"

#include <gtest/gtest.h>

namespace paradox::test {

std::vector<FieldDef> albumFields()
{
    return {longField("ID"),     alphaField("NAAM", 40), memoField("MEMO"),
            binaryField("FOTO"), logicalField("MARK"),   shortField("KLEIN")};
}

std::vector<FieldChange> changesFor(const Row& row)
{
    auto orNull = [](auto&& value, bool empty) -> Value { return empty ? Value(Null{}) : Value(value); };
    return {{0, row.id},
            {1, orNull(row.name, row.name.empty())},
            {2, orNull(row.memo, row.memo.empty())},
            {3, orNull(row.picture, row.picture.empty())},
            {4, row.mark},
            {5, row.small ? Value(*row.small) : Value(Null{})}};
}

std::vector<FieldChange> changesThroughFile(const Row& row, const std::filesystem::path& file)
{
    writeFile(file, row.picture);
    std::vector<FieldChange> changes = changesFor(row);
    changes[3].value = FileContent{file};
    return changes;
}

Row makeRow(std::int64_t id, int version, std::size_t pictureSize)
{
    Row row;
    row.id = id;
    row.name = "Foto " + std::to_string(id) + " v" + std::to_string(version) + " – zee";
    row.memo = id % 4 == 0
                   ? ""
                   : std::string(static_cast<std::size_t>(id % 7) * 300 + 1, static_cast<char>('a' + version % 26));
    row.picture = noise(pictureSize, static_cast<std::uint32_t>(id * 1000 + version));
    row.mark = (id + version) % 2 == 0;
    if (id % 3 != 0)
        row.small = -(id % 4000) * 7;
    return row;
}

void expectRows(const Table& table, const std::vector<Row>& rows)
{
    ASSERT_EQ(table.recordCount(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("record " + std::to_string(r));
        EXPECT_EQ(table.integer(r, 0), rows[r].id);
        EXPECT_EQ(table.text(r, 1), rows[r].name);
        EXPECT_EQ(table.text(r, 2), rows[r].memo);
        EXPECT_EQ(table.blobLength(r, 3), rows[r].picture.size());
        EXPECT_EQ(table.blob(r, 3), rows[r].picture);
        EXPECT_EQ(table.logical(r, 4), rows[r].mark);
        EXPECT_EQ(table.integer(r, 5), rows[r].small);
    }
}

void expectRowsThroughPxlib(const std::filesystem::path& db, const std::vector<Row>& rows,
                            const std::filesystem::path& scratch)
{
    const OracleTable oracle = readWithPxlib(db, scratch);
    ASSERT_EQ(oracle.records.size(), rows.size());
    auto bytesOf = [](const OracleValue& value) {
        return std::holds_alternative<Bytes>(value) ? std::get<Bytes>(value) : Bytes{};
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("pxlib, record " + std::to_string(r));
        const auto& values = oracle.records[r];
        ASSERT_EQ(values.size(), 6u);
        EXPECT_EQ(std::get<long>(values[0]), rows[r].id);
        EXPECT_EQ(toUtf8(bytesOf(values[1]), 65001), rows[r].name);
        EXPECT_EQ(toUtf8(bytesOf(values[2]), 65001), rows[r].memo);
        EXPECT_EQ(sha256(bytesOf(values[3])), sha256(rows[r].picture));
        EXPECT_EQ(std::get<long>(values[4]), rows[r].mark ? 1 : 0);
        if (rows[r].small) {
            EXPECT_EQ(std::get<long>(values[5]), *rows[r].small);
        } else {
            EXPECT_TRUE(std::holds_alternative<std::monostate>(values[5]));
        }
    }
}

} // namespace paradox::test
