// Field types, field definitions and values of Paradox tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace paradox {

enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Binary = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

// True for the types whose value lives (partly) in the .mb file.
bool isBlobType(FieldType type);
// A readable name such as "alpha" or "binary", for messages and tools.
std::string_view typeName(FieldType type);

struct FieldDef {
    std::string name; // UTF-8
    FieldType type;
    std::uint16_t size; // bytes the field takes in the record (for blobs: leader + 10)
};

using Bytes = std::vector<std::uint8_t>;

struct Null {
    friend bool operator==(Null, Null) { return true; }
};

// The content of a file (the whole file, or `length` bytes from `offset`), as the value to write
// into a binary field: the bytes go from the file straight into the blob file, never through
// memory. Only writes take it; reads never return it.
struct FileContent {
    std::filesystem::path path;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length; // none: to the end of the file
    friend bool operator==(const FileContent&, const FileContent&) = default;
};

// A field value. Which alternative a type uses:
//   Alpha, Memo: std::string (UTF-8)
//   Short, Long, AutoInc, Date (days since 1 Jan 0001), Time (ms of day): std::int64_t
//   Number, Currency, Timestamp (ms since 1 Jan 0001): double
//   Logical: bool
//   Binary, FormattedMemo, Ole, Graphic (without its 8 leading bytes), Bcd, Bytes: Bytes
//   Binary, when written: also FileContent
// An empty field is Null.
using Value = std::variant<Null, std::string, std::int64_t, double, bool, Bytes, FileContent>;

// Field definitions with the declared sizes our tables use: a blob or memo of "size 1"
// takes 11 bytes in the record (1-byte leader + 10-byte blob pointer).
FieldDef alphaField(std::string name, std::uint8_t characters);
FieldDef shortField(std::string name);
FieldDef longField(std::string name);
FieldDef logicalField(std::string name);
FieldDef memoField(std::string name);
FieldDef binaryField(std::string name);

} // namespace paradox
