// libFuzzer target for the Paradox table files: opens whatever table the input carries (see
// paradox_input.h), reads every value, checks it and, when it is writable, changes it.
// Only paradox::Error may come out; anything else is a finding.
#include "paradox/error.h"
#include "paradox/table.h"
#include "paradox_input.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace {

// One folder per fuzzing process, reused for every input and removed at exit.
class WorkDir {
public:
    WorkDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kadrix-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            abort();
        path_ = pattern;
    }
    ~WorkDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void readEverything(const paradox::Table& table)
{
    for (std::size_t r = 0; r < table.recordCount(); ++r) {
        for (std::size_t f = 0; f < table.fields().size(); ++f) {
            const int field = static_cast<int>(f);
            try {
                table.value(r, field);
                table.isNull(r, field);
                if (paradox::isBlobType(table.fields()[f].type))
                    table.blobLength(r, field);
            } catch (const paradox::Error&) {
                // A damaged value; the others must still read.
            }
        }
    }
    table.check();
}

paradox::Value sampleFor(paradox::FieldType type)
{
    switch (type) {
    case paradox::FieldType::Alpha:
        return std::string("fuzz \xC3\xA9");
    case paradox::FieldType::Short:
    case paradox::FieldType::Long:
        return std::int64_t{7};
    case paradox::FieldType::Logical:
        return true;
    // One value shares a block, the other gets its own.
    case paradox::FieldType::Memo:
        return std::string(3000, 'm');
    case paradox::FieldType::Binary:
        return paradox::Bytes(300, 0x5A);
    default:
        return paradox::Null{};
    }
}

void changeEverything(paradox::Table& table)
{
    std::vector<paradox::FieldChange> values, empties;
    for (std::size_t f = 0; f < table.fields().size(); ++f) {
        values.push_back({static_cast<int>(f), sampleFor(table.fields()[f].type)});
        empties.push_back({static_cast<int>(f), paradox::Null{}});
    }
    const std::size_t added = table.append(values);
    table.update(0, empties);
    table.update(added, values);
    table.remove(0);
    readEverything(table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const WorkDir work;
    const auto files = paradox::fuzz::splitTableFiles({data, size});
    if (!files)
        return 0;
    const auto db = work.path() / "fuzz.db";
    const auto blobs = work.path() / "fuzz.mb";
    writeFile(db, files->table);
    std::error_code ignored;
    std::filesystem::remove(work.path() / "fuzz.db-journal", ignored);
    if (files->blobs.empty())
        std::filesystem::remove(blobs, ignored);
    else
        writeFile(blobs, files->blobs);
    try {
        paradox::OpenOptions options;
        options.blobFileLimit = 1 << 20;
        paradox::Table table(db, options);
        readEverything(table);
        if (table.writable())
            changeEverything(table);
    } catch (const paradox::Error&) {
        // Refusing a damaged table is the expected outcome for most inputs.
    }
    return 0;
}
