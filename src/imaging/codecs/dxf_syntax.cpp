#include "imaging/codecs/dxf_syntax.h"

#include "imaging/error.h"

#include <cmath>
#include <optional>
#include <QByteArray>

namespace imaging::codecs {

namespace {

// The DXF reference allows 2049 characters a value; libdime's line buffer holds 4096.
constexpr qsizetype maxLineLength = 2049;

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

bool isValue(const QByteArray& value, ValueKind kind)
{
    bool ok = true;
    switch (kind) {
    case ValueKind::Text:
        return true;
    case ValueKind::Real:
        return std::isfinite(value.toDouble(&ok)) && ok;
    case ValueKind::Integer:
        value.toLongLong(&ok);
        return ok;
    }
    return false;
}

class Lines {
public:
    explicit Lines(QByteArrayView bytes) : bytes_(bytes) {}

    bool atEnd() const { return position_ >= bytes_.size(); }
    int number() const { return number_; }

    // The next line without its end and surrounding blanks; nothing past the end or when the
    // line holds bytes no text DXF has (control characters) or is too long.
    std::optional<QByteArray> next()
    {
        if (atEnd())
            return std::nullopt;
        const qsizetype end = bytes_.indexOf('\n', position_);
        const qsizetype lineEnd = end < 0 ? bytes_.size() : end;
        const QByteArrayView line = bytes_.sliced(position_, lineEnd - position_);
        position_ = lineEnd + 1;
        ++number_;
        if (line.size() > maxLineLength)
            return std::nullopt;
        for (const char c : line) {
            if (static_cast<uchar>(c) < 0x20 && c != '\t' && c != '\r')
                return std::nullopt;
        }
        return line.trimmed().toByteArray();
    }

private:
    QByteArrayView bytes_;
    qsizetype position_ = 0;
    int number_ = 0;
};

[[noreturn]] void refuse(int line, const char* what)
{
    throw Error(ErrorCode::DamagedPicture,
                QStringLiteral("The DXF drawing cannot be read: line %1 %2").arg(line).arg(QLatin1String(what)));
}

} // namespace

void checkDxfSyntax(QByteArrayView bytes)
{
    Lines lines(bytes);
    bool inSection = false;
    while (!lines.atEnd()) {
        const std::optional<QByteArray> codeLine = lines.next();
        if (!codeLine)
            refuse(lines.number(), "holds characters a DXF file has not");
        if (codeLine->isEmpty() && lines.atEnd())
            break; // the final line break
        bool isNumber = false;
        const int code = codeLine->toInt(&isNumber);
        const std::optional<ValueKind> kind = isNumber ? valueKind(code) : std::nullopt;
        if (!kind)
            refuse(lines.number(), "is no group code");
        const std::optional<QByteArray> value = lines.next();
        if (!value || !isValue(*value, *kind))
            refuse(lines.number(), "is no value for its group code");
        if (code != 0)
            continue;
        if (*value == "SECTION") {
            if (inSection)
                refuse(lines.number(), "starts a section inside a section");
            inSection = true;
        } else if (*value == "ENDSEC") {
            if (!inSection)
                refuse(lines.number(), "ends a section that was not started");
            inSection = false;
        } else if (*value == "EOF") {
            return;
        } else if (!inSection) {
            refuse(lines.number(), "lies outside any section");
        }
    }
    if (inSection)
        refuse(lines.number(), "ends the file inside a section");
}

} // namespace imaging::codecs
