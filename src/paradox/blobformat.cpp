#include "paradox/blobformat.h"

#include "paradox/endian.h"

#include <algorithm>
#include <iterator>

namespace paradox {

std::string blockTypeName(std::uint8_t type)
{
    switch (static_cast<BlobBlockType>(type)) {
    case BlobBlockType::Header:
        return "the header block";
    case BlobBlockType::Single:
        return "a single-value block";
    case BlobBlockType::Suballocated:
        return "a shared block";
    case BlobBlockType::Free:
        return "a free block";
    }
    return "a block of unknown type " + std::to_string(type);
}

std::vector<std::uint8_t> newBlobFileHeader()
{
    std::vector<std::uint8_t> block(blobUnit, 0);
    block[0] = static_cast<std::uint8_t>(BlobBlockType::Header);
    endian::putLe16(block.data() + 1, 1);
    endian::putLe16(block.data() + modificationCountAt, 1);
    constexpr std::uint8_t fixed[] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00, 0x00, 0x10,
                                      0x00, 0x10, 0x00, 0x10, 0x40, 0x00, 0x00, 0x08};
    std::copy(std::begin(fixed), std::end(fixed), block.begin() + 5);
    endian::putLe16(block.data() + 0x29, 0x02A1);
    return block;
}

SubEntry SubEntry::read(const std::uint8_t* at)
{
    return {at[0], at[1], endian::le16(at + 2), at[4]};
}

SubEntry SubEntry::forValue(std::uint32_t start, std::uint32_t length, std::uint16_t modification)
{
    const std::uint32_t chunks = (length + subChunk - 1) / subChunk;
    return {static_cast<std::uint8_t>(start / subChunk), static_cast<std::uint8_t>(chunks), modification,
            static_cast<std::uint8_t>(length - (chunks - 1) * subChunk)};
}

void SubEntry::write(std::uint8_t* at) const
{
    at[0] = start16;
    at[1] = chunks;
    endian::putLe16(at + 2, modification);
    at[4] = tail;
}

} // namespace paradox
