#include "paradox/fieldrules.h"

#include "paradox/blobpointer.h"
#include "paradox/failure.h"

#include <algorithm>

namespace paradox {

namespace {

constexpr std::size_t maxFields = 255;
constexpr std::size_t maxNameCharacters = 25;
constexpr std::size_t maxLeader = 240;
// A record must fit a 2 KB data block after the block's 6-byte header.
constexpr std::size_t maxRecordSize = 2048 - 6;

bool validSize(const FieldDef& field)
{
    switch (field.type) {
    case FieldType::Alpha:
        return field.size >= 1 && field.size <= 255;
    case FieldType::Short:
        return field.size == 2;
    case FieldType::Long:
        return field.size == 4;
    case FieldType::Logical:
        return field.size == 1;
    // A memo keeps at least one byte of its text in the record; binary may keep none.
    case FieldType::Memo:
        return field.size >= blobPointerSize + 1 && field.size <= blobPointerSize + maxLeader;
    case FieldType::Binary:
        return field.size >= blobPointerSize && field.size <= blobPointerSize + maxLeader;
    default:
        return false;
    }
}

std::size_t characters(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool isWritableType(FieldType type)
{
    switch (type) {
    case FieldType::Alpha:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::Logical:
    case FieldType::Memo:
    case FieldType::Binary:
        return true;
    default:
        return false;
    }
}

bool sameFieldName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return lower(x) == lower(y); });
}

void checkNewFields(const std::vector<FieldDef>& fields, const std::filesystem::path& file)
{
    if (fields.empty() || fields.size() > maxFields)
        fail(file, "a table needs 1 to " + std::to_string(maxFields) + " fields, not " + std::to_string(fields.size()));
    std::size_t recordSize = 0;
    for (auto field = fields.begin(); field != fields.end(); ++field) {
        const std::string name = "field \"" + field->name + "\"";
        if (field->name.empty() || characters(field->name) > maxNameCharacters)
            fail(file, name + " needs a name of 1 to " + std::to_string(maxNameCharacters) + " characters");
        if (!isWritableType(field->type))
            fail(file,
                 name + " is of type " + std::string(typeName(field->type)) + ", which this program does not write");
        if (!validSize(*field))
            fail(file, name + " cannot have the size " + std::to_string(field->size));
        if (std::any_of(fields.begin(), field,
                        [&](const FieldDef& other) { return sameFieldName(other.name, field->name); }))
            fail(file, name + " appears twice");
        recordSize += field->size;
    }
    if (recordSize > maxRecordSize)
        fail(file, "the fields take " + std::to_string(recordSize) + " bytes, more than a record can hold (" +
                       std::to_string(maxRecordSize) + ")");
}

} // namespace paradox
