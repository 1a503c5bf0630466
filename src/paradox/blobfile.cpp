#include "paradox/blobfile.h"

#include "paradox/blobformat.h"
#include "paradox/endian.h"
#include "paradox/failure.h"

#include <algorithm>

namespace paradox {

BlobFile::BlobFile(std::filesystem::path path) : path_(std::move(path)), file_(PosixFile::openExisting(path_))
{
    if (!file_)
        return;
    std::uint8_t head[singleBlobHeaderSize] = {};
    if (file_->readSomeAt(0, head) < sizeof head || head[0] != static_cast<std::uint8_t>(BlobBlockType::Header) ||
        endian::le16(head + 1) == 0)
        fail(path_, "not a Paradox blob file: it does not start with a header block");
    modificationCount_ = endian::le16(head + modificationCountAt);
}

void BlobFile::refuse(std::string_view what, const std::string& fault) const
{
    fail(path_, std::string(what) + " " + fault);
}

std::size_t BlobFile::readBlockHead(const BlobPointer& pointer, std::span<std::uint8_t> head,
                                   std::string_view what) const
{
    if (!file_)
        refuse(what, "is stored in the blob file, which is missing");
    const std::uint64_t offset = pointer.blockOffset();
    if (offset % blobUnit != 0 || offset == 0)
        refuse(what, "points to offset " + std::to_string(offset) + ", which is not the start of a value block");
    const std::size_t got = file_->readSomeAt(offset, head);
    if (got < singleBlobHeaderSize)
        refuse(what, "points past the end of the blob file (offset " + std::to_string(offset) + ")");
    return got;
}

std::optional<std::uint64_t> BlobFile::singleValueStart(const BlobPointer& pointer, std::string_view what) const
{
    std::uint8_t head[subBlockPrefix] = {};
    const std::size_t got = readBlockHead(pointer, head, what);
    if (head[0] != static_cast<std::uint8_t>(BlobBlockType::Single))
        return std::nullopt;
    checkSingle(pointer.blockOffset(), std::span(head, got), pointer, what);
    return pointer.blockOffset() + singleBlobHeaderSize;
}

Bytes BlobFile::read(const BlobPointer& pointer, bool graphic, std::string_view what) const
{
    std::uint8_t head[subBlockPrefix] = {};
    const std::size_t got = readBlockHead(pointer, head, what);
    const std::uint64_t offset = pointer.blockOffset();
    Bytes value = head[0] == static_cast<std::uint8_t>(BlobBlockType::Single)
                      ? readSingle(offset, std::span(head, got), pointer, what)
                      : readShared(offset, std::span(head, got), pointer, what);
    if (graphic) {
        if (value.size() < graphicPrefixSize)
            refuse(what, "is a graphic value too short for its own header");
        value.erase(value.begin(), value.begin() + graphicPrefixSize);
    }
    return value;
}

Bytes BlobFile::readSingle(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                           std::string_view what) const
{
    checkSingle(offset, head, pointer, what);
    Bytes value(pointer.length);
    file_->readAt(offset + singleBlobHeaderSize, value);
    return value;
}

void BlobFile::checkSingle(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                           std::string_view what) const
{
    if (pointer.index() != singleBlobIndex)
        refuse(what, "points to entry " + std::to_string(pointer.index()) + " of a single-value block");
    const std::uint32_t units = endian::le16(head.data() + 1);
    const std::uint32_t length = endian::le32(head.data() + 3);
    const std::uint16_t modification = endian::le16(head.data() + 7);
    if (length != pointer.length)
        refuse(what, "has the length " + std::to_string(pointer.length) + " but its block at offset " +
                         std::to_string(offset) + " holds " + std::to_string(length) + " bytes");
    if (modification != pointer.modification)
        refuse(what, "does not match the block at offset " + std::to_string(offset) + " (modification number " +
                         std::to_string(pointer.modification) + " against " + std::to_string(modification) +
                         "); the value was replaced or the file is damaged");
    if (singleBlobHeaderSize + std::uint64_t{length} > std::uint64_t{units} * blobUnit)
        refuse(what, "is longer than its block at offset " + std::to_string(offset));
    // Checked against the file size before allocating, so a hostile length cannot demand memory.
    if (offset + singleBlobHeaderSize + length > file_->size())
        refuse(what, "runs past the end of the blob file");
}

Bytes BlobFile::readShared(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                           std::string_view what) const
{
    if (head[0] != static_cast<std::uint8_t>(BlobBlockType::Suballocated))
        refuse(what, "points to " + blockTypeName(head[0]) + " at offset " + std::to_string(offset));
    if (pointer.index() >= subEntryCount || head.size() < subBlockPrefix)
        refuse(what, "points to entry " + std::to_string(pointer.index()) + " of the shared block at offset " +
                         std::to_string(offset) + ", which does not exist");
    const SubEntry entry = SubEntry::read(head.data() + subBlockHeaderSize + pointer.index() * subEntrySize);
    const std::string where =
        "entry " + std::to_string(pointer.index()) + " of the shared block at offset " + std::to_string(offset);
    if (!entry.used())
        refuse(what, "points to " + where + ", which is free");
    if (!entry.wellFormed())
        refuse(what, "points to " + where + ", which is damaged");
    if (entry.length() != pointer.length)
        refuse(what, "has the length " + std::to_string(pointer.length) + " but " + where + " holds " +
                         std::to_string(entry.length()) + " bytes");
    if (entry.modification != pointer.modification)
        refuse(what, "does not match " + where + " (modification number " + std::to_string(pointer.modification) +
                         " against " + std::to_string(entry.modification) +
                         "); the value was replaced or the file is damaged");
    Bytes value(entry.length());
    file_->readAt(offset + entry.start(), value);
    return value;
}

} // namespace paradox
