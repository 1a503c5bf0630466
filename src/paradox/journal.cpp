#include "paradox/journal.h"

#include "paradox/endian.h"
#include "paradox/failure.h"
#include "paradox/sha256.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace paradox {

namespace {

constexpr std::uint8_t magic[8] = {'K', 'D', 'X', 'J', 'R', 'N', 'L', 1};
constexpr std::uint64_t noBlobFile = ~std::uint64_t{0};
constexpr std::size_t rangeHeaderSize = 1 + 8 + 4;
constexpr std::size_t digestSize = 32;
// Journals hold a few blocks' worth of bytes; anything near this size is not one of ours.
constexpr std::uint64_t largestJournal = 256ull << 20;

void append(Bytes& out, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

void appendLe(Bytes& out, std::uint64_t value, std::size_t size)
{
    std::uint8_t buffer[8];
    endian::putLe64(buffer, value);
    append(out, buffer, size);
}

class Parser {
public:
    explicit Parser(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t size) const { return bytes_.size() - pos_ >= size; }
    std::uint64_t number(std::size_t size)
    {
        std::uint8_t buffer[8] = {};
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), size, buffer);
        pos_ += size;
        return endian::le64(buffer);
    }
    Bytes bytes(std::size_t size)
    {
        Bytes out(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + size));
        pos_ += size;
        return out;
    }
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace

Journal::Journal(std::uint64_t tableSize, std::optional<std::uint64_t> blobsSize)
    : tableSize_(tableSize), blobsSize_(blobsSize)
{}

std::filesystem::path Journal::pathFor(const std::filesystem::path& dbPath)
{
    std::filesystem::path path = dbPath;
    path += "-journal";
    return path;
}

void Journal::keep(TableFile file, std::uint64_t offset, Bytes original)
{
    ranges_.push_back({file, offset, std::move(original)});
}

void Journal::write(const std::filesystem::path& path) const
{
    Bytes out;
    append(out, magic, sizeof magic);
    appendLe(out, tableSize_, 8);
    appendLe(out, blobsSize_.value_or(noBlobFile), 8);
    appendLe(out, ranges_.size(), 4);
    for (const Range& range : ranges_) {
        out.push_back(static_cast<std::uint8_t>(range.file));
        appendLe(out, range.offset, 8);
        appendLe(out, range.original.size(), 4);
        append(out, range.original.data(), range.original.size());
    }
    const Sha256::Digest digest = Sha256::of(out);
    append(out, digest.data(), digest.size());
    PosixFile::create(path).writeAt(0, out);
}

std::optional<Journal> Journal::load(const std::filesystem::path& path)
{
    auto file = PosixFile::openExisting(path);
    if (!file)
        return std::nullopt;
    const std::uint64_t size = file->size();
    if (size < sizeof magic + 20 + digestSize || size > largestJournal)
        return std::nullopt;
    Bytes content(size);
    file->readAt(0, content);
    const auto body = std::span<const std::uint8_t>(content).first(size - digestSize);
    const Sha256::Digest digest = Sha256::of(body);
    if (!std::equal(digest.begin(), digest.end(), content.end() - digestSize) ||
        !std::equal(std::begin(magic), std::end(magic), content.begin()))
        return std::nullopt;

    Parser parser(body.subspan(sizeof magic));
    const std::uint64_t tableSize = parser.number(8);
    const std::uint64_t blobsSize = parser.number(8);
    Journal journal(tableSize, blobsSize == noBlobFile ? std::nullopt : std::optional(blobsSize));
    for (auto count = parser.number(4); count > 0; --count) {
        if (!parser.has(rangeHeaderSize))
            return std::nullopt;
        const auto target = static_cast<TableFile>(parser.number(1));
        const std::uint64_t offset = parser.number(8);
        const auto length = static_cast<std::size_t>(parser.number(4));
        if (!parser.has(length) || (target != TableFile::Table && target != TableFile::Blobs) ||
            (target == TableFile::Blobs && blobsSize == noBlobFile))
            return std::nullopt;
        journal.keep(target, offset, parser.bytes(length));
    }
    if (!parser.atEnd())
        return std::nullopt;
    return journal;
}

bool Journal::fits(const PosixFile& table, const PosixFile* blobs) const
{
    if (tableSize_ > table.size() || (blobsSize_ && blobs && *blobsSize_ > blobs->size()))
        return false;
    return std::all_of(ranges_.begin(), ranges_.end(), [&](const Range& range) {
        const std::uint64_t size = range.file == TableFile::Table ? tableSize_ : *blobsSize_;
        return range.offset <= size && range.original.size() <= size - range.offset;
    });
}

void Journal::rollBack(PosixFile& table, PosixFile* blobs) const
{
    if (blobsSize_ && !blobs)
        fail(table.path(), "a change to the table needs to be undone, but its blob file is missing");
    // Later ranges may overlap earlier ones; every range holds bytes from before the change,
    // so the order does not matter.
    for (const Range& range : ranges_) {
        PosixFile& file = range.file == TableFile::Table ? table : *blobs;
        file.writeAt(range.offset, range.original);
    }
    table.truncate(tableSize_);
    if (blobsSize_)
        blobs->truncate(*blobsSize_);
}

bool recoverFromJournal(const std::filesystem::path& dbPath, PosixFile& table, PosixFile* blobs)
{
    const std::filesystem::path path = Journal::pathFor(dbPath);
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    if (!table.writable())
        fail(table.path(), "a change interrupted by a crash must be undone, but the table is read-only");
    if (const auto journal = Journal::load(path); journal && journal->fits(table, blobs))
        journal->rollBack(table, blobs);
    if (!std::filesystem::remove(path, error) && error)
        fail(path, "cannot delete the journal: " + error.message());
    return true;
}

} // namespace paradox
