// One crash-safe change of a table: collects the writes to the .db and .mb, then journals the
// bytes they overwrite, makes them and commits by deleting the journal (see journal.h).
#pragma once

#include "paradox/journal.h"
#include "paradox/posixfile.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <span>
#include <variant>
#include <vector>

namespace paradox {

// length bytes of a file from offset, as the value of a new blob block: at commit the kernel
// copies them from the file into the blob file, so they never pass through memory.
struct FileSource {
    PosixFile file;
    std::uint64_t length;
    std::uint64_t offset = 0; // where the bytes start in the file
};

// What follows a new block's header: bytes in memory, or bytes still in a file.
using BlockBody = std::variant<std::span<const std::uint8_t>, FileSource>;
std::uint64_t bodySize(const BlockBody& body);

class Transaction {
public:
    // blobs may be null for a table without a blob file.
    Transaction(PosixFile& table, PosixFile* blobs, std::filesystem::path journalPath, std::uint64_t blobFileLimit);

    // Overwrites bytes that may be in use; their old content is journaled.
    void overwrite(TableFile file, std::uint64_t offset, Bytes bytes);
    // Writes a new block of the blob file where nothing is in use: free space or past the end.
    // Only the block header it replaces is journaled, so a large value costs no extra copy.
    // Bytes of the body must stay alive until commit; padding zero bytes follow it.
    void place(std::uint64_t offset, Bytes head, BlockBody body, std::size_t padding);
    // Keeps bytes alive until the transaction ends, for values made only to be written.
    std::span<const std::uint8_t> hold(Bytes bytes);

    // Refuses with CapacityError when the blob file would outgrow its limit, before writing.
    void commit();

private:
    struct Write {
        TableFile file;
        std::uint64_t offset;
        Bytes head;
        BlockBody body;
        std::size_t padding;
        std::size_t journaled; // how many leading bytes need their old content kept
        std::uint64_t end() const { return offset + head.size() + bodySize(body) + padding; }
    };

    PosixFile& fileFor(TableFile file);
    std::uint64_t originalSize(TableFile file) const;
    void checkCapacity() const;
    Journal journal() const;
    void apply();

    PosixFile& table_;
    PosixFile* blobs_;
    std::filesystem::path journalPath_;
    std::uint64_t blobFileLimit_;
    std::uint64_t tableSize_;
    std::uint64_t blobsSize_;
    std::vector<Write> writes_;
    std::deque<Bytes> held_;
};

// "4 GB", "640 KB": how error messages show a file size.
std::string readableSize(std::uint64_t bytes);

} // namespace paradox
