// The blob comparisons with pxlib go through this hash, so it must be the real SHA-256.
#include "paradox/sha256.h"

#include <gtest/gtest.h>
#include <string>

namespace paradox {
namespace {

std::string hashOf(const std::string& text)
{
    return Sha256::hex(Sha256::of({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
}

TEST(Sha256, MatchesTheStandardTestVectors)
{
    EXPECT_EQ(hashOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hashOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hashOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hashOf(std::string(1'000'000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, GivesTheSameDigestForDataAddedInPieces)
{
    const std::string text(1000, 'x');
    Sha256 pieces;
    for (std::size_t at = 0; at < text.size(); at += 77) {
        const std::string piece = text.substr(at, 77);
        pieces.add({reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size()});
    }
    EXPECT_EQ(Sha256::hex(pieces.finish()), hashOf(text));
}

} // namespace
} // namespace paradox
