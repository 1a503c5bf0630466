#include "paradox/table.h"

#include "paradox/failure.h"
#include "paradox/fieldrules.h"
#include "paradox/recordcodec.h"
#include "paradox/tableimpl.h"

namespace paradox {

Table::Table(const std::filesystem::path& dbPath, const OpenOptions& options)
    : impl_(std::make_unique<Impl>(dbPath, options))
{}

Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

const std::filesystem::path& Table::path() const
{
    return impl_->path_;
}

const TableInfo& Table::info() const
{
    return impl_->info_;
}

const std::vector<FieldDef>& Table::fields() const
{
    return impl_->fields_;
}

int Table::fieldIndex(std::string_view name) const
{
    const auto& fields = impl_->fields_;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (sameFieldName(fields[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

std::size_t Table::recordCount() const
{
    return impl_->blocks_->recordCount();
}

bool Table::writable() const
{
    return impl_->readOnlyReason_.empty();
}

std::string Table::readOnlyReason() const
{
    return impl_->readOnlyReason_;
}

Value Table::value(std::size_t record, int field) const
{
    return impl_->value(record, field);
}

bool Table::isNull(std::size_t record, int field) const
{
    return impl_->isNull(record, field);
}

std::string Table::text(std::size_t record, int field) const
{
    Value v = value(record, field);
    if (auto* text = std::get_if<std::string>(&v))
        return std::move(*text);
    const FieldType type = impl_->fields_[static_cast<std::size_t>(field)].type;
    if (type != FieldType::Alpha && type != FieldType::Memo)
        impl_->wrongKind(field, "text");
    return {};
}

std::optional<std::int64_t> Table::integer(std::size_t record, int field) const
{
    impl_->checkPlace(record, field);
    const FieldType type = impl_->fields_[static_cast<std::size_t>(field)].type;
    if (type != FieldType::Short && type != FieldType::Long && type != FieldType::AutoInc)
        impl_->wrongKind(field, "an integer");
    const Value v = value(record, field);
    if (const auto* number = std::get_if<std::int64_t>(&v))
        return *number;
    return std::nullopt;
}

std::optional<bool> Table::logical(std::size_t record, int field) const
{
    impl_->checkPlace(record, field);
    if (impl_->fields_[static_cast<std::size_t>(field)].type != FieldType::Logical)
        impl_->wrongKind(field, "logical");
    const Value v = value(record, field);
    if (const auto* flag = std::get_if<bool>(&v))
        return *flag;
    return std::nullopt;
}

Bytes Table::blob(std::size_t record, int field) const
{
    return impl_->blob(record, field);
}

std::uint32_t Table::blobLength(std::size_t record, int field) const
{
    return impl_->blobLength(record, field);
}

std::optional<FileContent> Table::blobInFile(std::size_t record, int field) const
{
    return impl_->blobInFile(record, field);
}

void Table::update(std::size_t record, const std::vector<FieldChange>& changes)
{
    impl_->update(record, changes);
}

std::size_t Table::append(const std::vector<FieldChange>& values)
{
    return impl_->append(values);
}

void Table::remove(std::size_t record)
{
    impl_->remove(record);
}

bool Table::reloadIfChanged()
{
    return impl_->reloadIfChanged();
}

std::vector<std::string> Table::check() const
{
    return impl_->check();
}

} // namespace paradox
