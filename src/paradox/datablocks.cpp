#include "paradox/datablocks.h"

#include "paradox/endian.h"
#include "paradox/failure.h"

#include <algorithm>
#include <cstring>

namespace paradox {

namespace {

constexpr std::size_t blockHeaderSize = 6;

std::string blockName(std::uint16_t number)
{
    return "data block " + std::to_string(number);
}

} // namespace

DataBlocks::DataBlocks(const std::filesystem::path& file, const Header& header, std::uint64_t fileSize)
    : file_(file), headerSize_(header.headerSize), blockSize_(header.blockSize), recordSize_(header.recordSize),
      fileSize_(fileSize), declared_(header.counters)
{}

DataBlocks DataBlocks::load(const PosixFile& db, const Header& header)
{
    DataBlocks blocks(db.path(), header, db.size());
    const std::uint64_t needed = blocks.headerSize_ + std::uint64_t{header.counters.blocksInFile} * blocks.blockSize_;
    if (needed > blocks.fileSize_)
        fail(db.path(), "the file is truncated: the header counts " + std::to_string(header.counters.blocksInFile) +
                            " data blocks, but the file holds only " +
                            std::to_string((blocks.fileSize_ - blocks.headerSize_) / blocks.blockSize_));
    blocks.data_.resize(needed - blocks.headerSize_);
    db.readAt(blocks.headerSize_, blocks.data_);
    std::vector<bool> seen(header.counters.blocksInFile + 1u, false);
    blocks.readChain(seen);
    blocks.readFreeList(seen);
    blocks.recount();
    return blocks;
}

void DataBlocks::readChain(std::vector<bool>& seen)
{
    const std::size_t blocks = seen.size() - 1;
    for (std::uint16_t number = declared_.firstBlock; number != 0;) {
        if (number > blocks)
            fail(file_, "the record chain refers to " + blockName(number) + ", but the file has only " +
                            std::to_string(blocks));
        if (seen[number])
            fail(file_, "the record chain loops back to " + blockName(number));
        seen[number] = true;
        const std::uint8_t* b = block(number);
        // Signed: an empty block says minus one record.
        const long used = static_cast<std::int16_t>(endian::le16(b + 4));
        const auto size = static_cast<long>(recordSize_);
        const long records = (used + size) / size;
        if (used < -size || (used + size) % size != 0 || records > static_cast<long>(capacity()))
            fail(file_,
                 blockName(number) + " declares an impossible amount of record data (" + std::to_string(used) + ")");
        chain_.push_back({number, static_cast<std::uint16_t>(records)});
        number = endian::le16(b);
    }
}

void DataBlocks::readFreeList(std::vector<bool>& seen)
{
    const std::size_t blocks = seen.size() - 1;
    for (std::uint16_t number = declared_.firstFreeBlock; number != 0; number = endian::le16(block(number))) {
        if (number > blocks)
            fail(file_, "the free-block list refers to " + blockName(number) + ", but the file has only " +
                            std::to_string(blocks));
        if (seen[number])
            fail(file_, blockName(number) + " is reached twice through the record chain and the free-block list");
        seen[number] = true;
        freeList_.push_back(number);
    }
}

void DataBlocks::recount()
{
    firstRecord_.assign(1, 0);
    for (const Link& link : chain_)
        firstRecord_.push_back(firstRecord_.back() + link.records);
}

DataBlocks::Place DataBlocks::locate(std::size_t index) const
{
    const auto after = std::upper_bound(firstRecord_.begin(), firstRecord_.end() - 1, index);
    const auto link = static_cast<std::size_t>(after - firstRecord_.begin()) - 1;
    return {link, index - firstRecord_[link]};
}

std::uint8_t* DataBlocks::block(std::uint16_t number)
{
    return data_.data() + std::size_t{number - 1u} * blockSize_;
}

const std::uint8_t* DataBlocks::block(std::uint16_t number) const
{
    return data_.data() + std::size_t{number - 1u} * blockSize_;
}

std::uint64_t DataBlocks::fileOffset(std::uint16_t number, std::size_t within) const
{
    return headerSize_ + std::uint64_t{number - 1u} * blockSize_ + within;
}

std::span<const std::uint8_t> DataBlocks::record(std::size_t index) const
{
    const Place place = locate(index);
    return {block(chain_[place.link].number) + blockHeaderSize + place.slot * recordSize_, recordSize_};
}

BlockCounters DataBlocks::counters() const
{
    BlockCounters c;
    c.records = static_cast<std::uint32_t>(recordCount());
    c.blocksInUse = static_cast<std::uint16_t>(chain_.size());
    c.blocksInFile = static_cast<std::uint16_t>(data_.size() / blockSize_);
    c.firstBlock = chain_.empty() ? 0 : chain_.front().number;
    c.lastBlock = chain_.empty() ? 0 : chain_.back().number;
    c.firstFreeBlock = freeList_.empty() ? 0 : freeList_.front();
    return c;
}

void DataBlocks::markChanged(std::uint16_t number, std::size_t within, std::size_t length)
{
    changed_.emplace_back(fileOffset(number, within), length);
}

void DataBlocks::setBlockHeader(std::uint16_t number, std::uint16_t next, std::uint16_t previous, std::size_t records)
{
    std::uint8_t* b = block(number);
    endian::putLe16(b, next);
    endian::putLe16(b + 2, previous);
    const long used = (static_cast<long>(records) - 1) * static_cast<long>(recordSize_);
    endian::putLe16(b + 4, static_cast<std::uint16_t>(static_cast<std::int16_t>(used)));
    markChanged(number, 0, blockHeaderSize);
}

void DataBlocks::setNext(std::uint16_t number, std::uint16_t next)
{
    endian::putLe16(block(number), next);
    markChanged(number, 0, 2);
}

void DataBlocks::setPrevious(std::uint16_t number, std::uint16_t previous)
{
    endian::putLe16(block(number) + 2, previous);
    markChanged(number, 2, 2);
}

void DataBlocks::updateRecord(std::size_t index, std::span<const std::uint8_t> bytes)
{
    const Place place = locate(index);
    const std::size_t within = blockHeaderSize + place.slot * recordSize_;
    std::memcpy(block(chain_[place.link].number) + within, bytes.data(), recordSize_);
    markChanged(chain_[place.link].number, within, recordSize_);
}

std::uint16_t DataBlocks::takeBlock()
{
    if (!freeList_.empty()) {
        const std::uint16_t number = freeList_.front();
        freeList_.erase(freeList_.begin());
        return number;
    }
    if (data_.size() / blockSize_ >= 0xFFFF)
        fail(file_, "the table cannot grow past 65535 data blocks");
    data_.resize(data_.size() + blockSize_, 0);
    return static_cast<std::uint16_t>(data_.size() / blockSize_);
}

void DataBlocks::appendRecord(std::span<const std::uint8_t> bytes)
{
    if (chain_.empty() || chain_.back().records >= capacity()) {
        const std::uint16_t previous = chain_.empty() ? 0 : chain_.back().number;
        const std::uint16_t number = takeBlock();
        // A reused block keeps stale records; clear it so the file shows only live data.
        std::fill_n(block(number), blockSize_, std::uint8_t{0});
        markChanged(number, 0, blockSize_);
        if (previous != 0)
            setNext(previous, number);
        chain_.push_back({number, 0});
        firstRecord_.push_back(firstRecord_.back());
    }
    Link& last = chain_.back();
    const std::size_t within = blockHeaderSize + std::size_t{last.records} * recordSize_;
    std::memcpy(block(last.number) + within, bytes.data(), recordSize_);
    markChanged(last.number, within, recordSize_);
    ++last.records;
    setBlockHeader(last.number, 0, chain_.size() > 1 ? chain_[chain_.size() - 2].number : 0, last.records);
    ++firstRecord_.back();
}

void DataBlocks::removeRecord(std::size_t index)
{
    const Place place = locate(index);
    Link& link = chain_[place.link];
    std::uint8_t* records = block(link.number) + blockHeaderSize;
    const std::size_t count = link.records;
    std::memmove(records + place.slot * recordSize_, records + (place.slot + 1) * recordSize_,
                 (count - place.slot - 1) * recordSize_);
    std::fill_n(records + (count - 1) * recordSize_, recordSize_, std::uint8_t{0});
    markChanged(link.number, blockHeaderSize + place.slot * recordSize_, (count - place.slot) * recordSize_);
    --link.records;

    const std::uint16_t previous = place.link > 0 ? chain_[place.link - 1].number : 0;
    const std::uint16_t next = place.link + 1 < chain_.size() ? chain_[place.link + 1].number : 0;
    if (link.records > 0) {
        setBlockHeader(link.number, next, previous, link.records);
    } else {
        // An emptied block leaves the chain and heads the free list.
        if (previous != 0)
            setNext(previous, next);
        if (next != 0)
            setPrevious(next, previous);
        setBlockHeader(link.number, freeList_.empty() ? 0 : freeList_.front(), 0, 0);
        freeList_.insert(freeList_.begin(), link.number);
        chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(place.link));
    }
    recount();
}

