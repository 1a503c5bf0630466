// Debian's pxlib reading a table, as an outside opinion on what the files hold.
#pragma once

#include "paradox/field.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace paradox::test {

struct OracleField {
    std::string name; // raw bytes of the header
    int type;
    int size;
};

// Empty, an integer (short, long, date, time, logical, autoinc), a double, or raw bytes
// (alpha, blobs, bytes) as pxlib returns them.
using OracleValue = std::variant<std::monostate, long, double, Bytes>;

struct OracleTable {
    std::vector<OracleField> fields;
    std::vector<std::vector<OracleValue>> records;
    std::vector<std::string> errors;
};

// Reads every record; blob files go through a copy in scratch (see pxoracle.cpp for why).
OracleTable readWithPxlib(const std::filesystem::path& db, const std::filesystem::path& scratch);

// Text in the given code page converted to UTF-8 by iconv, independent of the engine.
std::string toUtf8(const Bytes& text, int codePage);

} // namespace paradox::test
