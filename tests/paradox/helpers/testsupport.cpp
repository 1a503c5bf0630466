#include "helpers/testsupport.h"

#include "paradox/sha256.h"
#include "paradox/table.h"

#include <fstream>
#include <iterator>
#include <random>

namespace paradox::test {

std::filesystem::path fixtureDir()
{
    return std::filesystem::path(KADRIX_SHARED_DIR) / "fixtures" / "paradox" / "borland";
}

std::filesystem::path fixture(const std::string& relative)
{
    return fixtureDir() / relative;
}

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes noise(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

std::filesystem::path copyTable(const std::filesystem::path& db, const std::filesystem::path& folder)
{
    const auto target = folder / db.filename();
    std::filesystem::copy_file(db, target, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    const auto blobs = Table::blobPathFor(db);
    if (std::filesystem::exists(blobs)) {
        const auto blobTarget = folder / blobs.filename();
        std::filesystem::copy_file(blobs, blobTarget, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(blobTarget, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    return target;
}

std::string sha256(const Bytes& bytes)
{
    return Sha256::hex(Sha256::of(bytes));
}

} // namespace paradox::test
