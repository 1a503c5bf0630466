#include "fixtures.h"
#include "imaging/codecs/bytereader.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>
#include <QtEndian>

using imaging::decode;
using imaging::ErrorCode;

namespace {

std::optional<ErrorCode> decodeError(const QByteArray& bytes, qint64 pixelLimit = imaging::maxPicturePixels)
{
    imaging::DecodeRequest request;
    request.pixelLimit = pixelLimit;
    return fixtures::errorOf([&] { decode(bytes, std::move(request)); });
}

// PNG's chunk checksum (CRC-32, reflected polynomial 0xEDB88320).
quint32 crc32(QByteArrayView data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= static_cast<uchar>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    chunk.resize(17);
    qToBigEndian(width, chunk.data() + 4);
    qToBigEndian(height, chunk.data() + 8);
    chunk.replace(12, 5, QByteArray("\x08\x02\0\0\0", 5)); // 8-bit RGB
    QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\x0D", 12);
    png += chunk;
    const quint32 crc = crc32(chunk);
    png.resize(png.size() + 4);
    qToBigEndian(crc, png.data() + png.size() - 4);
    // An empty IDAT: libpng reads the header up to the first one.
    return png + QByteArray("\0\0\0\0IDAT\x35\xAF\x06\x1E\0\0\0\0IEND\xAE\x42\x60\x82", 24);
}

// A JPEG whose frame header claims other dimensions than its data has.
QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray jpeg = imaging::encode(fixtures::quadrants({16, 16}), imaging::SaveFormat::Jpg, {});
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

QByteArray gifClaiming(quint16 width, quint16 height)
{
    QByteArray gif = fixtures::convert(fixtures::pngBytes(fixtures::quadrants({16, 16})), {}, "GIF:-");
    if (gif.size() < 32)
        return gif; // convert failed; the test then fails on it
    qToLittleEndian(width, gif.data() + 6);
    qToLittleEndian(height, gif.data() + 8);
    const qsizetype descriptor = gif.indexOf(',');
    qToLittleEndian(width, gif.data() + descriptor + 5);
    qToLittleEndian(height, gif.data() + descriptor + 7);
    return gif;
}

QByteArray tiffClaiming(quint32 width, quint32 height)
{
    QByteArray tiff = fixtures::convert(fixtures::pngBytes(fixtures::quadrants({16, 16})),
                                        {QStringLiteral("-compress"), QStringLiteral("none")}, "TIFF:-");
    if (tiff.size() < 8)
        return tiff;
    const quint32 directory = imaging::codecs::u32le(tiff, 4);
    const quint16 entries = imaging::codecs::u16le(tiff, directory);
    for (quint16 i = 0; i < entries; ++i) {
        const quint32 at = directory + 2 + 12 * i;
        char* entry = tiff.data() + at;
        const quint16 tag = imaging::codecs::u16le(tiff, at);
        if (tag == 256 || tag == 257) { // ImageWidth, ImageLength, written as LONG or SHORT
            const quint32 value = tag == 256 ? width : height;
            if (imaging::codecs::u16le(tiff, at + 2) == 4) // LONG
                qToLittleEndian(value, entry + 8);
            else
                qToLittleEndian(quint16(std::min(value, 65535u)), entry + 8);
        }
    }
    return tiff;
}

QByteArray tgaClaiming(quint16 width, quint16 height)
{
    QByteArray tga(18, '\0');
    tga[2] = 10; // run-length true colour
    qToLittleEndian(width, tga.data() + 12);
    qToLittleEndian(height, tga.data() + 14);
    tga[16] = 24;
    return tga + QByteArray(64, '\x01');
}

// Found by fuzzing: a DXF with a broken group code that made libdime dereference null.
QByteArray libdimeCrasher()
{
    return QByteArray::fromBase64(
        "MApTRUNUSU9OCjIKRU5USVRJRVMKMApMSU5FCjgKMAoxMAowCjIwISEhISEhISEhCjIAAGBAsAAE7+5BUkMKOA"
        "owCjEwCjEKMjAKMQo0MAox/wo1MAowCjUxCjkwCjAK////////////////////////////////////////"
        "//9FTkRTRUMKMTAKMQoyMAoxCjQwCjEKNTAKMAo1MQo5CjACRU9GCg==");
}

} // namespace

