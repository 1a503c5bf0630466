// Leaves small pictures of every readable kind in the build folder as the fuzzer's seed corpus.
#include "fixtures.h"
#include "heifwriter.h"
#include "hostile_pictures.h"
#include "imaging/encoder.h"
#include "imaging/pictureformat.h"

#include <gtest/gtest.h>
#include <QDir>

using imaging::PictureFormat;
using imaging::SaveFormat;
using imaging::TiffCompression;

TEST(SeedCorpus, HoldsASmallPictureOfEveryKind)
{
    const QDir folder(QStringLiteral(KADRIX_BINARY_DIR "/fuzz-corpus/imaging"));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const QImage picture = fixtures::gradient({24, 16});
    const QByteArray png = fixtures::pngBytes(picture);
    const auto ours = [&](SaveFormat format, TiffCompression compression = TiffCompression::sNONE) {
        imaging::SaveSettings settings;
        settings.setTiffCompression(compression);
        settings.setJpegQuality(75);
        return imaging::encode(picture, format, settings);
    };
    const QByteArray drawing(
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nCIRCLE\n8\n0\n10\n2\n"
        "20\n2\n40\n1\n0\nARC\n8\n0\n10\n1\n20\n1\n40\n1\n50\n0\n51\n90\n0\nENDSEC\n0\nEOF\n");
    std::vector<std::tuple<QString, QByteArray, PictureFormat>> seeds{
        {"baseline.jpg", ours(SaveFormat::Jpg), PictureFormat::Jpeg},
        {"progressive.jpg", fixtures::convert(png, {"-interlace", "Plane"}, "JPEG:-"), PictureFormat::Jpeg},
        {"cmyk.jpg", fixtures::convert(png, {"-colorspace", "CMYK"}, "JPEG:-"), PictureFormat::Jpeg},
        {"grey.jpg", fixtures::convert(png, {"-colorspace", "Gray"}, "JPEG:-"), PictureFormat::Jpeg},
        {"plain.png", png, PictureFormat::Png},
        {"interlaced.png", fixtures::convert(png, {"-interlace", "PNG"}, "PNG:-"), PictureFormat::Png},
        {"picture.gif", ours(SaveFormat::Gif), PictureFormat::Gif},
        {"picture.bmp", ours(SaveFormat::Bmp), PictureFormat::Bmp},
        {"lzw.tif", ours(SaveFormat::Tif, TiffCompression::sLZW), PictureFormat::Tiff},
        {"packbits.tif", ours(SaveFormat::Tif, TiffCompression::sPACKBITS), PictureFormat::Tiff},
        {"fax3.tif", ours(SaveFormat::Tif, TiffCompression::sFAXCCITT3), PictureFormat::Tiff},
        {"fax4.tif", ours(SaveFormat::Tif, TiffCompression::sFAXCCITT4), PictureFormat::Tiff},
        {"huffman.tif", ours(SaveFormat::Tif, TiffCompression::sCCITT), PictureFormat::Tiff},
        {"picture.pcx", ours(SaveFormat::Pcx), PictureFormat::Pcx},
        {"topdown.tga", ours(SaveFormat::Tga), PictureFormat::Tga},
        {"bottomup.tga", fixtures::convert(png, {}, "TGA:-"), PictureFormat::Tga},
        {"rle.tga", fixtures::convert(png, {"-compress", "RLE"}, "TGA:-"), PictureFormat::Tga},
        {"picture.wmf", fixtures::threeShapesMetafile(true), PictureFormat::Wmf},
        {"drawing.dxf", drawing, PictureFormat::Dxf},
        {"byte-order-mark.dxf", "\xEF\xBB\xBF" + drawing, PictureFormat::Dxf},
        {"binary.dxf", fixtures::binaryDxf(drawing, false), PictureFormat::Dxf},
        {"binary-wide-codes.dxf", fixtures::binaryDxf(drawing, true), PictureFormat::Dxf},
        {"picture.heic", fixtures::convert(png, {}, "HEIC:-"), PictureFormat::Heic},
        {"turned-with-exif.heic",
         fixtures::heifBytes(picture, {.containerTurn = 6, .exif = fixtures::convert(png, {"-orient", "RightTop"},
                                                                                      "TIFF:-")}),
         PictureFormat::Heic},
        {"display-p3.avif", fixtures::heifBytes(picture, {.avif = true, .displayP3 = true}), PictureFormat::Avif},
        {"lossy.webp", fixtures::convert(png, {}, "WEBP:-"), PictureFormat::WebP},
        {"lossless.webp", fixtures::convert(png, {"-define", "webp:lossless=true"}, "WEBP:-"), PictureFormat::WebP},
    };
    // Pictures that ask for unbounded work: the fuzzer's memory and time limits catch a
    // decoder that gives in to them or to their variations.
    for (const hostile::Picture& demanding : hostile::drawings())
        seeds.emplace_back(demanding.name, demanding.bytes, PictureFormat::Dxf);
    seeds.emplace_back("filled-over-and-over.wmf", hostile::metafileFilledOverAndOver(), PictureFormat::Wmf);
    for (const hostile::Picture& demanding : hostile::postScripts())
        seeds.emplace_back(demanding.name, demanding.bytes, PictureFormat::Eps);
    for (const auto& [name, bytes, kind] : seeds) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(imaging::sniffFormat(bytes), kind);
        fixtures::writeFile(folder.filePath(name), bytes);
    }
}
