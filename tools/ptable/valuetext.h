// How ptable shows a field value: text quoted, numbers plain, blobs as size and SHA-256.
#pragma once

#include "paradox/table.h"

#include <string>

namespace ptable {

std::string valueText(const paradox::Table& table, std::size_t record, int field);

} // namespace ptable
