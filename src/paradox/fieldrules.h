// Which fields this program writes, and the checks a new table's field list must pass.
#pragma once

#include "paradox/field.h"

#include <filesystem>
#include <vector>

namespace paradox {

// Alpha, short, long, logical, memo and binary: the types of the tables this program creates.
bool isWritableType(FieldType type);

// Error naming the first field that a new table cannot have.
void checkNewFields(const std::vector<FieldDef>& fields, const std::filesystem::path& file);

bool sameFieldName(std::string_view a, std::string_view b);

} // namespace paradox
