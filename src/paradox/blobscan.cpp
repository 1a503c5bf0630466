#include "paradox/blobscan.h"

#include "paradox/endian.h"

#include <algorithm>

namespace paradox {

namespace {

std::string at(std::uint64_t offset)
{
    return "the block at offset " + std::to_string(offset);
}

void checkEntries(const BlobBlock& block, std::vector<std::string>& faults)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    for (std::size_t i = 0; i < block.entries.size(); ++i) {
        const SubEntry& entry = block.entries[i];
        if (!entry.used())
            continue;
        if (!entry.wellFormed())
            faults.push_back("entry " + std::to_string(i) + " of " + at(block.offset) + " is damaged");
        else
            spans.emplace_back(entry.start(), entry.end());
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second)
            faults.push_back("two entries of " + at(block.offset) + " share bytes from offset " +
                             std::to_string(spans[i].first));
    }
}

} // namespace

BlobLayout scanBlobFile(const PosixFile& blobs)
{
    BlobLayout layout;
    const std::uint64_t size = blobs.size();
    std::uint64_t offset = blobUnit;
    std::uint8_t head[subBlockPrefix];
    while (offset < size) {
        const std::size_t got = blobs.readSomeAt(offset, head);
        BlobBlock block;
        block.offset = offset;
        block.type = head[0];
        block.units = got >= 3 ? endian::le16(head + 1) : 0;
        const std::uint64_t end = offset + std::uint64_t{block.units} * blobUnit;
        if (block.units == 0 || end > size) {
            layout.faults.push_back(at(offset) + " claims " + std::to_string(block.units) + " units, which " +
                                    (block.units == 0 ? "is impossible" : "run past the end of the file"));
            layout.end = offset;
            return layout;
        }
        switch (static_cast<BlobBlockType>(block.type)) {
        case BlobBlockType::Single:
            block.length = endian::le32(head + 3);
            block.modification = endian::le16(head + 7);
            if (singleBlobHeaderSize + std::uint64_t{block.length} > end - offset)
                layout.faults.push_back(at(offset) + " holds a value longer than the block");
            break;
        case BlobBlockType::Suballocated:
            if (block.units != 1)
                layout.faults.push_back(at(offset) + " is a shared block of " + std::to_string(block.units) + " units");
            for (std::size_t i = 0; i < subEntryCount; ++i)
                block.entries[i] = SubEntry::read(head + subBlockHeaderSize + i * subEntrySize);
            checkEntries(block, layout.faults);
            break;
        case BlobBlockType::Free:
            break;
        default:
            layout.faults.push_back(at(offset) + " has the unknown type " + std::to_string(block.type));
            layout.end = offset;
            return layout;
        }
        layout.blocks.push_back(block);
        offset = end;
    }
    layout.end = offset;
    if (offset != size)
        layout.faults.push_back("the blob file has " + std::to_string(size) +
                                " bytes, which is not a whole number of blocks");
    return layout;
}

} // namespace paradox
