#include "valuetext.h"

#include "paradox/sha256.h"

#include <iomanip>
#include <sstream>

namespace ptable {

namespace {

std::string quoted(const std::string& text)
{
    std::ostringstream out;
    out << '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            out << '\\' << c;
        else if (c == '\n')
            out << "\\n";
        else if (c < 0x20)
            out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << int{c} << std::dec;
        else
            out << c;
    }
    out << '"';
    return out.str();
}

std::string blobText(const paradox::Bytes& bytes)
{
    return std::to_string(bytes.size()) + " bytes, sha256 " + paradox::Sha256::hex(paradox::Sha256::of(bytes));
}

} // namespace

std::string valueText(const paradox::Table& table, std::size_t record, int field)
{
    const paradox::FieldType type = table.fields()[static_cast<std::size_t>(field)].type;
    if (paradox::isBlobType(type))
        return table.isNull(record, field) ? "(empty)" : blobText(table.blob(record, field));
    const paradox::Value value = table.value(record, field);
    std::ostringstream out;
    std::visit(
        [&](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, paradox::Null>)
                out << "(empty)";
            else if constexpr (std::is_same_v<V, std::string>)
                out << quoted(v);
            else if constexpr (std::is_same_v<V, bool>)
                out << (v ? "true" : "false");
            else if constexpr (std::is_same_v<V, paradox::Bytes>)
                out << blobText(v);
            else if constexpr (std::is_same_v<V, paradox::FileContent>)
                out << "content of " << quoted(v.path.string());
            else
                out << std::setprecision(17) << v;
        },
        value);
    return out.str();
}

} // namespace ptable
