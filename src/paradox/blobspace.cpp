#include "paradox/blobspace.h"

#include "paradox/blobscan.h"
#include "paradox/endian.h"
#include "paradox/failure.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace paradox {

namespace {

Bytes le16Bytes(std::uint16_t value)
{
    Bytes bytes(2);
    endian::putLe16(bytes.data(), value);
    return bytes;
}

std::uint64_t entryOffset(std::uint32_t block, std::size_t index)
{
    return block + subBlockHeaderSize + index * subEntrySize;
}

} // namespace

BlobSpace BlobSpace::build(BlobFile& blobs)
{
    const BlobLayout layout = scanBlobFile(*blobs.file());
    if (!layout.faults.empty())
        fail(blobs.path(), "the blob file is damaged, so nothing can be stored in it: " + layout.faults.front());
    BlobSpace space(blobs.path());
    for (const BlobBlock& block : layout.blocks) {
        const auto offset = static_cast<std::uint32_t>(block.offset);
        switch (static_cast<BlobBlockType>(block.type)) {
        case BlobBlockType::Free:
            space.free_[offset] = block.units;
            break;
        case BlobBlockType::Single:
            space.singles_[offset] = {block.units, {offset | singleBlobIndex, block.length, block.modification}};
            break;
        default:
            space.shared_[offset] = block.entries;
            break;
        }
    }
    space.end_ = layout.end;
    space.modificationCount_ = blobs.modificationCount();
    return space;
}

std::uint16_t BlobSpace::nextModification(Transaction& change)
{
    if (releasing_)
        throw std::logic_error("a change stored a blob after releasing one");
    modificationCount_ = modificationCount_ == 0xFFFF ? 1 : static_cast<std::uint16_t>(modificationCount_ + 1);
    change.overwrite(TableFile::Blobs, modificationCountAt, le16Bytes(modificationCount_));
    return modificationCount_;
}

void BlobSpace::writeFreeHeader(std::uint32_t offset, std::uint32_t units, Transaction& change)
{
    Bytes header{static_cast<std::uint8_t>(BlobBlockType::Free), 0, 0};
    endian::putLe16(header.data() + 1, static_cast<std::uint16_t>(units));
    change.overwrite(TableFile::Blobs, offset, std::move(header));
}

BlobSpace::Placement BlobSpace::takeUnits(std::uint32_t units, Transaction& change)
{
    auto best = free_.end();
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        if (it->second >= units && (best == free_.end() || it->second < best->second))
            best = it;
    }
    if (best == free_.end()) {
        // Offsets past 4 GB cannot be stored; the capacity check refuses such a change before
        // anything is written, so wrapping here never reaches the file.
        const auto offset = static_cast<std::uint32_t>(end_);
        end_ += std::uint64_t{units} * blobUnit;
        return {offset, true};
    }
    const auto [offset, available] = *best;
    free_.erase(best);
    if (available > units) {
        const std::uint32_t rest = offset + units * blobUnit;
        free_[rest] = available - units;
        writeFreeHeader(rest, available - units, change);
    }
    return {offset, false};
}

void BlobSpace::freeUnits(std::uint32_t offset, std::uint32_t units, Transaction& change)
{
    auto next = free_.find(offset + units * blobUnit);
    if (next != free_.end() && units + next->second <= largestBlockUnits) {
        units += next->second;
        free_.erase(next);
    }
    auto after = free_.lower_bound(offset);
    if (after != free_.begin()) {
        auto previous = std::prev(after);
        if (previous->first + previous->second * blobUnit == offset && previous->second + units <= largestBlockUnits) {
            offset = previous->first;
            units += previous->second;
            free_.erase(previous);
        }
    }
    free_[offset] = units;
    writeFreeHeader(offset, units, change);
}

BlobPointer BlobSpace::store(std::span<const std::uint8_t> value, Transaction& change)
{
    const std::uint16_t modification = nextModification(change);
    return value.size() > largestSharedValue ? storeSingle(value, modification, change)
                                             : storeShared(value, modification, change);
}

BlobPointer BlobSpace::store(FileSource value, Transaction& change)
{
    if (value.length <= largestSharedValue)
        throw std::logic_error("a value small enough to share a block was to be stored from its file");
    const std::uint16_t modification = nextModification(change);
    return storeSingle(std::move(value), modification, change);
}

