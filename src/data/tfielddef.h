// Field definitions as the program states them when it creates a table.
#pragma once

#include <string>
#include <vector>

#include "paradox/field.h"

enum class TFieldType {
    ftString,   // text of at most `size` characters
    ftSmallint, // signed 16-bit
    ftInteger,  // signed 32-bit
    ftBoolean,
    ftMemo, // text blob
    ftBlob, // binary blob
};

struct TFieldDef {
    std::string name;
    TFieldType type;
    int size = 0; // characters for ftString; the declared in-record part for blobs (1)
};

using TFieldDefs = std::vector<TFieldDef>;

// The on-disk field a definition becomes.
paradox::FieldDef toParadox(const TFieldDef& def);
