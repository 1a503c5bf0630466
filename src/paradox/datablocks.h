// The data blocks of a .db file, held in memory: the record chain and the free-block list.
//
// Block n (from 1) starts at headerSize + (n - 1) * blockSize with next (u16), previous (u16)
// and (records - 1) * recordSize (i16); records follow from byte 6. Record order is chain
// order. Only the blocks of the record chain are read, and of free blocks only their link:
// a header may claim far more blocks than hold anything (the holes of a sparse file), and
// what opening costs must follow what the chain reaches, not the claim. Changes are made here
// first; the changed file ranges are then handed to a transaction, which writes them.
#pragma once

#include "paradox/header.h"
#include "paradox/posixfile.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace paradox {

struct FileChange {
    std::uint64_t offset;
    Bytes bytes;
};

class DataBlocks {
public:
    // Reads the record chain and the free list and validates them (range, loops, record counts).
    static DataBlocks load(const PosixFile& db, const Header& header);

    std::size_t recordCount() const { return firstRecord_.empty() ? 0 : firstRecord_.back(); }
    std::span<const std::uint8_t> record(std::size_t index) const;
    BlockCounters counters() const;

    void updateRecord(std::size_t index, std::span<const std::uint8_t> bytes);
    void appendRecord(std::span<const std::uint8_t> bytes);
    void removeRecord(std::size_t index);
    // The file ranges changed since the last call, with their new content.
    std::vector<FileChange> takeChanges();

    // Inconsistencies that do not stop reading: header counters, back links, lost blocks.
    std::vector<std::string> faults() const;

private:
    struct Link {
        std::uint16_t number;
        std::uint16_t records;
    };
    struct Place {
        std::size_t link;
        std::size_t slot;
    };

    struct Change {
        std::uint16_t block;
        std::size_t within;
        std::size_t length;
    };

    DataBlocks(const std::filesystem::path& file, const Header& header, std::uint64_t fileSize);
    void readChain(const PosixFile& db, std::vector<bool>& seen);
    void readFreeList(const PosixFile& db, std::vector<bool>& seen);
    void recount();
    Place locate(std::size_t index) const;
    std::size_t capacity() const { return (blockSize_ - 6) / recordSize_; }
    std::uint8_t* block(std::uint16_t number);
    const std::uint8_t* block(std::uint16_t number) const;
    std::uint64_t fileOffset(std::uint16_t number, std::size_t within = 0) const;
    std::uint64_t fileEnd() const; // where the blocks the header counts end
    void setBlockHeader(std::uint16_t number, std::uint16_t next, std::uint16_t previous, std::size_t records);
    void setNext(std::uint16_t number, std::uint16_t next);
    void setPrevious(std::uint16_t number, std::uint16_t previous);
    std::uint16_t takeBlock();
    void markChanged(std::uint16_t number, std::size_t within, std::size_t length);

    std::filesystem::path file_;
    std::uint64_t headerSize_;
    std::size_t blockSize_;
    std::size_t recordSize_;
    std::uint64_t fileSize_;
    BlockCounters declared_;
    std::uint16_t blocksInFile_;
    std::map<std::uint16_t, Bytes> blocks_; // the chain's blocks and those written since
    std::vector<Link> chain_;
    std::vector<std::size_t> firstRecord_; // per link, plus the total at the end
    std::vector<std::uint16_t> freeList_;  // head first
    std::vector<Change> changed_;
};

} // namespace paradox
