#include "imaging/codecs/bytereader.h"
#include "imaging/codecs/dxfgroups.h"
#include "imaging/error.h"
#include "imaging/pictureformat.h"

#include <algorithm>
#include <array>
#include <optional>
#include <QList>

namespace imaging {

namespace {

using codecs::byteAt;
using codecs::u16le;
using codecs::u32le;

bool startsWith(QByteArrayView bytes, QByteArrayView prefix, qsizetype offset = 0)
{
    return bytes.size() >= offset + prefix.size() && bytes.sliced(offset, prefix.size()) == prefix;
}

bool isBmp(QByteArrayView bytes)
{
    static constexpr std::array<uint32_t, 7> infoHeaderSizes{12, 40, 52, 56, 64, 108, 124};
    return startsWith(bytes, "BM") && bytes.size() >= 26 &&
           std::find(infoHeaderSizes.begin(), infoHeaderSizes.end(), u32le(bytes, 14)) != infoHeaderSizes.end();
}

bool isPcx(QByteArrayView bytes)
{
    const uint8_t version = byteAt(bytes, 1);
    const uint8_t bitsPerPixel = byteAt(bytes, 3);
    return bytes.size() >= 128 && byteAt(bytes, 0) == 0x0A && (version <= 5 && version != 1) && byteAt(bytes, 2) == 1 &&
           (bitsPerPixel == 1 || bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8) &&
           u16le(bytes, 8) >= u16le(bytes, 4) && u16le(bytes, 10) >= u16le(bytes, 6);
}

bool isWmf(QByteArrayView bytes)
{
    if (startsWith(bytes, "\xD7\xCD\xC6\x9A"))
        return true; // placeable metafile
    const uint16_t type = u16le(bytes, 0);
    const uint16_t version = u16le(bytes, 4);
    return bytes.size() >= 18 && (type == 1 || type == 2) && u16le(bytes, 2) == 9 &&
           (version == 0x0100 || version == 0x0300);
}

bool isEps(QByteArrayView bytes)
{
    return startsWith(bytes, "%!PS") || startsWith(bytes, "\xC5\xD0\xD3\xC6");
}

// One line of a text DXF without surrounding blanks; `position` moves past it.
QByteArrayView nextDxfLine(QByteArrayView bytes, qsizetype& position)
{
    const qsizetype end = bytes.indexOf('\n', position);
    const qsizetype lineEnd = end < 0 ? bytes.size() : end;
    const QByteArrayView line = bytes.sliced(position, lineEnd - position).trimmed();
    position = end < 0 ? bytes.size() : end + 1;
    return line;
}

bool isDxf(QByteArrayView bytes)
{
    const QByteArrayView dxf = codecs::withoutByteOrderMark(bytes);
    if (dxf.startsWith(codecs::binaryDxfSentinel))
        return true;
    // A text DXF is group code / value line pairs starting with "0 / SECTION", possibly after
    // blank lines and 999 comment groups.
    const QByteArrayView head = dxf.first(std::min<qsizetype>(dxf.size(), 4096));
    qsizetype position = 0;
    while (position < head.size()) {
        const QByteArrayView code = nextDxfLine(head, position);
        if (code.isEmpty())
            continue;
        const QByteArrayView value = nextDxfLine(head, position);
        if (code == "999")
            continue;
        return code == "0" && value == "SECTION";
    }
    return false;
}

bool isWebP(QByteArrayView bytes)
{
    return startsWith(bytes, "RIFF") && startsWith(bytes, "WEBP", 8);
}

// HEIF files (HEIC and AVIF are two of them) open with a file-type box that names the brands
// the file conforms to: the major brand, a version, then compatible brands up to the box's end.
std::optional<PictureFormat> heifKind(QByteArrayView bytes)
{
    if (!startsWith(bytes, "ftyp", 4))
        return std::nullopt;
    const qsizetype boxEnd = std::min<qsizetype>(codecs::u32be(bytes, 0), bytes.size());
    QList<QByteArrayView> brands;
    if (boxEnd >= 12)
        brands.append(bytes.sliced(8, 4));
    for (qsizetype at = 16; at + 4 <= boxEnd; at += 4)
        brands.append(bytes.sliced(at, 4));
    const auto has = [&](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&](const char* name) { return brands.contains(name); });
    };
    if (!brands.isEmpty() && (brands.first() == "avif" || brands.first() == "avis"))
        return PictureFormat::Avif;
    if (has({"heic", "heix", "heim", "heis", "hevc", "hevx"}))
        return PictureFormat::Heic;
    if (has({"avif", "avis"}))
        return PictureFormat::Avif;
    if (has({"mif1", "msf1"}))
        return PictureFormat::Heic; // a HEIF file of some other codec: its decoder tells
    return std::nullopt;
}

