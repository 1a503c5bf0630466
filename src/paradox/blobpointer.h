// The ten bytes after a blob field's leader: where the value lies in the .mb and how long it is.
#pragma once

#include <cstdint>
#include <span>

namespace paradox {

inline constexpr std::size_t blobPointerSize = 10;
inline constexpr std::uint8_t singleBlobIndex = 0xFF;

struct BlobPointer {
    std::uint32_t location = 0; // block offset in the .mb, its low byte an index
    std::uint32_t length = 0;
    std::uint16_t modification = 0;

    std::uint32_t blockOffset() const { return location & 0xFFFFFF00u; }
    std::uint8_t index() const { return static_cast<std::uint8_t>(location); }
    bool empty() const { return length == 0; }
    // The value is in the leader alone; the .mb holds nothing for it.
    bool inRecord() const { return location == 0; }

    // field is the whole field in the record: leader followed by the pointer.
    static BlobPointer read(std::span<const std::uint8_t> field);
    void write(std::span<std::uint8_t> field) const;
    friend bool operator==(const BlobPointer&, const BlobPointer&) = default;
};

} // namespace paradox