TEST(DecodingErrors, DamagedBinaryDxf)
{
    const QByteArray text("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nEOF\n");
    const QByteArray binary = fixtures::binaryDxf(text, true);
    QByteArray lineBreakInText = binary;
    lineBreakInText.replace(QByteArray("\x08\0"
                                       "0\0",
                                       4),
                            QByteArray("\x08\0"
                                       "0\n1\0",
                                       6));
    // libdime stops the program when a binary file's first group is not a 0: here a comment,
    // whose code 999 takes the escape byte 255 and two more in files of one-byte codes.
    const QByteArray narrow = fixtures::binaryDxf(text, false);
    const QByteArray commentFirst = narrow.first(22) + QByteArray("\xFF\xE7\x03made by hand\0", 16) + narrow.sliced(22);
    // Found by fuzzing: a binary file that ends with its sentinel, whole or cut.
    for (const QByteArray& damaged : {binary.first(binary.size() - 1), binary.first(binary.size() - 20), lineBreakInText,
                                      commentFirst, binary.first(22), binary.first(18)}) {
        SCOPED_TRACE(damaged.toHex().toStdString());
        EXPECT_EQ(decodeError(damaged), ErrorCode::DamagedPicture);
    }
}

TEST(DecodingErrors, NoPictureAtAll)
{
    EXPECT_EQ(decodeError({}), ErrorCode::UnknownFormat);
    EXPECT_EQ(decodeError("Dear album, this is text."), ErrorCode::UnknownFormat);
    EXPECT_EQ(decodeError(QByteArray(5000, '\0')), ErrorCode::UnknownFormat);
}

TEST(DecodingErrors, DamagedOrTruncatedPictures)
{
    const QImage picture = fixtures::gradient({120, 90});
    const QByteArray jpeg = imaging::encode(picture, imaging::SaveFormat::Jpg, {});
    const QByteArray png = fixtures::pngBytes(picture);
    for (const QByteArray& damaged :
         {jpeg.first(jpeg.size() * 6 / 10), png.first(png.size() / 2), QByteArray("\xFF\xD8\xFF\xE0garbage", 11),
          QByteArray("II*\0\x08\0\0\0\0\0", 10), QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx"),
          libdimeCrasher(), QByteArray("0\nSECTION\n2\nENTITIES\n0"),
          QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\nshowpage\n"),
          QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nnosuchoperator\n")}) {
        SCOPED_TRACE(damaged.left(12).toStdString());
        EXPECT_EQ(decodeError(damaged), ErrorCode::DamagedPicture);
    }
}

// Pictures whose headers claim 10^10 pixels are refused from the header alone; a run under
// AddressSanitizer with max_allocation_size_mb set proves that nothing that large is taken.
TEST(DecodingErrors, HugeDimensionsAreRefusedBeforeDecoding)
{
    for (const QByteArray& huge : {pngClaiming(100000, 100000), jpegClaiming(65000, 65000), gifClaiming(65535, 65535),
                                   tiffClaiming(100000, 100000), tgaClaiming(65535, 65535)}) {
        SCOPED_TRACE(huge.left(4).toHex().toStdString());
        EXPECT_EQ(decodeError(huge), ErrorCode::TooLarge);
    }
}

TEST(DecodingErrors, EveryDecoderHonoursThePixelLimit)
{
    const QByteArray png = fixtures::pngBytes(fixtures::quadrants({100, 50}));
    for (const QByteArray& bytes : {png, fixtures::convert(png, {}, "JPEG:-"), fixtures::convert(png, {}, "PCX:-"),
                                    QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\nshowpage\n")}) {
        EXPECT_EQ(decodeError(bytes, 4999), ErrorCode::TooLarge);
        EXPECT_EQ(decodeError(bytes, 5000), std::nullopt);
    }
}
