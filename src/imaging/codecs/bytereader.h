// Bounds-checked little- and big-endian reads from untrusted picture bytes.
#pragma once

#include <cstdint>
#include <QByteArrayView>

namespace imaging::codecs {

inline uint8_t byteAt(QByteArrayView bytes, qsizetype offset)
{
    return offset >= 0 && offset < bytes.size() ? static_cast<uint8_t>(bytes[offset]) : 0;
}

inline uint16_t u16le(QByteArrayView bytes, qsizetype offset)
{
    return static_cast<uint16_t>(byteAt(bytes, offset) | byteAt(bytes, offset + 1) << 8);
}

inline uint32_t u32le(QByteArrayView bytes, qsizetype offset)
{
    return static_cast<uint32_t>(u16le(bytes, offset)) | static_cast<uint32_t>(u16le(bytes, offset + 2)) << 16;
}

inline uint16_t u16be(QByteArrayView bytes, qsizetype offset)
{
    return static_cast<uint16_t>(byteAt(bytes, offset) << 8 | byteAt(bytes, offset + 1));
}

inline uint32_t u32be(QByteArrayView bytes, qsizetype offset)
{
    return static_cast<uint32_t>(u16be(bytes, offset)) << 16 | u16be(bytes, offset + 2);
}

} // namespace imaging::codecs
