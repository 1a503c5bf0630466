// How one fuzzer input carries a whole table: a little-endian u32 with the length of the .db
// part, the .db bytes, then the .mb bytes (none means the table has no blob file).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace paradox::fuzz {

struct TableFiles {
    std::span<const std::uint8_t> table;
    std::span<const std::uint8_t> blobs;
};

inline std::vector<std::uint8_t> joinTableFiles(std::span<const std::uint8_t> table,
                                                std::span<const std::uint8_t> blobs)
{
    std::vector<std::uint8_t> input;
    input.reserve(4 + table.size() + blobs.size());
    const auto size = static_cast<std::uint32_t>(table.size());
    for (int i = 0; i < 4; ++i)
        input.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    input.insert(input.end(), table.begin(), table.end());
    input.insert(input.end(), blobs.begin(), blobs.end());
    return input;
}

inline std::optional<TableFiles> splitTableFiles(std::span<const std::uint8_t> input)
{
    if (input.size() < 4)
        return std::nullopt;
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i)
        size = (size << 8) | input[static_cast<std::size_t>(i)];
    if (size > input.size() - 4)
        return std::nullopt;
    return TableFiles{input.subspan(4, size), input.subspan(4 + size)};
}

} // namespace paradox::fuzz
