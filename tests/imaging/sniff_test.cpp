#include "fixtures.h"
#include "imaging/pictureformat.h"

#include <gtest/gtest.h>

using imaging::ErrorCode;
using imaging::PictureFormat;

namespace {

QByteArray padded(QByteArray head, qsizetype size)
{
    head.resize(std::max(size, head.size()), '\0');
    return head;
}

QByteArray tgaHeader(int colourMapType, int imageType, int width, int height, int depth, int descriptor = 0x20)
{
    const char header[18] = {0,
                             char(colourMapType),
                             char(imageType),
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             0,
                             char(width & 255),
                             char(width >> 8),
                             char(height & 255),
                             char(height >> 8),
                             char(depth),
                             char(descriptor)};
    return QByteArray(header, 18);
}

QByteArray withTgaPixels(const QByteArray& header, int bytes)
{
    return header + QByteArray(bytes, '\x7f');
}

struct Sample {
    const char* name;
    QByteArray bytes;
    PictureFormat expected;
};

} // namespace

TEST(Sniffing, RecognisesEveryReadableKindByContent)
{
    QByteArray pcd = padded({}, 0x900);
    pcd.replace(0x800, 7, "PCD_IPI");
    const QByteArray dosEps = QByteArray("\xC5\xD0\xD3\xC6", 4) + QByteArray(26, '\0') + "%!PS-Adobe-3.0 EPSF-3.0\n";
    const std::vector<Sample> samples{
        {"JPEG", QByteArray("\xFF\xD8\xFF\xE0", 4), PictureFormat::Jpeg},
        {"PNG", QByteArray("\x89PNG\r\n\x1A\n", 8), PictureFormat::Png},
        {"GIF87a", "GIF87a", PictureFormat::Gif},
        {"GIF89a", "GIF89a", PictureFormat::Gif},
        {"BMP", padded(QByteArray("BM", 2) + QByteArray(12, '\0') + QByteArray("\x28\0\0\0", 4), 54),
         PictureFormat::Bmp},
        {"TIFF little-endian", QByteArray("II*\0\x08\0\0\0", 8), PictureFormat::Tiff},
        {"TIFF big-endian", QByteArray("MM\0*\0\0\0\x08", 8), PictureFormat::Tiff},
        {"PCX", padded(QByteArray("\x0A\x05\x01\x08\0\0\0\0\x0F\0\x0F\0", 12), 128), PictureFormat::Pcx},
        {"placeable WMF", QByteArray("\xD7\xCD\xC6\x9A", 4), PictureFormat::Wmf},
        {"standard WMF", padded(QByteArray("\x01\0\x09\0\0\x03", 6), 18), PictureFormat::Wmf},
        {"Photo CD", pcd, PictureFormat::Pcd},
        {"EPS", "%!PS-Adobe-3.0 EPSF-3.0\n", PictureFormat::Eps},
        {"DOS EPS", dosEps, PictureFormat::Eps},
        {"DXF", "0\nSECTION\n2\nHEADER\n", PictureFormat::Dxf},
        {"DXF with blanks and CRLF", "  \r\n  0\r\nSECTION\r\n", PictureFormat::Dxf},
        {"DXF after a comment", "999\nmade by hand\n0\nSECTION\n", PictureFormat::Dxf},
        {"DXF after a UTF-8 byte order mark",
         "\xEF\xBB\xBF"
         "0\r\nSECTION\r\n",
         PictureFormat::Dxf},
        {"binary DXF", QByteArray("AutoCAD Binary DXF\r\n\x1A\0\0SECTION\0", 31), PictureFormat::Dxf},
        {"TGA true colour", withTgaPixels(tgaHeader(0, 2, 4, 2, 24), 4 * 2 * 3), PictureFormat::Tga},
        {"TGA run-length grey", withTgaPixels(tgaHeader(0, 11, 300, 200, 8), 10), PictureFormat::Tga},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        EXPECT_EQ(imaging::sniffFormat(sample.bytes), sample.expected);
    }
}

TEST(Sniffing, RefusesWhatIsNoPicture)
{
    const std::vector<std::pair<const char*, QByteArray>> samples{
        {"empty", {}},
        {"text", "This is a letter, not a picture.\n"},
        {"DXF that does not start with a section", "0\nLINE\n8\n0\n"},
        {"TGA of unknown image type", withTgaPixels(tgaHeader(0, 5, 4, 2, 24), 24)},
        {"TGA without width", withTgaPixels(tgaHeader(0, 2, 0, 2, 24), 24)},
        {"TGA shorter than its pixels", withTgaPixels(tgaHeader(0, 2, 4, 2, 24), 23)},
        {"TGA colour-mapped without a map", withTgaPixels(tgaHeader(0, 1, 4, 2, 8), 8)},
        {"TGA true colour of 7 bits", withTgaPixels(tgaHeader(0, 2, 4, 2, 7), 24)},
        {"TGA with interleave bits", withTgaPixels(tgaHeader(0, 2, 4, 2, 24, 0x40), 24)},
    };
    for (const auto& [name, bytes] : samples) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fixtures::errorOf([&] { imaging::sniffFormat(bytes); }), ErrorCode::UnknownFormat);
    }
}
