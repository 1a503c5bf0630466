// A picture-album-shaped table and the rows a test expects in it.
#pragma once

#include "paradox/table.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace paradox::test {

struct Row {
    std::int64_t id = 0;
    std::string name;
    std::string memo;
    Bytes picture;
    bool mark = false;
    std::optional<std::int64_t> small;
};

// ID long, NAAM alpha 40, MEMO memo, FOTO binary, MARK logical, KLEIN short.
std::vector<FieldDef> albumFields();
std::vector<FieldChange> changesFor(const Row& row);
// The same changes with the picture written to file first and given as its FileContent.
std::vector<FieldChange> changesThroughFile(const Row& row, const std::filesystem::path& file);
// A row whose every field derives from id and version, so a mixed-up field shows.
Row makeRow(std::int64_t id, int version, std::size_t pictureSize);

void expectRows(const Table& table, const std::vector<Row>& rows);
// pxlib must read the same rows from the files.
void expectRowsThroughPxlib(const std::filesystem::path& db, const std::vector<Row>& rows,
                            const std::filesystem::path& scratch);

} // namespace paradox::test
