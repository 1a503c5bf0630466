#include "data/tfield.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>

#include "data/databaseerror.h"
#include "data/ttable.h"

using paradox::FieldType;

namespace {

bool isIntegerType(FieldType type)
{
    return type == FieldType::Short || type == FieldType::Long || type == FieldType::AutoInc;
}

bool isTextType(FieldType type)
{
    return type == FieldType::Alpha || type == FieldType::Memo;
}

std::string lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string formatNumber(double number)
{
    std::ostringstream out;
    out.precision(15);
    out << number;
    return out.str();
}

} // namespace

TField::TField(TTable& table, int index, paradox::FieldDef def) : table_(table), index_(index), def_(std::move(def)) {}

bool TField::isNull() const
{
    return std::holds_alternative<paradox::Null>(value());
}

paradox::Value TField::value() const
{
    return table_.readField(index_);
}

std::string TField::asString() const
{
    const paradox::Value v = value();
    if (const auto* text = std::get_if<std::string>(&v))
        return *text;
    if (const auto* number = std::get_if<std::int64_t>(&v))
        return std::to_string(*number);
    if (const auto* real = std::get_if<double>(&v))
        return formatNumber(*real);
    if (const auto* flag = std::get_if<bool>(&v))
        return *flag ? "True" : "False";
    if (const auto* bytes = std::get_if<paradox::Bytes>(&v))
        return std::string(bytes->begin(), bytes->end());
    return {};
}

int TField::asInteger() const
{
    const paradox::Value v = value();
    if (std::holds_alternative<paradox::Null>(v))
        return 0;
    if (const auto* number = std::get_if<std::int64_t>(&v))
        return static_cast<int>(*number);
    if (const auto* real = std::get_if<double>(&v))
        return static_cast<int>(std::lround(*real));
    if (const auto* text = std::get_if<std::string>(&v)) {
        int result = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), result);
        if (error == std::errc() && end == text->data() + text->size())
            return result;
        throw DatabaseError("'" + *text + "' is not a valid integer value");
    }
    conversionError("an integer");
}

bool TField::asBoolean() const
{
    const paradox::Value v = value();
    if (std::holds_alternative<paradox::Null>(v))
        return false;
    if (const auto* flag = std::get_if<bool>(&v))
        return *flag;
    if (const auto* text = std::get_if<std::string>(&v)) {
        const std::string word = lowered(*text);
        if (word == "true" || word == "t" || word == "yes" || word == "y")
            return true;
        if (word.empty() || word == "false" || word == "f" || word == "no" || word == "n")
            return false;
        throw DatabaseError("'" + *text + "' is not a valid boolean value");
    }
    conversionError("a boolean");
}

paradox::Bytes TField::asBytes() const
{
    paradox::Value v = value();
    if (auto* bytes = std::get_if<paradox::Bytes>(&v))
        return std::move(*bytes);
    if (const auto* text = std::get_if<std::string>(&v))
        return paradox::Bytes(text->begin(), text->end());
    if (std::holds_alternative<paradox::Null>(v))
        return {};
    conversionError("bytes");
}

void TField::setValue(paradox::Value value)
{
    table_.writeField(index_, std::move(value));
}

void TField::setAsString(const std::string& text)
{
    if (text.empty()) {
        clear();
        return;
    }
    if (isTextType(def_.type)) {
        setValue(text);
    } else if (isIntegerType(def_.type)) {
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error != std::errc() || end != text.data() + text.size())
            throw DatabaseError("'" + text + "' is not a valid integer value");
        setValue(number);
    } else if (def_.type == FieldType::Logical) {
        const std::string word = lowered(text);
        if (word == "true" || word == "t" || word == "yes" || word == "y")
            setValue(true);
        else if (word == "false" || word == "f" || word == "no" || word == "n")
            setValue(false);
        else
            throw DatabaseError("'" + text + "' is not a valid boolean value");
    } else if (isBlob()) {
        setValue(paradox::Bytes(text.begin(), text.end()));
    } else {
        conversionError("text");
    }
}

void TField::setAsInteger(int number)
{
    if (isIntegerType(def_.type))
        setValue(static_cast<std::int64_t>(number));
    else if (isTextType(def_.type))
        setValue(std::to_string(number));
    else
        conversionError("an integer");
}

void TField::setAsBoolean(bool flag)
{
    if (def_.type == FieldType::Logical)
        setValue(flag);
    else if (isTextType(def_.type))
        setValue(std::string(flag ? "True" : "False"));
    else
        conversionError("a boolean");
}

void TField::setAsBytes(paradox::Bytes bytes)
{
    if (!isBlob())
        conversionError("bytes");
    if (bytes.empty())
        clear();
    else if (def_.type == FieldType::Memo)
        setValue(std::string(bytes.begin(), bytes.end()));
    else
        setValue(std::move(bytes));
}

void TField::clear()
{
    setValue(paradox::Null{});
}

void TField::conversionError(const char* what) const
{
    throw DatabaseError("Field '" + def_.name + "' of type " + std::string(paradox::typeName(def_.type)) +
                        " cannot be used as " + what);
}
