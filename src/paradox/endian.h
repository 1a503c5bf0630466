// Byte-order helpers. Control structures of Paradox files are little-endian; numbers inside
// records are big-endian with the sign bit flipped so that they sort as unsigned bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace paradox::endian {

inline std::uint16_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t le64(const std::uint8_t* p)
{
    return le32(p) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}

inline void putLe16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void putLe32(std::uint8_t* p, std::uint32_t v)
{
    putLe16(p, static_cast<std::uint16_t>(v));
    putLe16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

inline void putLe64(std::uint8_t* p, std::uint64_t v)
{
    putLe32(p, static_cast<std::uint32_t>(v));
    putLe32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

inline std::uint64_t be(const std::uint8_t* p, std::size_t size)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < size; ++i)
        v = (v << 8) | p[i];
    return v;
}

inline void putBe(std::uint8_t* p, std::size_t size, std::uint64_t v)
{
    for (std::size_t i = size; i-- > 0; v >>= 8)
        p[i] = static_cast<std::uint8_t>(v);
}

} // namespace paradox::endian
