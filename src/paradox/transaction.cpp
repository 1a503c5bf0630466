#include "paradox/transaction.h"

#include "paradox/blobformat.h"
#include "paradox/error.h"
#include "paradox/failure.h"

#include <algorithm>
#include <system_error>

namespace paradox {

namespace {

// A reused free block's old header, all that a reader needs to skip the free run again.
constexpr std::size_t replacedBlockHeader = 16;

} // namespace

std::string readableSize(std::uint64_t bytes)
{
    constexpr const char* units[] = {"bytes", "KB", "MB", "GB", "TB"};
    std::size_t unit = 0;
    double size = static_cast<double>(bytes);
    while (size >= 1024 && unit + 1 < std::size(units)) {
        size /= 1024;
        ++unit;
    }
    const auto rounded = static_cast<std::uint64_t>(size + 0.5);
    return std::to_string(rounded) + " " + units[unit];
}

std::uint64_t bodySize(const BlockBody& body)
{
    if (const auto* source = std::get_if<FileSource>(&body))
        return source->length;
    return std::get<std::span<const std::uint8_t>>(body).size();
}

Transaction::Transaction(PosixFile& table, PosixFile* blobs, std::filesystem::path journalPath,
                         std::uint64_t blobFileLimit)
    : table_(table), blobs_(blobs), journalPath_(std::move(journalPath)), blobFileLimit_(blobFileLimit),
      tableSize_(table.size()), blobsSize_(blobs ? blobs->size() : 0)
{}

PosixFile& Transaction::fileFor(TableFile file)
{
    return file == TableFile::Table ? table_ : *blobs_;
}

std::uint64_t Transaction::originalSize(TableFile file) const
{
    return file == TableFile::Table ? tableSize_ : blobsSize_;
}

void Transaction::overwrite(TableFile file, std::uint64_t offset, Bytes bytes)
{
    const std::size_t size = bytes.size();
    writes_.push_back({file, offset, std::move(bytes), {}, 0, size});
}

void Transaction::place(std::uint64_t offset, Bytes head, BlockBody body, std::size_t padding)
{
    writes_.push_back({TableFile::Blobs, offset, std::move(head), std::move(body), padding, replacedBlockHeader});
}

std::span<const std::uint8_t> Transaction::hold(Bytes bytes)
{
    return held_.emplace_back(std::move(bytes));
}

void Transaction::checkCapacity() const
{
    std::uint64_t end = blobsSize_;
    for (const Write& write : writes_) {
        if (write.file == TableFile::Blobs)
            end = std::max(end, write.end());
    }
    const std::uint64_t limit = std::min(blobFileLimit_, addressableBlobFile);
    if (end > limit)
        throw CapacityError("The album is full: " + blobs_->path().string() + " cannot grow past " +
                            readableSize(limit) + " (it has " + readableSize(blobsSize_) + ", the change needs " +
                            readableSize(end - blobsSize_) + " more). Start a new album for further pictures.");
}

Journal Transaction::journal() const
{
    Journal journal(tableSize_, blobs_ ? std::optional(blobsSize_) : std::nullopt);
    for (const Write& write : writes_) {
        const std::uint64_t size = originalSize(write.file);
        if (write.offset >= size)
            continue; // past the old end: rolling back the file size removes it
        Bytes original(std::min<std::uint64_t>(write.journaled, size - write.offset));
        (write.file == TableFile::Table ? table_ : *blobs_).readAt(write.offset, original);
        journal.keep(write.file, write.offset, std::move(original));
    }
    return journal;
}

void Transaction::apply()
{
    static const Bytes zeros(4096, 0);
    for (const Write& write : writes_) {
        PosixFile& target = fileFor(write.file);
        std::uint64_t at = write.offset;
        std::vector<iovec> parts{{const_cast<std::uint8_t*>(write.head.data()), write.head.size()}};
        if (const auto* source = std::get_if<FileSource>(&write.body)) {
            // The file's bytes go between the header and the padding, copied file to file.
            target.writeAt(at, parts);
            at += write.head.size();
            target.copyFrom(source->file, source->offset, source->length, at);
            at += source->length;
            parts.clear();
        } else if (const auto body = std::get<std::span<const std::uint8_t>>(write.body); !body.empty()) {
            parts.push_back({const_cast<std::uint8_t*>(body.data()), body.size()});
        }
        for (std::size_t left = write.padding; left > 0;) {
            const std::size_t piece = std::min(left, zeros.size());
            parts.push_back({const_cast<std::uint8_t*>(zeros.data()), piece});
            left -= piece;
        }
        target.writeAt(at, parts);
    }
}

void Transaction::commit()
{
    if (writes_.empty())
        return;
    if (blobs_)
        checkCapacity();
    const Journal undo = journal();
    undo.write(journalPath_);
    try {
        apply();
        std::error_code error;
        if (!std::filesystem::remove(journalPath_, error))
            fail(journalPath_, "cannot complete the change by deleting the journal: " + error.message());
    } catch (...) {
        // Undo at once so this handle can go on. Should the undo fail too, the journal stays
        // behind and the next open repeats it.
        undo.rollBack(table_, blobs_);
        std::error_code ignored;
        std::filesystem::remove(journalPath_, ignored);
        throw;
    }
    writes_.clear();
}

} // namespace paradox
