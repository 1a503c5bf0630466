#include "paradox/blobformat.h"
#include "paradox/blobpointer.h"
#include "paradox/blobscan.h"
#include "paradox/filelock.h"
#include "paradox/tableimpl.h"

#include <map>
#include <set>

namespace paradox {

namespace {

class BlobReferences {
public:
    explicit BlobReferences(const BlobLayout& layout)
    {
        for (const BlobBlock& block : layout.blocks)
            blocks_[block.offset] = &block;
    }

    // Why a pointer does not resolve, or empty when it does.
    std::string resolve(const BlobPointer& pointer)
    {
        const auto found = blocks_.find(pointer.blockOffset());
        if (found == blocks_.end())
            return "points to offset " + std::to_string(pointer.blockOffset()) + ", where no blob block starts";
        const BlobBlock& block = *found->second;
        std::uint32_t length = 0;
        std::uint16_t modification = 0;
        if (pointer.index() == singleBlobIndex) {
            if (block.type != static_cast<std::uint8_t>(BlobBlockType::Single))
                return "points to " + blockTypeName(block.type) + " at offset " + std::to_string(block.offset);
            length = block.length;
            modification = block.modification;
        } else {
            if (block.type != static_cast<std::uint8_t>(BlobBlockType::Suballocated) ||
                pointer.index() >= subEntryCount)
                return "points to entry " + std::to_string(pointer.index()) + " of " + blockTypeName(block.type) +
                       " at offset " + std::to_string(block.offset);
            const SubEntry& entry = block.entries[pointer.index()];
            if (!entry.used() || !entry.wellFormed())
                return "points to entry " + std::to_string(pointer.index()) + " of the shared block at offset " +
                       std::to_string(block.offset) + ", which is free or damaged";
            length = entry.length();
            modification = entry.modification;
        }
        if (length != pointer.length || modification != pointer.modification)
            return "does not match its block at offset " + std::to_string(block.offset) + " (length " +
                   std::to_string(pointer.length) + " against " + std::to_string(length) + ", modification " +
                   std::to_string(pointer.modification) + " against " + std::to_string(modification) + ")";
        if (!referenced_.insert(pointer.location).second)
            return "shares its stored value with another field";
        return {};
    }

    // Values stored in the blob file that no record refers to.
    std::vector<std::string> unreferenced() const
    {
        std::vector<std::string> faults;
        for (const auto& [offset, block] : blocks_) {
            if (block->type == static_cast<std::uint8_t>(BlobBlockType::Single) &&
                !referenced_.contains(static_cast<std::uint32_t>(offset) | singleBlobIndex))
                faults.push_back("the value block at offset " + std::to_string(offset) + " belongs to no record");
            if (block->type != static_cast<std::uint8_t>(BlobBlockType::Suballocated))
                continue;
            for (std::size_t i = 0; i < subEntryCount; ++i) {
                if (block->entries[i].used() && !referenced_.contains(static_cast<std::uint32_t>(offset | i)))
                    faults.push_back("entry " + std::to_string(i) + " of the shared block at offset " +
                                     std::to_string(offset) + " belongs to no record");
            }
        }
        return faults;
    }

private:
    std::map<std::uint64_t, const BlobBlock*> blocks_;
    std::set<std::uint32_t> referenced_;
};

} // namespace

std::vector<std::string> Table::Impl::check() const
{
    std::vector<std::string> faults;
    auto inTable = [&](const std::string& fault) { faults.push_back(path_.string() + ": " + fault); };
    auto inBlobs = [&](const std::string& fault) { faults.push_back(blobs_->path().string() + ": " + fault); };
    for (const std::string& fault : blocks_->faults())
        inTable(fault);
    if (!blobs_->present()) {
        for (std::size_t record = 0; record < blocks_->recordCount(); ++record) {
            for (std::size_t field = 0; field < fields_.size(); ++field) {
                if (isBlobType(fields_[field].type) &&
                    !BlobPointer::read(fieldBytes(record, static_cast<int>(field))).inRecord())
                    inTable(describeField(record, static_cast<int>(field)) +
                            " is stored in the blob file, which is missing");
            }
        }
        return faults;
    }
    std::optional<AccessLock> lock;
    if (options_.lock == Lock::Shared)
        lock.emplace(db_, AccessLock::Mode::Read);
    const BlobLayout layout = scanBlobFile(*blobs_->file());
    for (const std::string& fault : layout.faults)
        inBlobs(fault);
    BlobReferences references(layout);
    for (std::size_t record = 0; record < blocks_->recordCount(); ++record) {
        for (std::size_t field = 0; field < fields_.size(); ++field) {
            if (!isBlobType(fields_[field].type))
                continue;
            const auto bytes = fieldBytes(record, static_cast<int>(field));
            const BlobPointer pointer = BlobPointer::read(bytes);
            std::string fault;
            if (pointer.empty())
                continue;
            if (pointer.inRecord())
                fault =
                    pointer.length > bytes.size() - blobPointerSize ? "is longer than the part kept in the record" : "";
            else
                fault = references.resolve(pointer);
            // The pointer is in the record; what it fails to find is named by its offset.
            if (!fault.empty())
                inTable(describeField(record, static_cast<int>(field)) + " " + fault);
        }
    }
    // A walk that stopped early has not seen every block, so unreferenced ones are unknown.
    if (layout.faults.empty()) {
        for (const std::string& fault : references.unreferenced())
            inBlobs(fault);
    }
    return faults;
}

} // namespace paradox
