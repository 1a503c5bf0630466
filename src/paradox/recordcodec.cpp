#include "paradox/recordcodec.h"

#include "paradox/endian.h"
#include "paradox/failure.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace paradox {

namespace {

constexpr std::uint8_t logicalFalse = 0x80;

std::int64_t decodeInteger(std::span<const std::uint8_t> bytes)
{
    const auto bias = static_cast<std::int64_t>(1ull << (bytes.size() * 8 - 1));
    return static_cast<std::int64_t>(endian::be(bytes.data(), bytes.size())) - bias;
}

double decodeDouble(std::span<const std::uint8_t> bytes)
{
    std::uint64_t raw = endian::be(bytes.data(), 8);
    constexpr std::uint64_t signBit = 1ull << 63;
    raw = (raw & signBit) ? raw & ~signBit : ~raw;
    return std::bit_cast<double>(raw);
}

[[noreturn]] void refuse(const std::filesystem::path& file, const FieldDef& field, const std::string& why)
{
    fail(file, "field \"" + field.name + "\" (" + std::string(typeName(field.type)) + ") " + why);
}

void encodeInteger(const FieldDef& field, const Value& value, std::span<std::uint8_t> out,
                   const std::filesystem::path& file)
{
    const auto* number = std::get_if<std::int64_t>(&value);
    if (!number)
        refuse(file, field, "cannot take a " + std::string(valueKind(value)) + " value");
    const std::size_t bits = out.size() * 8;
    // The most negative value would encode as all zeros, which means "empty".
    const std::int64_t limit = static_cast<std::int64_t>((1ull << (bits - 1)) - 1);
    if (*number < -limit || *number > limit)
        refuse(file, field,
               "cannot hold " + std::to_string(*number) + " (its range is -" + std::to_string(limit) + " to " +
                   std::to_string(limit) + ")");
    endian::putBe(out.data(), out.size(), static_cast<std::uint64_t>(*number) ^ (1ull << (bits - 1)));
}

} // namespace

bool allZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string_view valueKind(const Value& value)
{
    constexpr std::string_view kinds[] = {"empty", "text", "integer", "number", "logical", "bytes", "file"};
    static_assert(std::size(kinds) == std::variant_size_v<Value>, "every kind of value needs a name");
    return kinds[value.index()];
}

Value decodeScalar(FieldType type, std::span<const std::uint8_t> bytes, const CodePage& codePage)
{
    if (allZero(bytes))
        return Null{};
    switch (type) {
    case FieldType::Alpha:
        if (bytes[0] == 0)
            return Null{};
        return codePage.decode(bytes);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
    case FieldType::Date:
    case FieldType::Time:
        return decodeInteger(bytes);
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Timestamp:
        return decodeDouble(bytes);
    case FieldType::Logical:
        return bytes[0] != logicalFalse;
    default:
        return Bytes(bytes.begin(), bytes.end());
    }
}

void encodeScalar(const FieldDef& field, const Value& value, std::span<std::uint8_t> out, const CodePage& codePage,
                  const std::filesystem::path& file)
{
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (std::holds_alternative<Null>(value))
        return;
    switch (field.type) {
    case FieldType::Alpha: {
        const auto* text = std::get_if<std::string>(&value);
        if (!text)
            refuse(file, field, "cannot take a " + std::string(valueKind(value)) + " value");
        const Bytes encoded = codePage.encodeFitting(*text, out.size());
        std::copy(encoded.begin(), encoded.end(), out.begin());
        return;
    }
    case FieldType::Short:
    case FieldType::Long:
        encodeInteger(field, value, out, file);
        return;
    case FieldType::Logical: {
        const auto* flag = std::get_if<bool>(&value);
        if (!flag)
            refuse(file, field, "cannot take a " + std::string(valueKind(value)) + " value");
        out[0] = static_cast<std::uint8_t>(logicalFalse | (*flag ? 1 : 0));
        return;
    }
    default:
        refuse(file, field, "cannot be written by this program");
    }
}

} // namespace paradox
