// Where new values go in the blob file and what becomes free when values go away.
//
// Built from a walk of the whole file the first time a handle stores a value. Values over
// 2 KB get a single-value block, taken from the best-fitting free block or added at the end;
// smaller ones share suballocated blocks. Freed blocks become free blocks, merged with free
// neighbours, and are reused by later changes.
#pragma once

#include "paradox/blobfile.h"
#include "paradox/blobformat.h"
#include "paradox/transaction.h"

#include <array>
#include <cstdint>
#include <map>
#include <span>

namespace paradox {

class BlobSpace {
public:
    // Error when the blob file's blocks are damaged: writing into it could make things worse.
    static BlobSpace build(BlobFile& blobs);

    // A change must store all its new values before releasing old ones: space released by a
    // change is not journaled, so that change must not write into it.
    void startChange() { releasing_ = false; }
    // Stores a value longer than the leader of its field and returns the pointer to it.
    BlobPointer store(std::span<const std::uint8_t> value, Transaction& change);
    // Stores a value still in a file, too long to share a block (over largestSharedValue bytes).
    BlobPointer store(FileSource value, Transaction& change);
    // Frees what the pointer refers to. A pointer that does not resolve owns nothing to free.
    void release(const BlobPointer& pointer, Transaction& change);

private:
    using Entries = std::array<SubEntry, subEntryCount>;
    struct Placement {
        std::uint32_t offset;
        bool atEnd;
    };
    struct Single {
        std::uint32_t units;
        BlobPointer pointer; // what a record must hold to own the block
    };

    explicit BlobSpace(const std::filesystem::path& path) : path_(path) {}
    std::uint16_t nextModification(Transaction& change);
    Placement takeUnits(std::uint32_t units, Transaction& change);
    void freeUnits(std::uint32_t offset, std::uint32_t units, Transaction& change);
    void writeFreeHeader(std::uint32_t offset, std::uint32_t units, Transaction& change);
    BlobPointer storeSingle(BlockBody value, std::uint16_t modification, Transaction& change);
    BlobPointer storeShared(std::span<const std::uint8_t> value, std::uint16_t modification, Transaction& change);
    // A gap of length bytes in a shared block's data area, or 0 when there is none.
    static std::uint32_t findGap(const Entries& entries, std::uint32_t length);

    std::filesystem::path path_;
    std::map<std::uint32_t, std::uint32_t> free_; // offset -> units of each free block
    std::map<std::uint32_t, Single> singles_;     // offset -> each single-value block
    std::map<std::uint32_t, Entries> shared_;     // offset -> entries of each shared block
    std::uint64_t end_ = 0;
    std::uint16_t modificationCount_ = 0;
    bool releasing_ = false;
};

} // namespace paradox
