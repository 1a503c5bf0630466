// A walk over every block of a blob file, for allocating space and for structural checks.
// Blocks are found by their unit counts from the header block on; the bytes inside a block
// (a picture may contain anything) are never taken for block headers.
#pragma once

#include "paradox/blobformat.h"
#include "paradox/posixfile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace paradox {

struct BlobBlock {
    std::uint64_t offset = 0;
    std::uint8_t type = 0;
    std::uint16_t units = 0;
    std::uint32_t length = 0;                      // single-value blocks
    std::uint16_t modification = 0;                // single-value blocks
    std::array<SubEntry, subEntryCount> entries{}; // shared blocks
};

struct BlobLayout {
    std::vector<BlobBlock> blocks; // after the header block, in file order
    std::uint64_t end = 0;         // where the walk ended
    std::vector<std::string> faults;
};

BlobLayout scanBlobFile(const PosixFile& blobs);

} // namespace paradox
