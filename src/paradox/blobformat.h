// Layout of the blob file (.mb): a sequence of 4 KB units grouped into blocks. Every block
// starts with its type (u8) and its length in units (u16). The first block is the header;
// a single-blob block holds one value after a 9-byte header (type, units, length u32,
// modification u16); a suballocated block (one unit) holds up to 64 small values, found
// through 5-byte entries after a 12-byte header; a free block's unit count covers its run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace paradox {

inline constexpr std::uint32_t blobUnit = 4096;
inline constexpr std::size_t singleBlobHeaderSize = 9;
inline constexpr std::size_t subBlockHeaderSize = 12;
inline constexpr std::size_t subEntryCount = 64;
inline constexpr std::size_t subEntrySize = 5;
inline constexpr std::size_t subBlockPrefix = subBlockHeaderSize + subEntryCount * subEntrySize;
inline constexpr std::uint32_t subDataStart = 0x150;
inline constexpr std::uint32_t subChunk = 16;
// Values up to this length share suballocated blocks; longer ones get a block of their own.
inline constexpr std::uint32_t largestSharedValue = 2048;
inline constexpr std::uint32_t largestBlockUnits = 0xFFFF;
inline constexpr std::size_t modificationCountAt = 3;
// Pointers hold 32-bit offsets of 4 KB-aligned blocks, so no block can start later than this.
inline constexpr std::uint64_t addressableBlobFile = 0xFFFFF000;
// Graphic values carry eight bytes of their own in front of the picture.
inline constexpr std::uint32_t graphicPrefixSize = 8;

enum class BlobBlockType : std::uint8_t { Header = 0, Single = 2, Suballocated = 3, Free = 4 };

std::string blockTypeName(std::uint8_t type);

struct SubEntry {
    std::uint8_t start16 = 0; // data offset in the block / 16; 0 for a free entry
    std::uint8_t chunks = 0;  // 16-byte chunks taken
    std::uint16_t modification = 0;
    std::uint8_t tail = 0; // bytes used in the last chunk, 1..16

    bool used() const { return start16 != 0; }
    std::uint32_t start() const { return start16 * subChunk; }
    std::uint32_t end() const { return start() + chunks * subChunk; }
    std::uint32_t length() const { return chunks == 0 ? 0 : (chunks - 1u) * subChunk + tail; }
    bool wellFormed() const
    {
        return start() >= subDataStart && chunks >= 1 && tail >= 1 && tail <= subChunk && end() <= blobUnit;
    }

    static SubEntry read(const std::uint8_t* at);
    static SubEntry forValue(std::uint32_t start, std::uint32_t length, std::uint16_t modification);
    void write(std::uint8_t* at) const;
};

// The header block of an empty blob file, with the constants Borland tools write.
std::vector<std::uint8_t> newBlobFileHeader();

inline std::uint32_t unitsFor(std::uint64_t bytes)
{
    return static_cast<std::uint32_t>((bytes + blobUnit - 1) / blobUnit);
}

} // namespace paradox
