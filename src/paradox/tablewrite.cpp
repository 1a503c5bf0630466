#include "paradox/blobformat.h"
#include "paradox/blobpointer.h"
#include "paradox/failure.h"
#include "paradox/filelock.h"
#include "paradox/journal.h"
#include "paradox/recordcodec.h"
#include "paradox/tableimpl.h"

#include <algorithm>

namespace paradox {

template <typename Body> void Table::Impl::change(std::optional<std::size_t> record, Body body)
{
    if (!readOnlyReason_.empty())
        fail(path_, "the table cannot be changed: " + readOnlyReason_);
    AccessLock lock(db_, AccessLock::Mode::Write);
    // A journal seen under the write lock belongs to no live writer: another handle died
    // mid-change after this one opened, or this handle's own rollback failed. Writing a new
    // journal over it would make that half-made change permanent.
    if (undoLeftChange())
        load();
    followOtherWriters(record);
    if (record)
        checkPlace(*record, 0);
    try {
        Transaction transaction(db_, blobs_->file(), Journal::pathFor(path_), options_.blobFileLimit);
        if (space_)
            space_->startChange();
        body(transaction);
        for (FileChange& changed : blocks_->takeChanges())
            transaction.overwrite(TableFile::Table, changed.offset, std::move(changed.bytes));
        writeHeader(transaction);
        transaction.commit();
        stamp_ = currentStamp();
    } catch (...) {
        recoverAfterFailure();
        throw;
    }
}

void Table::Impl::followOtherWriters(std::optional<std::size_t> record)
{
    if (options_.lock == Lock::Exclusive || currentStamp() == stamp_)
        return;
    const bool hadRecord = record && *record < blocks_->recordCount();
    const Bytes before = hadRecord ? Bytes(blocks_->record(*record).begin(), blocks_->record(*record).end()) : Bytes{};
    load();
    if (hadRecord && (*record >= blocks_->recordCount() || !std::ranges::equal(before, blocks_->record(*record))))
        fail(path_, "record " + std::to_string(*record + 1) +
                        " was changed or deleted by another user meanwhile; reload the table and try again");
}

void Table::Impl::recoverAfterFailure()
{
    // The change was undone on disk (or never made); bring memory back in line with the files.
    try {
        load();
    } catch (const std::exception& reloadError) {
        readOnlyReason_ = std::string("it could not be read again after a failed change: ") + reloadError.what();
    }
}

void Table::Impl::writeHeader(Transaction& transaction)
{
    header_.counters = blocks_->counters();
    header_.changeCount = static_cast<std::uint8_t>(header_.changeCount + 1);
    storeCounters(headerBytes_, header_.counters, header_.changeCount, header_.fileVersion);
    transaction.overwrite(TableFile::Table, 0, Bytes(headerBytes_.begin(), headerBytes_.begin() + changingHeaderBytes));
    describeCounters();
}

BlobSpace& Table::Impl::space()
{
    if (!space_) {
        space_ = BlobSpace::build(*blobs_);
        space_->startChange();
    }
    return *space_;
}

void Table::Impl::storeBlob(std::span<std::uint8_t> field, std::span<const std::uint8_t> value,
                            Transaction& transaction)
{
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    if (value.empty())
        return;
    // The leader repeats the start of the value; a value that fits it stays in the record.
    const std::size_t leader = field.size() - blobPointerSize;
    std::copy_n(value.begin(), std::min(leader, value.size()), field.begin());
    const BlobPointer pointer = value.size() <= leader ? BlobPointer{0, static_cast<std::uint32_t>(value.size()), 0}
                                                       : space().store(value, transaction);
    pointer.write(field);
}

void Table::Impl::storeFileBlob(std::span<std::uint8_t> field, const FileContent& content, Transaction& transaction)
{
    PosixFile file = PosixFile::openRegular(content.path);
    const std::uint64_t size = file.size();
    if (content.offset > size || (content.length && *content.length > size - content.offset))
        fail(content.path, "holds " + std::to_string(size) + " bytes, fewer than the " +
                               std::to_string(content.length.value_or(0)) + " asked for from offset " +
                               std::to_string(content.offset));
    const std::uint64_t length = content.length.value_or(size - content.offset);
    if (length <= largestSharedValue) {
        // Small enough for the record or a shared block, which are written from memory anyway.
        Bytes value(static_cast<std::size_t>(length));
        file.readAt(content.offset, value);
        storeBlob(field, transaction.hold(std::move(value)), transaction);
        return;
    }
    // Only the leader passes through memory; the value goes from file to blob file at commit.
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    file.readAt(content.offset, field.first(field.size() - blobPointerSize));
    space().store(FileSource{std::move(file), length, content.offset}, transaction).write(field);
}

void Table::Impl::releaseBlob(std::span<const std::uint8_t> record, std::size_t field, Transaction& transaction)
{
    if (!isBlobType(fields_[field].type))
        return;
    const BlobPointer pointer = BlobPointer::read(record.subspan(fieldOffsets_[field], fields_[field].size));
    if (!pointer.empty() && !pointer.inRecord())
        space().release(pointer, transaction);
}

void Table::Impl::assign(Bytes& record, const FieldChange& change, Transaction& transaction)
{
    if (change.field < 0 || static_cast<std::size_t>(change.field) >= fields_.size())
        fail(path_,
             "there is no field " + std::to_string(change.field) + "; the table has " + std::to_string(fields_.size()));
    const auto index = static_cast<std::size_t>(change.field);
    const FieldDef& field = fields_[index];
    const auto bytes = std::span(record).subspan(fieldOffsets_[index], field.size);
    if (!isBlobType(field.type)) {
        encodeScalar(field, change.value, bytes, *codePage_, path_);
        return;
    }
    if (std::holds_alternative<Null>(change.value)) {
        storeBlob(bytes, {}, transaction);
    } else if (const auto* text = std::get_if<std::string>(&change.value); text && field.type == FieldType::Memo) {
        storeBlob(bytes, transaction.hold(codePage_->encode(*text)), transaction);
    } else if (const auto* data = std::get_if<Bytes>(&change.value); data && field.type == FieldType::Binary) {
        storeBlob(bytes, *data, transaction);
    } else if (const auto* content = std::get_if<FileContent>(&change.value);
               content && field.type == FieldType::Binary) {
        storeFileBlob(bytes, *content, transaction);
    } else {
        fail(path_, "field \"" + field.name + "\" (" + std::string(typeName(field.type)) + ") cannot take a " +
                        std::string(valueKind(change.value)) + " value");
    }
}

namespace {

void refuseRepeatedFields(const std::vector<FieldChange>& changes, const std::filesystem::path& path)
{
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (std::any_of(changes.begin(), it, [&](const FieldChange& earlier) { return earlier.field == it->field; }))
            fail(path, "field " + std::to_string(it->field) + " is given twice in one change");
    }
}

} // namespace