std::vector<FileChange> DataBlocks::takeChanges()
{
    std::vector<FileChange> changes;
    changes.reserve(changed_.size());
    for (const auto& [offset, length] : changed_) {
        const std::uint8_t* from = data_.data() + (offset - headerSize_);
        changes.push_back({offset, Bytes(from, from + length)});
    }
    changed_.clear();
    declared_ = counters();
    fileSize_ = std::max(fileSize_, headerSize_ + data_.size());
    return changes;
}

std::vector<std::string> DataBlocks::faults() const
{
    std::vector<std::string> faults;
    const BlockCounters actual = counters();
    auto compare = [&](std::uint32_t declared, std::uint32_t found, const std::string& what) {
        if (declared != found)
            faults.push_back("the header says " + std::to_string(declared) + " for " + what + ", the blocks show " +
                             std::to_string(found));
    };
    compare(declared_.records, actual.records, "the number of records");
    compare(declared_.blocksInUse, actual.blocksInUse, "the number of blocks in use");
    compare(declared_.lastBlock, actual.lastBlock, "the last block of the chain");
    for (std::size_t i = 0; i < chain_.size(); ++i) {
        const std::uint16_t expected = i == 0 ? 0 : chain_[i - 1].number;
        const std::uint16_t found = endian::le16(block(chain_[i].number) + 2);
        if (found != expected)
            faults.push_back(blockName(chain_[i].number) + " links back to block " + std::to_string(found) +
                             " instead of " + std::to_string(expected));
    }
    std::vector<bool> reached(actual.blocksInFile + 1u, false);
    for (const Link& link : chain_)
        reached[link.number] = true;
    for (std::uint16_t number : freeList_)
        reached[number] = true;
    for (std::size_t number = 1; number < reached.size(); ++number) {
        if (!reached[number])
            faults.push_back(blockName(static_cast<std::uint16_t>(number)) +
                             " is neither in the record chain nor in the free-block list");
    }
    const std::uint64_t expectedSize = headerSize_ + data_.size();
    if (fileSize_ != expectedSize)
        faults.push_back("the file has " + std::to_string(fileSize_) + " bytes, its blocks take " +
                         std::to_string(expectedSize));
    return faults;
}

} // namespace paradox