// TGA has no signature; accept a header only when every field is one a TGA writer would use and
// the file is long enough for what it announces.
bool isTga(QByteArrayView bytes)
{
    if (bytes.size() < 18)
        return false;
    const int idLength = byteAt(bytes, 0);
    const int colourMapType = byteAt(bytes, 1);
    const int imageType = byteAt(bytes, 2);
    const int colourMapLength = u16le(bytes, 5);
    const int colourMapEntryBits = byteAt(bytes, 7);
    const qint64 width = u16le(bytes, 12);
    const qint64 height = u16le(bytes, 14);
    const int depth = byteAt(bytes, 16);
    const int descriptor = byteAt(bytes, 17);

    const bool mapped = imageType == 1 || imageType == 9;
    const bool trueColour = imageType == 2 || imageType == 10;
    const bool grey = imageType == 3 || imageType == 11;
    if (!(mapped || trueColour || grey) || width == 0 || height == 0 || (descriptor & 0xC0) != 0 ||
        (descriptor & 0x0F) > 8)
        return false;
    if (mapped != (colourMapType == 1) || colourMapType > 1)
        return false;
    if (mapped && (colourMapLength == 0 || (colourMapEntryBits != 15 && colourMapEntryBits != 16 &&
                                            colourMapEntryBits != 24 && colourMapEntryBits != 32)))
        return false;
    const bool depthFits = mapped       ? (depth == 8 || depth == 16)
                           : trueColour ? (depth == 15 || depth == 16 || depth == 24 || depth == 32)
                                        : (depth == 8 || depth == 16);
    if (!depthFits)
        return false;

    const qint64 colourMapBytes = mapped ? colourMapLength * ((colourMapEntryBits + 7) / 8) : 0;
    const bool runLengthEncoded = imageType >= 9;
    const qint64 pixelBytes = runLengthEncoded ? 1 : width * height * ((depth + 7) / 8);
    return bytes.size() >= 18 + idLength + colourMapBytes + pixelBytes;
}

} // namespace

PictureFormat sniffFormat(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        throw Error(ErrorCode::UnknownFormat, QStringLiteral("There is no picture: the data is empty"));
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a"))
        return PictureFormat::Gif;
    if (isBmp(bytes))
        return PictureFormat::Bmp;
    if (startsWith(bytes, QByteArrayView("II*\0", 4)) || startsWith(bytes, QByteArrayView("MM\0*", 4)))
        return PictureFormat::Tiff;
    if (isWebP(bytes))
        return PictureFormat::WebP;
    if (const std::optional<PictureFormat> heif = heifKind(bytes))
        return *heif;
    if (startsWith(bytes, "PCD_IPI", 0x800))
        return PictureFormat::Pcd;
    if (isPcx(bytes))
        return PictureFormat::Pcx;
    if (isWmf(bytes))
        return PictureFormat::Wmf;
    if (isEps(bytes))
        return PictureFormat::Eps;
    if (isDxf(bytes))
        return PictureFormat::Dxf;
    if (isTga(bytes))
        return PictureFormat::Tga;
    throw Error(ErrorCode::UnknownFormat, QStringLiteral("The data is not a picture of a kind the album can show"));
}

QString formatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return QStringLiteral("JPEG");
    case PictureFormat::Png:
        return QStringLiteral("PNG");
    case PictureFormat::Gif:
        return QStringLiteral("GIF");
    case PictureFormat::Bmp:
        return QStringLiteral("BMP");
    case PictureFormat::Tiff:
        return QStringLiteral("TIFF");
    case PictureFormat::Pcx:
        return QStringLiteral("PCX");
    case PictureFormat::Wmf:
        return QStringLiteral("WMF");
    case PictureFormat::Pcd:
        return QStringLiteral("Photo CD");
    case PictureFormat::Eps:
        return QStringLiteral("EPS");
    case PictureFormat::Dxf:
        return QStringLiteral("DXF");
    case PictureFormat::Tga:
        return QStringLiteral("TGA");
    case PictureFormat::Heic:
        return QStringLiteral("HEIC");
    case PictureFormat::Avif:
        return QStringLiteral("AVIF");
    case PictureFormat::WebP:
        return QStringLiteral("WebP");
    }
    return {};
}

} // namespace imaging
