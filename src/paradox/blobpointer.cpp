#include "paradox/blobpointer.h"

#include "paradox/endian.h"

namespace paradox {

BlobPointer BlobPointer::read(std::span<const std::uint8_t> field)
{
    const std::uint8_t* p = field.data() + field.size() - blobPointerSize;
    return {endian::le32(p), endian::le32(p + 4), endian::le16(p + 8)};
}

void BlobPointer::write(std::span<std::uint8_t> field) const
{
    std::uint8_t* p = field.data() + field.size() - blobPointerSize;
    endian::putLe32(p, location);
    endian::putLe32(p + 4, length);
    endian::putLe16(p + 8, modification);
}

} // namespace paradox
