#include "imaging/codecs/dxfgroups.h"

#include "imaging/codecs/bytereader.h"
#include "imaging/error.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace imaging::codecs {

namespace {

// The DXF reference allows 2049 characters a value; libdime's line buffer holds 4096.
constexpr qsizetype maxLineLength = 2049;
constexpr qsizetype binaryGroupsStart = 22;
constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

enum class ValueKind { Text, Real, Integer };

// What a group code's value must be, by the ranges of the DXF reference; nothing for codes
// outside them.
std::optional<ValueKind> valueKind(int code)
{
    const auto within = [code](int low, int high) { return code >= low && code <= high; };
    if (within(0, 9) || within(100, 109) || within(300, 369) || within(390, 399) || within(410, 419) ||
        within(430, 439) || within(470, 481) || code == 999 || within(1000, 1009))
        return ValueKind::Text;
    if (within(10, 59) || within(110, 149) || within(210, 239) || within(460, 469) || within(1010, 1059))
        return ValueKind::Real;
    if (within(60, 99) || within(160, 179) || within(270, 289) || within(290, 299) || within(370, 389) ||
        within(400, 409) || within(420, 429) || within(440, 459) || within(1060, 1071))
        return ValueKind::Integer;
    return std::nullopt;
}

// How libdime stores a group's value in a binary file (its own table, which differs from the
// DXF reference in places): an integer of 1, 2 or 4 bytes, an 8-byte real, or zero-ended text.
enum class BinaryValue { Int8, Int16, Int32, Real, Text };

BinaryValue binaryValue(int code)
{
    const auto within = [code](int low, int high) { return code >= low && code <= high; };
    if (within(10, 59) || within(140, 147) || code == 210 || code == 220 || code == 230)
        return BinaryValue::Real;
    if (within(60, 79) || within(170, 178) || within(1060, 1070))
        return BinaryValue::Int16;
    if (within(90, 99) || code == 1071)
        return BinaryValue::Int32;
    if (within(270, 275) || within(280, 289))
        return BinaryValue::Int8;
    return BinaryValue::Text;
}

bool isTextCharacters(QByteArrayView text)
{
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<uchar>(c) < 0x20 && c != '\t' && c != '\r'; });
}

} // namespace

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith(byteOrderMark) ? bytes.sliced(byteOrderMark.size()) : bytes;
}

DxfGroups::DxfGroups(QByteArrayView dxf) : bytes_(dxf), binary_(dxf.startsWith(binaryDxfSentinel))
{
    if (binary_) {
        position_ = binaryGroupsStart;
        // As libdime tells them apart: the first group code is 0, so its second byte is 0
        // only when codes take two bytes.
        wideCodes_ = bytes_.size() > binaryGroupsStart + 1 && bytes_[binaryGroupsStart + 1] == '\0';
    }
}

std::optional<DxfGroup> DxfGroups::next()
{
    return binary_ ? nextBinary() : nextText();
}

void DxfGroups::refuse(const char* what) const
{
    const QString place = binary_ ? QStringLiteral("byte %1").arg(groupStart_) : QStringLiteral("line %1").arg(line_);
    throw Error(ErrorCode::DamagedPicture,
                QStringLiteral("The DXF drawing cannot be read: %1 %2").arg(place, QLatin1String(what)));
}

// The next line without its end and surrounding blanks; nothing when it holds bytes no text
// DXF has (control characters) or is too long.
std::optional<QByteArray> DxfGroups::textLine()
{
    const qsizetype end = bytes_.indexOf('\n', position_);
    const qsizetype lineEnd = end < 0 ? bytes_.size() : end;
    const QByteArrayView line = bytes_.sliced(position_, lineEnd - position_);
    position_ = lineEnd + 1;
    ++line_;
    if (line.size() > maxLineLength || !isTextCharacters(line))
        return std::nullopt;
    return line.trimmed().toByteArray();
}

std::optional<DxfGroup> DxfGroups::nextText()
{
    if (position_ >= bytes_.size())
        return std::nullopt;
    const std::optional<QByteArray> codeLine = textLine();
    if (!codeLine)
        refuse("holds characters a DXF file has not");
    if (codeLine->isEmpty() && position_ >= bytes_.size())
        return std::nullopt; // the final line break
    bool isNumber = false;
    DxfGroup group;
    group.code = codeLine->toInt(&isNumber);
    const std::optional<ValueKind> kind = isNumber ? valueKind(group.code) : std::nullopt;
    if (!kind)
        refuse("is no group code");
    if (position_ >= bytes_.size())
        refuse("is a group code without a value");
    const std::optional<QByteArray> value = textLine();
    bool isValue = value.has_value();
    if (isValue && *kind == ValueKind::Real)
        group.number = value->toDouble(&isValue);
    else if (isValue && *kind == ValueKind::Integer)
        group.number = static_cast<double>(value->toLongLong(&isValue));
    if (!isValue || !std::isfinite(group.number))
        refuse("is no value for its group code");
    group.text = *value;
    return group;
}

std::optional<DxfGroup> DxfGroups::nextBinary()
{
    if (position_ >= bytes_.size())
        return std::nullopt;
    groupStart_ = position_;
    const auto take = [this](qsizetype count) {
        if (bytes_.size() - position_ < count)
            refuse("ends inside a group");
        const QByteArrayView taken = bytes_.sliced(position_, count);
        position_ += count;
        return taken;
    };
    DxfGroup group;
    group.code = wideCodes_ ? u16le(take(2), 0) : byteAt(take(1), 0);
    if (group.code == 255) // codes above 254 follow as a 16-bit integer
        group.code = static_cast<int16_t>(u16le(take(2), 0));
    if (!valueKind(group.code))
        refuse("holds no group code");
    switch (binaryValue(group.code)) {
    case BinaryValue::Int8:
        group.number = static_cast<int8_t>(byteAt(take(1), 0));
        break;
    case BinaryValue::Int16:
        group.number = static_cast<int16_t>(u16le(take(2), 0));
        break;
    case BinaryValue::Int32:
        group.number = static_cast<int32_t>(u32le(take(4), 0));
        break;
    case BinaryValue::Real: {
        const QByteArrayView raw = take(8);
        const quint64 bits = u32le(raw, 0) | quint64{u32le(raw, 4)} << 32;
        std::memcpy(&group.number, &bits, sizeof group.number);
        if (!std::isfinite(group.number))
            refuse("holds a number that is not finite");
        break;
    }
    case BinaryValue::Text: {
        // libdime ends text at a line break as well, and then reads on from there as if it
        // were the next group.
        const qsizetype end = bytes_.indexOf('\0', position_);
        if (end < 0 || end - position_ > maxLineLength)
            refuse("holds text without an end");
        const QByteArrayView text = take(end - position_);
        position_ = end + 1;
        if (!isTextCharacters(text) || text.contains('\r'))
            refuse("holds characters a DXF file has not");
        group.text = text.toByteArray();
        break;
    }
    }
    return group;
}

} // namespace imaging::codecs
