// The table header: the fixed part, the field descriptors and the names that follow them.
#pragma once

#include "paradox/field.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace paradox {

// A field as the header stores it; the name is still in the table's code page.
struct RawField {
    FieldType type;
    std::uint16_t size;          // bytes in the record
    std::uint8_t descriptorSize; // the size byte of the descriptor (BCD: digits after the point)
    Bytes name;
};

// Where the data blocks are and how many records they hold.
struct BlockCounters {
    std::uint32_t records = 0;
    std::uint16_t blocksInUse = 0;
    std::uint16_t blocksInFile = 0;
    std::uint16_t firstBlock = 0;
    std::uint16_t lastBlock = 0;
    std::uint16_t firstFreeBlock = 0;
};

struct Header {
    std::uint16_t recordSize = 0;
    std::uint16_t headerSize = 0;
    std::uint8_t fileType = 0;
    std::uint32_t blockSize = 0;
    std::uint8_t fileVersion = 0;
    int codePage = 0;
    bool encrypted = false;
    std::uint8_t changeCount = 0;
    BlockCounters counters;
    std::vector<RawField> fields;
    Bytes tableName;
    std::string sortOrder;
};

inline constexpr std::uint8_t level7Version = 0x0C;
inline constexpr std::uint8_t keyedTable = 0;
inline constexpr std::uint8_t plainTable = 2;
// The fixed part that every change of the table rewrites: counters, change count, update time.
inline constexpr std::size_t changingHeaderBytes = 0x64;

// Parses and validates the start of a .db file (at least the whole header when the file has it).
Header parseHeader(std::span<const std::uint8_t> bytes, const std::filesystem::path& file);

// A complete header of an empty non-keyed level-7 table, laid out as Borland tools write it.
Bytes buildHeader(const std::vector<RawField>& fields, const Bytes& tableName, int codePage);

// Writes counters, change count and update time into a header made by parseHeader's file.
void storeCounters(std::span<std::uint8_t> header, const BlockCounters& counters, std::uint8_t changeCount,
                   std::uint8_t fileVersion);

} // namespace paradox
