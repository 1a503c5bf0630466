// Helpers of the Paradox tests: fixture paths, file bytes, stand-in pictures.
#pragma once

#include "paradox/field.h"
#include "support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace paradox::test {

// Skips the calling test when the Borland fixtures are not there.
#define REQUIRE_FIXTURES()                                                                                             \
    do {                                                                                                               \
        if (!std::filesystem::exists(::paradox::test::fixtureDir()))                                                   \
            GTEST_SKIP() << "Borland fixtures not found in " << ::paradox::test::fixtureDir();                         \
    } while (false)

std::filesystem::path fixtureDir();
std::filesystem::path fixture(const std::string& relative);

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);
// Deterministic bytes that do not compress: stand-ins for pictures.
Bytes noise(std::size_t size, std::uint32_t seed);
// Copies a table's .db and .mb into folder; returns the new .db path.
std::filesystem::path copyTable(const std::filesystem::path& db, const std::filesystem::path& folder);
std::string sha256(const Bytes& bytes);

} // namespace paradox::test
