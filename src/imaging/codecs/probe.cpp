// A picture's size from its header alone, for decisions that must not wait for a decode.
#include "imaging/decoder.h"

#include <QBuffer>
#include <QImageReader>

#include <limits>

#include "imaging/codecs/bytereader.h"
#include "imaging/codecs/decoders.h"
#include "imaging/codecs/epsheader.h"
#include "imaging/error.h"
#include "imaging/orientation.h"

namespace imaging {

namespace codecs {

QSize photoCdSize(PcdMode resolution)
{
    switch (resolution) {
    case PcdMode::pcd_BASE16:
        return {192, 128};
    case PcdMode::pcd_BASE4:
        return {384, 256};
    case PcdMode::pcd_BASE:
        break;
    }
    return {768, 512};
}

} // namespace codecs

namespace {

using codecs::byteAt;
using codecs::u16le;
using codecs::u32le;

QSize validOrEmpty(qint64 width, qint64 height)
{
    constexpr qint64 largest = std::numeric_limits<int>::max();
    if (width <= 0 || height <= 0 || width > largest || height > largest)
        return {};
    return {static_cast<int>(width), static_cast<int>(height)};
}

QSize qtReaderSize(QByteArrayView bytes)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() ? size : QSize();
}

// The image width and length tags of the first directory.
QSize tiffSize(QByteArrayView bytes)
{
    const bool bigEndian = byteAt(bytes, 0) == 'M';
    const auto u16 = [&](qint64 at) {
        const uint16_t value = u16le(bytes, at);
        return bigEndian ? static_cast<uint16_t>(value >> 8 | value << 8) : value;
    };
    const auto u32 = [&](qint64 at) {
        return bigEndian ? static_cast<uint32_t>(u16(at)) << 16 | u16(at + 2) : u32le(bytes, at);
    };
    const qint64 directory = u32(4);
    const int entries = u16(directory);
    qint64 width = 0;
    qint64 height = 0;
    for (int entry = 0; entry < entries && directory + 2 + (entry + 1) * 12 <= bytes.size(); ++entry) {
        const qint64 at = directory + 2 + entry * 12;
        const uint16_t tag = u16(at);
        const uint16_t type = u16(at + 2);
        const qint64 value = type == 3 ? u16(at + 8) : u32(at + 8); // SHORT or LONG
        if (tag == 256)
            width = value;
        else if (tag == 257)
            height = value;
    }
    return validOrEmpty(width, height);
}

QSize storedSize(QByteArrayView bytes, PictureFormat format, PcdMode pcdResolution)
{
    switch (format) {
    case PictureFormat::Jpeg:
    case PictureFormat::Png:
    case PictureFormat::Gif:
    case PictureFormat::Bmp:
        return qtReaderSize(bytes);
    case PictureFormat::Tiff:
        return tiffSize(bytes);
    case PictureFormat::Pcx: // the window's corners, inclusive
        return validOrEmpty(qint64{u16le(bytes, 8)} - u16le(bytes, 4) + 1,
                            qint64{u16le(bytes, 10)} - u16le(bytes, 6) + 1);
    case PictureFormat::Tga:
        return validOrEmpty(u16le(bytes, 12), u16le(bytes, 14));
    case PictureFormat::Eps: {
        const codecs::EpsPixelSize size = codecs::epsPixelSize(bytes);
        return validOrEmpty(size.width, size.height);
    }
    case PictureFormat::Pcd:
        return codecs::photoCdSize(pcdResolution);
    case PictureFormat::Heic:
    case PictureFormat::Avif:
        return codecs::heifSize(bytes);
    case PictureFormat::WebP:
        return codecs::webpSize(bytes);
    case PictureFormat::Wmf:
    case PictureFormat::Dxf:
        break;
    }
    return {};
}

} // namespace

QSize probeSize(QByteArrayView bytes, PcdMode pcdResolution)
{
    PictureFormat format;
    try {
        format = sniffFormat(bytes);
    } catch (const Error&) {
        return {};
    }
    return uprightSize(storedSize(bytes, format, pcdResolution), storedOrientation(bytes, format));
}

} // namespace imaging
