#include "paradox/error.h"
#include "paradox/failure.h"
#include "paradox/fieldrules.h"
#include "paradox/filelock.h"
#include "paradox/journal.h"
#include "paradox/tableimpl.h"

#include <algorithm>
#include <system_error>

namespace paradox {

namespace {

// A header is at most 64 KB (its size is a u16); the rest of the file is data blocks.
constexpr std::size_t largestHeader = 0xFFFF;
constexpr std::size_t changeCountAt = 0x2D;

PosixFile openTableFile(const std::filesystem::path& path)
{
    auto file = PosixFile::openExisting(path);
    if (!file)
        fail(path, "the table does not exist");
    return std::move(*file);
}

} // namespace

Table::Impl::Impl(const std::filesystem::path& dbPath, const OpenOptions& options)
    : path_(pathOnDisk(dbPath)), options_(options), db_(openTableFile(path_))
{
    takeOpenLock(db_, options_.lock);
    recoverCrashedChange();
    AccessLock lock(db_, AccessLock::Mode::Read);
    load();
}

void Table::Impl::recoverCrashedChange()
{
    std::error_code error;
    if (!std::filesystem::exists(Journal::pathFor(path_), error))
        return;
    if (!db_.writable())
        fail(path_, "a change interrupted by a crash must be undone, but the table is read-only");
    // A live writer holds this lock while its journal exists; waiting for it means any
    // journal still there afterwards belongs to a writer that died.
    AccessLock lock(db_, AccessLock::Mode::Write);
    undoLeftChange();
}

bool Table::Impl::undoLeftChange()
{
    auto blobs = PosixFile::openExisting(blobPathFor(path_));
    return recoverFromJournal(path_, db_, blobs ? &*blobs : nullptr);
}

void Table::Impl::load()
{
    Bytes start(std::min<std::uint64_t>(db_.size(), largestHeader));
    start.resize(db_.readSomeAt(0, start));
    header_ = parseHeader(start, path_);
    headerBytes_.assign(start.begin(), start.begin() + header_.headerSize);
    if (!codePage_ || codePage_->number() != header_.codePage)
        codePage_ = std::make_unique<CodePage>(header_.codePage, path_);
    fields_.clear();
    fieldOffsets_.clear();
    std::size_t offset = 0;
    for (const RawField& raw : header_.fields) {
        fields_.push_back({codePage_->decode(raw.name), raw.type, raw.size});
        fieldOffsets_.push_back(offset);
        offset += raw.size;
    }
    blocks_ = DataBlocks::load(db_, header_);
    blobs_ = std::make_unique<BlobFile>(blobPathFor(path_));
    space_.reset();
    describe();
    stamp_ = currentStamp();
}

bool Table::Impl::reloadIfChanged()
{
    // Nobody else can open an exclusively opened table, let alone change it.
    if (options_.lock == Lock::Exclusive)
        return false;
    AccessLock lock(db_, AccessLock::Mode::Read);
    if (currentStamp() == stamp_)
        return false;
    load();
    return true;
}

Table::Impl::Stamp Table::Impl::currentStamp() const
{
    // Every change bumps the change count in the header; sizes and modification times catch
    // what a one-byte counter could miss after wrapping around.
    Stamp stamp;
    stamp.table = db_.stamp();
    if (const PosixFile* blobs = blobs_->file())
        stamp.blobs = blobs->stamp();
    std::uint8_t count = 0;
    db_.readSomeAt(changeCountAt, {&count, 1});
    stamp.changeCount = count;
    return stamp;
}

void Table::Impl::describe()
{
    info_.fileVersion = header_.fileVersion;
    info_.fileType = header_.fileType;
    info_.blockSizeBytes = static_cast<int>(header_.blockSize);
    info_.headerSize = header_.headerSize;
    info_.recordSize = header_.recordSize;
    info_.codePage = header_.codePage;
    info_.encrypted = header_.encrypted;
    describeCounters();
    info_.tableName = codePage_->decode(header_.tableName);
    info_.sortOrder = header_.sortOrder;
    readOnlyReason_ = whyReadOnly();
}

void Table::Impl::describeCounters()
{
    info_.declaredRecords = header_.counters.records;
    info_.blocksInUse = header_.counters.blocksInUse;
    info_.blocksInFile = header_.counters.blocksInFile;
    info_.firstBlock = header_.counters.firstBlock;
    info_.lastBlock = header_.counters.lastBlock;
    info_.firstFreeBlock = header_.counters.firstFreeBlock;
}

std::string Table::Impl::whyReadOnly() const
{
    if (!db_.writable())
        return "the table file is read-only";
    if (header_.fileType != plainTable)
        return "it is a keyed table (it has a primary index), which this program does not change";
    if (header_.fileVersion != level7Version)
        return "it was made by an older Paradox level (file version " + std::to_string(header_.fileVersion) +
               "), which this program does not change";
    bool hasBlobs = false;
    for (const FieldDef& field : fields_) {
        if (!isWritableType(field.type))
            return "its field \"" + field.name + "\" is of type " + std::string(typeName(field.type)) +
                   ", which this program does not write";
        hasBlobs = hasBlobs || isBlobType(field.type);
    }
    if (hasBlobs && !blobs_->present())
        return "its blob file " + blobs_->path().string() + " is missing";
    if (hasBlobs && !blobs_->file()->writable())
        return "its blob file is read-only";
    return {};
}

} // namespace paradox
