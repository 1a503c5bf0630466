// SHA-256, for the journal's checksum and for showing blob contents compactly in tools.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace paradox {

class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void add(std::span<const std::uint8_t> data);
    Digest finish();

    static Digest of(std::span<const std::uint8_t> data);
    static std::string hex(const Digest& digest);

private:
    void compress(const std::uint8_t* chunk);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};

} // namespace paradox
