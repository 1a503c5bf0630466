// Values of the fields that live entirely in the record (everything but blobs).
//
// Numbers are big-endian with the sign bit flipped, so that records sort as plain bytes;
// all-zero bytes mean an empty field.
#pragma once

#include "paradox/codepage.h"
#include "paradox/field.h"

#include <filesystem>
#include <span>

namespace paradox {

bool allZero(std::span<const std::uint8_t> bytes);

Value decodeScalar(FieldType type, std::span<const std::uint8_t> bytes, const CodePage& codePage);

// Encodes an alpha, short, long or logical value into its record bytes. Error when the value
// does not suit the field (wrong kind, out of range, text the code page cannot hold).
void encodeScalar(const FieldDef& field, const Value& value, std::span<std::uint8_t> out, const CodePage& codePage,
                  const std::filesystem::path& file);

// "text", "integer", ... for messages about a value of the wrong kind.
std::string_view valueKind(const Value& value);

} // namespace paradox
