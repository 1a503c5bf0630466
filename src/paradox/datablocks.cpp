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
      fileSize_(fileSize), declared_(header.counters), blocksInFile_(header.counters.blocksInFile)
{}

DataBlocks DataBlocks::load(const PosixFile& db, const Header& header)
{
    DataBlocks blocks(db.path(), header, db.size());
    if (blocks.fileEnd() > blocks.fileSize_)
        fail(db.path(), "the file is truncated: the header counts " + std::to_string(header.counters.blocksInFile) +
                            " data blocks, but the file holds only " +
                            std::to_string((blocks.fileSize_ - blocks.headerSize_) / blocks.blockSize_));
    std::vector<bool> seen(blocks.blocksInFile_ + 1u, false);
    blocks.readChain(db, seen);
    blocks.readFreeList(db, seen);
    blocks.recount();
    return blocks;
}

void DataBlocks::readChain(const PosixFile& db, std::vector<bool>& seen)
{
    for (std::uint16_t number = declared_.firstBlock; number != 0;) {
        if (number > blocksInFile_)
            fail(file_, "the record chain refers to " + blockName(number) + ", but the file has only " +
                            std::to_string(blocksInFile_));
        if (seen[number])
            fail(file_, "the record chain loops back to " + blockName(number));
        seen[number] = true;
        Bytes& content = blocks_[number];
        content.resize(blockSize_);
        db.readAt(fileOffset(number), content);
        const std::uint8_t* b = content.data();
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

void DataBlocks::readFreeList(const PosixFile& db, std::vector<bool>& seen)
{
    std::uint8_t link[2];
    for (std::uint16_t number = declared_.firstFreeBlock; number != 0; number = endian::le16(link)) {
        if (number > blocksInFile_)
            fail(file_, "the free-block list refers to " + blockName(number) + ", but the file has only " +
                            std::to_string(blocksInFile_));
        if (seen[number])
            fail(file_, blockName(number) + " is reached twice through the record chain and the free-block list");
        seen[number] = true;
        freeList_.push_back(number);
        db.readAt(fileOffset(number), link);
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
    return blocks_.at(number).data();
}

const std::uint8_t* DataBlocks::block(std::uint16_t number) const
{
    return blocks_.at(number).data();
}

std::uint64_t DataBlocks::fileEnd() const
{
    return headerSize_ + std::uint64_t{blocksInFile_} * blockSize_;
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
    c.blocksInFile = blocksInFile_;
    c.firstBlock = chain_.empty() ? 0 : chain_.front().number;
    c.lastBlock = chain_.empty() ? 0 : chain_.back().number;
    c.firstFreeBlock = freeList_.empty() ? 0 : freeList_.front();
    return c;
}

void DataBlocks::markChanged(std::uint16_t number, std::size_t within, std::size_t length)
{
    changed_.push_back({number, within, length});
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
    std::uint16_t number = 0;
    if (!freeList_.empty()) {
        number = freeList_.front();
        freeList_.erase(freeList_.begin());
    } else {
        if (blocksInFile_ >= 0xFFFF)
            fail(file_, "the table cannot grow past 65535 data blocks");
        number = ++blocksInFile_;
    }
    // A reused block keeps stale records on disk; its new content starts clear so the file
    // shows only live data.
    blocks_[number].assign(blockSize_, 0);
    return number;
}

void DataBlocks::appendRecord(std::span<const std::uint8_t> bytes)
{
    if (chain_.empty() || chain_.back().records >= capacity()) {
        const std::uint16_t previous = chain_.empty() ? 0 : chain_.back().number;
        const std::uint16_t number = takeBlock();
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
    for (const Change& change : changed_) {
        const std::uint8_t* from = block(change.block) + change.within;
        changes.push_back({fileOffset(change.block, change.within), Bytes(from, from + change.length)});
    }
    changed_.clear();
    declared_ = counters();
    fileSize_ = std::max(fileSize_, fileEnd());
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
    // A damaged header can leave thousands of blocks unreached: one line per run of them.
    for (std::size_t first = 1; first < reached.size();) {
        if (reached[first]) {
            ++first;
            continue;
        }
        std::size_t last = first;
        while (last + 1 < reached.size() && !reached[last + 1])
            ++last;
        faults.push_back((first == last
                              ? blockName(static_cast<std::uint16_t>(first)) + " is"
                              : "data blocks " + std::to_string(first) + " to " + std::to_string(last) + " are") +
                         " neither in the record chain nor in the free-block list");
        first = last + 1;
    }
    if (fileSize_ != fileEnd())
        faults.push_back("the file has " + std::to_string(fileSize_) + " bytes, its blocks take " +
                         std::to_string(fileEnd()));
    return faults;
}

} // namespace paradox
