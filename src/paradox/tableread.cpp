#include "paradox/blobformat.h"
#include "paradox/blobpointer.h"
#include "paradox/failure.h"
#include "paradox/filelock.h"
#include "paradox/recordcodec.h"
#include "paradox/tableimpl.h"

namespace paradox {

void Table::Impl::checkPlace(std::size_t record, int field) const
{
    if (record >= blocks_->recordCount())
        fail(path_, "there is no record " + std::to_string(record + 1) + "; the table has " +
                        std::to_string(blocks_->recordCount()));
    if (field < 0 || static_cast<std::size_t>(field) >= fields_.size())
        fail(path_, "there is no field " + std::to_string(field) + "; the table has " + std::to_string(fields_.size()));
}

std::span<const std::uint8_t> Table::Impl::fieldBytes(std::size_t record, int field) const
{
    checkPlace(record, field);
    const auto index = static_cast<std::size_t>(field);
    return blocks_->record(record).subspan(fieldOffsets_[index], fields_[index].size);
}

std::string Table::Impl::describeField(std::size_t record, int field) const
{
    return "the value of field \"" + fields_[static_cast<std::size_t>(field)].name + "\" in record " +
           std::to_string(record + 1);
}

void Table::Impl::wrongKind(int field, std::string_view expected) const
{
    const FieldDef& def = fields_[static_cast<std::size_t>(field)];
    fail(path_,
         "field \"" + def.name + "\" is of type " + std::string(typeName(def.type)) + ", not " + std::string(expected));
}

Bytes Table::Impl::blobData(std::size_t record, int field) const
{
    const auto bytes = fieldBytes(record, field);
    const FieldType type = fields_[static_cast<std::size_t>(field)].type;
    const BlobPointer pointer = BlobPointer::read(bytes);
    if (pointer.empty())
        return {};
    const std::size_t leader = bytes.size() - blobPointerSize;
    if (pointer.inRecord()) {
        if (pointer.length > leader)
            fail(path_, describeField(record, field) + " claims " + std::to_string(pointer.length) +
                            " bytes but keeps only " + std::to_string(leader) + " in the record");
        return Bytes(bytes.begin(), bytes.begin() + pointer.length);
    }
    std::lock_guard guard(blobReadMutex_);
    // Another handle could free and reuse the block while a shared handle reads it.
    std::optional<AccessLock> lock;
    if (options_.lock == Lock::Shared)
        lock.emplace(db_, AccessLock::Mode::Read);
    return blobs_->read(pointer, type == FieldType::Graphic, describeField(record, field));
}

Value Table::Impl::value(std::size_t record, int field) const
{
    const auto bytes = fieldBytes(record, field);
    const FieldType type = fields_[static_cast<std::size_t>(field)].type;
    if (!isBlobType(type))
        return decodeScalar(type, bytes, *codePage_);
    Bytes data = blobData(record, field);
    if (data.empty())
        return Null{};
    if (type == FieldType::Memo)
        return codePage_->decode(data);
    return data;
}

bool Table::Impl::isNull(std::size_t record, int field) const
{
    const auto bytes = fieldBytes(record, field);
    const FieldType type = fields_[static_cast<std::size_t>(field)].type;
    if (isBlobType(type))
        return BlobPointer::read(bytes).empty();
    return std::holds_alternative<Null>(decodeScalar(type, bytes, *codePage_));
}

Bytes Table::Impl::blob(std::size_t record, int field) const
{
    checkPlace(record, field);
    if (!isBlobType(fields_[static_cast<std::size_t>(field)].type))
        wrongKind(field, "a blob");
    return blobData(record, field);
}

std::optional<FileContent> Table::Impl::blobInFile(std::size_t record, int field) const
{
    const auto bytes = fieldBytes(record, field);
    // Under a shared lock another handle may reuse the block before the bytes are copied.
    if (fields_[static_cast<std::size_t>(field)].type != FieldType::Binary || options_.lock != Lock::Exclusive)
        return std::nullopt;
    const BlobPointer pointer = BlobPointer::read(bytes);
    if (pointer.empty() || pointer.inRecord())
        return std::nullopt;
    const std::optional<std::uint64_t> start = blobs_->singleValueStart(pointer, describeField(record, field));
    if (!start)
        return std::nullopt;
    return FileContent{blobs_->path(), *start, pointer.length};
}

std::uint32_t Table::Impl::blobLength(std::size_t record, int field) const
{
    const auto bytes = fieldBytes(record, field);
    const FieldType type = fields_[static_cast<std::size_t>(field)].type;
    if (!isBlobType(type))
        wrongKind(field, "a blob");
    const BlobPointer pointer = BlobPointer::read(bytes);
    if (type == FieldType::Graphic && !pointer.inRecord())
        return pointer.length >= graphicPrefixSize ? pointer.length - graphicPrefixSize : 0;
    return pointer.length;
}

} // namespace paradox
