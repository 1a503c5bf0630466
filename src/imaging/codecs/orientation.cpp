#include "imaging/orientation.h"

#include "imaging/codecs/bytereader.h"
#include "imaging/codecs/decoders.h"

#include <QTransform>

namespace imaging {

namespace {

using codecs::byteAt;
using codecs::u16be;
using codecs::u16le;
using codecs::u32be;
using codecs::u32le;

constexpr uint16_t orientationTag = 0x0112;
constexpr uint16_t shortType = 3;

Orientation fromValue(uint32_t value)
{
    return value >= 1 && value <= 8 ? static_cast<Orientation>(value) : Orientation::TopLeft;
}

QByteArrayView withoutExifHeader(QByteArrayView block)
{
    const QByteArrayView header("Exif\0\0", 6);
    return block.startsWith(header) ? block.sliced(header.size()) : block;
}

// The EXIF block of a JPEG: the first APP1 segment that starts with the EXIF header, looked for
// among the segments before the picture data.
QByteArrayView jpegExif(QByteArrayView bytes)
{
    constexpr uint8_t app1 = 0xE1;
    constexpr uint8_t startOfScan = 0xDA;
    constexpr uint8_t endOfImage = 0xD9;
    qsizetype position = 2; // after the start-of-image marker
    while (position + 4 <= bytes.size()) {
        if (byteAt(bytes, position) != 0xFF)
            return {};
        const uint8_t marker = byteAt(bytes, position + 1);
        if (marker == 0xFF) { // fill byte
            ++position;
            continue;
        }
        if (marker == startOfScan || marker == endOfImage)
            return {};
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // markers without a segment
            position += 2;
            continue;
        }
        const qsizetype length = u16be(bytes, position + 2);
        if (length < 2 || position + 2 + length > bytes.size())
            return {};
        const QByteArrayView segment = bytes.sliced(position + 4, length - 2);
        if (marker == app1 && segment.startsWith(QByteArrayView("Exif\0\0", 6)))
            return withoutExifHeader(segment);
        position += 2 + length;
    }
    return {};
}

// The EXIF chunk of a WebP file (RIFF chunks of a four-letter name, a little-endian size and
// the payload padded to an even length).
QByteArrayView webpExif(QByteArrayView bytes)
{
    qsizetype position = 12; // after "RIFF", the file size and "WEBP"
    while (position + 8 <= bytes.size()) {
        const qsizetype size = u32le(bytes, position + 4);
        if (size > bytes.size() - position - 8)
            return {};
        if (bytes.sliced(position, 4) == "EXIF")
            return withoutExifHeader(bytes.sliced(position + 8, size));
        position += 8 + size + (size & 1);
    }
    return {};
}

// ISO base media boxes: a big-endian 32-bit size (1: a 64-bit size follows the type; 0: to the
// end), a four-letter type, the content. Calls `visit(type, content)` for each box in `bytes`
// until it returns true; returns whether one did.
template <typename Visit> bool forEachBox(QByteArrayView bytes, Visit&& visit)
{
    qsizetype position = 0;
    while (position + 8 <= bytes.size()) {
        qint64 size = u32be(bytes, position);
        qsizetype header = 8;
        if (size == 1) {
            size = qint64{u32be(bytes, position + 8)} << 32 | u32be(bytes, position + 12);
            header = 16;
        } else if (size == 0) {
            size = bytes.size() - position;
        }
        if (size < header || size > bytes.size() - position)
            return false;
        if (visit(bytes.sliced(position + 4, 4), bytes.sliced(position + header, size - header)))
            return true;
        position += size;
    }
    return false;
}

// Whether a HEIF file turns or mirrors its picture with the container's own properties (the
// "irot" and "imir" boxes among the item properties of its "meta" box).
bool heifTurnsItself(QByteArrayView bytes)
{
    const auto inside = [](QByteArrayView wanted, auto&& then) {
        return [wanted, then](QByteArrayView type, QByteArrayView content) { return type == wanted && then(content); };
    };
    const auto turning = [](QByteArrayView properties) {
        return forEachBox(properties, [](QByteArrayView type, QByteArrayView) { return type == "irot" || type == "imir"; });
    };
    const auto inMeta = [&](QByteArrayView meta) {
        // "meta" is a full box: a version and flags come before its children.
        return meta.size() >= 4 &&
               forEachBox(meta.sliced(4), inside("iprp", [&](QByteArrayView iprp) {
                              return forEachBox(iprp, inside("ipco", turning));
                          }));
    };
    return forEachBox(bytes, inside("meta", inMeta));
}

// HEIF files that do not turn the picture themselves (written by tools that only copied a
// camera's EXIF block) are turned as their EXIF tag says; those that do have their EXIF tag
// ignored, as it tells the same turn again and would turn them twice.
Orientation heifOrientation(QByteArrayView bytes)
{
    if (heifTurnsItself(bytes))
        return Orientation::TopLeft;
    const QByteArray exif = codecs::heifExif(bytes);
    return exifOrientation(withoutExifHeader(exif));
}

} // namespace

Orientation exifOrientation(QByteArrayView tiff)
{
    if (tiff.size() < 8)
        return Orientation::TopLeft;
    const bool bigEndian = tiff.startsWith("MM");
    if (!bigEndian && !tiff.startsWith("II"))
        return Orientation::TopLeft;
    const auto u16 = [&](qsizetype at) { return bigEndian ? u16be(tiff, at) : u16le(tiff, at); };
    const auto u32 = [&](qsizetype at) { return bigEndian ? u32be(tiff, at) : u32le(tiff, at); };
    if (u16(2) != 42)
        return Orientation::TopLeft;
    const qint64 directory = u32(4);
    if (directory < 8 || directory + 2 > tiff.size())
        return Orientation::TopLeft;
    const int entries = u16(directory);
    for (int entry = 0; entry < entries; ++entry) {
        const qint64 at = directory + 2 + qint64{entry} * 12;
        if (at + 12 > tiff.size())
            break;
        if (u16(at) == orientationTag)
            return u16(at + 2) == shortType && u32(at + 4) == 1 ? fromValue(u16(at + 8)) : Orientation::TopLeft;
    }
    return Orientation::TopLeft;
}

Orientation storedOrientation(QByteArrayView bytes, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return exifOrientation(jpegExif(bytes));
    case PictureFormat::Tiff:
        return exifOrientation(bytes);
    case PictureFormat::WebP:
        return exifOrientation(webpExif(bytes));
    case PictureFormat::Heic:
    case PictureFormat::Avif:
        return heifOrientation(bytes);
    default:
        return Orientation::TopLeft;
    }
}

bool swapsSides(Orientation orientation)
{
    return orientation >= Orientation::LeftTop;
}

QSize uprightSize(QSize stored, Orientation orientation)
{
    return swapsSides(orientation) ? stored.transposed() : stored;
}

QImage toUpright(const QImage& stored, Orientation orientation)
{
    const auto turned = [&](qreal degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case Orientation::TopLeft:
        break;
    case Orientation::TopRight:
        return stored.mirrored(true, false);
    case Orientation::BottomRight:
        return stored.mirrored(true, true);
    case Orientation::BottomLeft:
        return stored.mirrored(false, true);
    case Orientation::LeftTop:
        return turned(90).mirrored(true, false);
    case Orientation::RightTop:
        return turned(90);
    case Orientation::RightBottom:
        return turned(90).mirrored(false, true);
    case Orientation::LeftBottom:
        return turned(270);
    }
    return stored;
}

} // namespace imaging
