#include "paradox/field.h"

#include <utility>

namespace paradox {

namespace {

// Bytes a blob pointer takes after the leader.
constexpr std::uint16_t blobPointerSize = 10;

FieldDef field(std::string name, FieldType type, std::uint16_t size)
{
    return {std::move(name), type, size};
}

} // namespace

bool isBlobType(FieldType type)
{
    switch (type) {
    case FieldType::Memo:
    case FieldType::Binary:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return true;
    default:
        return false;
    }
}

std::string_view typeName(FieldType type)
{
    switch (type) {
    case FieldType::Alpha:
        return "alpha";
    case FieldType::Date:
        return "date";
    case FieldType::Short:
        return "short";
    case FieldType::Long:
        return "long";
    case FieldType::Currency:
        return "currency";
    case FieldType::Number:
        return "number";
    case FieldType::Logical:
        return "logical";
    case FieldType::Memo:
        return "memo";
    case FieldType::Binary:
        return "binary";
    case FieldType::FormattedMemo:
        return "formatted memo";
    case FieldType::Ole:
        return "OLE";
    case FieldType::Graphic:
        return "graphic";
    case FieldType::Time:
        return "time";
    case FieldType::Timestamp:
        return "timestamp";
    case FieldType::AutoInc:
        return "autoincrement";
    case FieldType::Bcd:
        return "BCD";
    case FieldType::Bytes:
        return "bytes";
    }
    return "unknown";
}

FieldDef alphaField(std::string name, std::uint8_t characters)
{
    return field(std::move(name), FieldType::Alpha, characters);
}

FieldDef shortField(std::string name)
{
    return field(std::move(name), FieldType::Short, 2);
}

FieldDef longField(std::string name)
{
    return field(std::move(name), FieldType::Long, 4);
}

FieldDef logicalField(std::string name)
{
    return field(std::move(name), FieldType::Logical, 1);
}

FieldDef memoField(std::string name)
{
    return field(std::move(name), FieldType::Memo, 1 + blobPointerSize);
}

FieldDef binaryField(std::string name)
{
    return field(std::move(name), FieldType::Binary, 1 + blobPointerSize);
}

} // namespace paradox