BlobPointer BlobSpace::storeSingle(BlockBody value, std::uint16_t modification, Transaction& change)
{
    const std::uint64_t length = bodySize(value);
    const std::uint64_t blockBytes = singleBlobHeaderSize + length;
    // Compared before counting units: a file can claim more units than 32 bits hold.
    if (blockBytes > std::uint64_t{largestBlockUnits} * blobUnit)
        fail(path_, "a value of " + std::to_string(length) + " bytes is larger than a blob file can hold (" +
                        std::to_string(std::uint64_t{largestBlockUnits} * blobUnit - singleBlobHeaderSize) + " bytes)");
    const std::uint32_t units = unitsFor(blockBytes);
    const Placement place = takeUnits(units, change);
    Bytes head(singleBlobHeaderSize);
    head[0] = static_cast<std::uint8_t>(BlobBlockType::Single);
    endian::putLe16(head.data() + 1, static_cast<std::uint16_t>(units));
    endian::putLe32(head.data() + 3, static_cast<std::uint32_t>(length));
    endian::putLe16(head.data() + 7, modification);
    // At the end of the file the block is padded so the file stays a whole number of units.
    const std::size_t padding = place.atEnd ? std::size_t{units} * blobUnit - blockBytes : 0;
    change.place(place.offset, std::move(head), std::move(value), padding);
    const BlobPointer pointer{place.offset | singleBlobIndex, static_cast<std::uint32_t>(length), modification};
    singles_[place.offset] = {units, pointer};
    return pointer;
}

std::uint32_t BlobSpace::findGap(const Entries& entries, std::uint32_t length)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> taken;
    for (const SubEntry& entry : entries) {
        if (entry.used())
            taken.emplace_back(entry.start(), entry.end());
    }
    std::sort(taken.begin(), taken.end());
    const std::uint32_t needed = (length + subChunk - 1) / subChunk * subChunk;
    std::uint32_t candidate = subDataStart;
    for (const auto& [start, end] : taken) {
        if (start >= candidate + needed)
            break;
        candidate = std::max(candidate, end);
    }
    return candidate + needed <= blobUnit ? candidate : 0;
}

BlobPointer BlobSpace::storeShared(std::span<const std::uint8_t> value, std::uint16_t modification, Transaction& change)
{
    const auto length = static_cast<std::uint32_t>(value.size());
    for (auto& [offset, entries] : shared_) {
        // Borland tools hand out entries from the last one down.
        std::size_t index = subEntryCount;
        while (index > 0 && entries[index - 1].used())
            --index;
        const std::uint32_t gap = index > 0 ? findGap(entries, length) : 0;
        if (gap == 0)
            continue;
        --index;
        entries[index] = SubEntry::forValue(gap, length, modification);
        Bytes entry(subEntrySize);
        entries[index].write(entry.data());
        change.overwrite(TableFile::Blobs, entryOffset(offset, index), std::move(entry));
        change.overwrite(TableFile::Blobs, offset + gap, Bytes(value.begin(), value.end()));
        return {offset | static_cast<std::uint32_t>(index), length, modification};
    }

    const std::uint32_t offset = takeUnits(1, change).offset;
    Entries entries{};
    const std::size_t index = subEntryCount - 1;
    entries[index] = SubEntry::forValue(subDataStart, length, modification);
    Bytes block(blobUnit, 0);
    block[0] = static_cast<std::uint8_t>(BlobBlockType::Suballocated);
    endian::putLe16(block.data() + 1, 1);
    entries[index].write(block.data() + entryOffset(0, index));
    std::copy(value.begin(), value.end(), block.begin() + subDataStart);
    change.place(offset, std::move(block), {}, 0);
    shared_[offset] = entries;
    return {offset | static_cast<std::uint32_t>(index), length, modification};
}

void BlobSpace::release(const BlobPointer& pointer, Transaction& change)
{
    releasing_ = true;
    if (pointer.empty() || pointer.inRecord())
        return;
    const std::uint32_t offset = pointer.blockOffset();
    if (pointer.index() == singleBlobIndex) {
        const auto single = singles_.find(offset);
        if (single == singles_.end() || single->second.pointer != pointer)
            return;
        const std::uint32_t units = single->second.units;
        singles_.erase(single);
        freeUnits(offset, units, change);
        return;
    }
    const auto shared = shared_.find(offset);
    if (shared == shared_.end() || pointer.index() >= subEntryCount)
        return;
    Entries& entries = shared->second;
    SubEntry& entry = entries[pointer.index()];
    if (!entry.used() || entry.length() != pointer.length || entry.modification != pointer.modification)
        return;
    entry = {};
    change.overwrite(TableFile::Blobs, entryOffset(offset, pointer.index()), Bytes(subEntrySize, 0));
    if (std::none_of(entries.begin(), entries.end(), [](const SubEntry& e) { return e.used(); })) {
        shared_.erase(shared);
        freeUnits(offset, 1, change);
    }
}

} // namespace paradox
