// npm's paradox.js, an independent reader, reads the .db side of our tables.
#include "helpers/album.h"
#include "helpers/testsupport.h"
#include "paradox/endian.h"
#include "paradox/table.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace paradox::test {
namespace {

const std::filesystem::path npmPrefix = std::filesystem::path(KADRIX_BINARY_DIR) / "npm-oracle";

// Prints the field names, then one line per record: every field tab-separated, buffers as hex.
constexpr const char* dumpScript = R"(
const ParadoxTable = require(process.argv[2]);
const table = new ParadoxTable(require("fs").readFileSync(process.argv[3]));
const fields = table.TFldInfoRecArray;
console.log(fields.map(f => f.name).join("\t"));
for (const record of table.findRecords({disableWarning: true})) {
  console.log(fields.map(f => {
    const field = record[f.name];
    if (f.getType() === 1 || Buffer.isBuffer(field.value)) return field.valueBuffer.toString("hex");
    return String(field.value);
  }).join("\t"));
}
)";

std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    return ::pclose(pipe) == 0 ? output : std::string();
}

bool installParadoxJs()
{
    if (std::filesystem::exists(npmPrefix / "node_modules" / "paradox.js" / "index.js"))
        return true;
    if (run("command -v node").empty() || run("command -v npm").empty())
        return false;
    run("npm install --prefix '" + npmPrefix.string() + "' --no-audit --no-fund --silent paradox.js@0.2.0 && echo ok");
    return std::filesystem::exists(npmPrefix / "node_modules" / "paradox.js" / "index.js");
}

std::vector<std::vector<std::string>> lines(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '\t');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

Bytes fromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// A blob field as stored in the record: the leader repeats the value's first byte, the
// pointer after it carries the value's length.
void expectBlobField(const std::string& hex, const Bytes& value)
{
    const Bytes field = fromHex(hex);
    ASSERT_EQ(field.size(), 11u);
    EXPECT_EQ(field[0], value.empty() ? 0 : value[0]);
    EXPECT_EQ(endian::le32(field.data() + 5), value.size());
}

TEST(ParadoxJs, ReadsTheRecordsOfATableWeChanged)
{
    if (!installParadoxJs())
        GTEST_SKIP() << "node, npm or the npm registry is not available to install paradox.js@0.2.0";
    ::TempDir dir;
    const auto db = dir / "album.db";
    Table::create(db, albumFields());
    std::vector<Row> rows;
    {
        Table table(db);
        for (std::int64_t id = 1; id <= 70; ++id) {
            rows.push_back(makeRow(id, 0, static_cast<std::size_t>(id * 997 % 9000)));
            rows.back().small = id % 5 == 0 ? std::nullopt : std::optional<std::int64_t>(id); // it misreads negatives
            table.append(changesFor(rows.back()));
        }
        for (std::size_t r = 1; r < rows.size(); r += 4) {
            rows[r].picture = noise(r * 300, 99);
            rows[r].name = "vervangen";
            table.update(r, changesFor(rows[r]));
        }
        // paradox.js reads blocks in file order, so deletes here leave every block in use.
        for (std::size_t r : {60u, 40u, 3u}) {
            table.remove(r);
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(r));
        }
    }
    const auto script = dir / "dump.js";
    std::ofstream(script) << dumpScript;
    const auto output = lines(run("node '" + script.string() + "' '" +
                                  (npmPrefix / "node_modules" / "paradox.js").string() + "' '" + db.string() + "'"));
    ASSERT_EQ(output.size(), rows.size() + 1);
    EXPECT_EQ(output[0], (std::vector<std::string>{"ID", "NAAM", "MEMO", "FOTO", "MARK", "KLEIN"}));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("record " + std::to_string(r));
        const auto& cells = output[r + 1];
        ASSERT_EQ(cells.size(), 6u);
        EXPECT_EQ(cells[0], std::to_string(rows[r].id));
        Bytes name = fromHex(cells[1]);
        name.erase(std::find(name.begin(), name.end(), 0), name.end());
        EXPECT_EQ(std::string(name.begin(), name.end()), rows[r].name);
        expectBlobField(cells[2], Bytes(rows[r].memo.begin(), rows[r].memo.end()));
        expectBlobField(cells[3], rows[r].picture);
        EXPECT_EQ(cells[4], rows[r].mark ? "1" : "0");
        EXPECT_EQ(cells[5], rows[r].small ? std::to_string(*rows[r].small) : "null");
    }
}

} // namespace
} // namespace paradox::test