void Table::Impl::update(std::size_t record, const std::vector<FieldChange>& changes)
{
    refuseRepeatedFields(changes, path_);
    change(record, [&](Transaction& transaction) {
        const auto old = blocks_->record(record);
        Bytes updated(old.begin(), old.end());
        for (const FieldChange& fieldChange : changes)
            assign(updated, fieldChange, transaction);
        // New values are stored before old ones are released (see BlobSpace::startChange).
        for (const FieldChange& fieldChange : changes)
            releaseBlob(old, static_cast<std::size_t>(fieldChange.field), transaction);
        blocks_->updateRecord(record, updated);
    });
}

std::size_t Table::Impl::append(const std::vector<FieldChange>& values)
{
    refuseRepeatedFields(values, path_);
    change(std::nullopt, [&](Transaction& transaction) {
        Bytes record(header_.recordSize, 0);
        for (const FieldChange& value : values)
            assign(record, value, transaction);
        blocks_->appendRecord(record);
    });
    return blocks_->recordCount() - 1;
}

void Table::Impl::remove(std::size_t record)
{
    change(record, [&](Transaction& transaction) {
        for (std::size_t field = 0; field < fields_.size(); ++field)
            releaseBlob(blocks_->record(record), field, transaction);
        blocks_->removeRecord(record);
    });
}

} // namespace paradox
