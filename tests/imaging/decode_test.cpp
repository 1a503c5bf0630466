#include "fixtures.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using imaging::decode;
using imaging::PcdMode;
using imaging::PictureFormat;

namespace {

struct RasterKind {
    const char* name;
    const char* imageMagickOutput; // convert's output spec; empty: Qt's PNG writer
    PictureFormat format;
    QStringList options = {}; // convert's options
};

} // namespace

TEST(RasterDecoding, ReadsEveryRasterKindUprightAndFitted)
{
    const QByteArray png = fixtures::pngBytes(fixtures::quadrants({64, 48}));
    const std::vector<RasterKind> kinds{
        {"PNG", "", PictureFormat::Png},
        {"GIF", "GIF:-", PictureFormat::Gif},
        {"BMP", "BMP:-", PictureFormat::Bmp},
        {"TIFF", "TIFF:-", PictureFormat::Tiff},
        {"TIFF, most significant byte first", "TIFF:-", PictureFormat::Tiff, {"-define", "tiff:endian=msb"}},
        {"PCX", "PCX:-", PictureFormat::Pcx},
        {"TGA stored bottom-up", "TGA:-", PictureFormat::Tga},
    };
    for (const RasterKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const QByteArray bytes =
            *kind.imageMagickOutput ? fixtures::convert(png, kind.options, kind.imageMagickOutput) : png;
        ASSERT_FALSE(bytes.isEmpty());
        const auto full = decode(bytes);
        EXPECT_EQ(full.format, kind.format);
        EXPECT_EQ(full.fullSize, QSize(64, 48));
        EXPECT_EQ(imaging::probeSize(bytes, PcdMode::pcd_BASE), QSize(64, 48)) << "from the header alone";
        EXPECT_EQ(full.image.format(), QImage::Format_RGB32);
        EXPECT_EQ(fixtures::maxDifference(full.image, fixtures::quadrants({64, 48})), 0);

        const auto fitted = decode(bytes, {.fitInto = {32, 32}});
        EXPECT_EQ(fitted.image.size(), QSize(32, 24));
        EXPECT_EQ(fitted.fullSize, QSize(64, 48));
        fixtures::expectQuadrants(fitted.image, 0);
    }
}

TEST(RasterDecoding, KeepsTransparencyPremultiplied)
{
    QImage image(20, 10, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 255));
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x)
            image.setPixel(x, y, qRgba(0, 0, 255, 0));
    }
    for (const QByteArray& bytes :
         {fixtures::pngBytes(image), fixtures::convert(fixtures::pngBytes(image), {}, "TIFF:-")}) {
        const QImage decoded = decode(bytes).image;
        EXPECT_EQ(decoded.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(decoded.pixel(2, 2), qRgba(255, 0, 0, 255));
        EXPECT_EQ(qAlpha(decoded.pixel(15, 5)), 0);
    }
}

TEST(RasterDecoding, ReadsPhotoCdAtTheChosenResolution)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.pcd"));
    fixtures::writeFile(path, fixtures::convert(fixtures::pngBytes(fixtures::quadrants({768, 512})), {}, "PCD:-"));
    const std::vector<std::pair<PcdMode, QSize>> resolutions{
        {PcdMode::pcd_BASE16, {192, 128}}, {PcdMode::pcd_BASE4, {384, 256}}, {PcdMode::pcd_BASE, {768, 512}}};
    for (const auto& [mode, size] : resolutions) {
        const auto picture = decode(fixtures::fileBytes(path), {.pcdResolution = mode});
        EXPECT_EQ(picture.format, PictureFormat::Pcd);
        EXPECT_EQ(picture.image.size(), size);
        EXPECT_EQ(picture.fullSize, size);
        // Photo CD's YCC cannot hold the quadrants' exact colours; ImageMagick's own reading of
        // the file at that resolution is the reference.
        const QString geometry = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        const auto reference =
            fixtures::run(QStringLiteral("convert"), {QStringLiteral("-size"), geometry, path, QStringLiteral("-depth"),
                                                      QStringLiteral("8"), QStringLiteral("PPM:-")});
        EXPECT_LE(fixtures::maxDifference(picture.image, QImage::fromData(reference.output, "PPM")), 1);
        EXPECT_LE(fixtures::distance(picture.image, {size.width() / 4, size.height() / 4}, QColor(220, 0, 0)), 40);
    }
}

TEST(RasterDecoding, ReadsATopDownTgaAsWrittenByTheAlbum)
{
    const QByteArray tga = imaging::encode(fixtures::gradient({33, 17}), imaging::SaveFormat::Tga, {});
    const auto picture = decode(tga);
    EXPECT_EQ(picture.format, PictureFormat::Tga);
    EXPECT_EQ(fixtures::maxDifference(picture.image, fixtures::gradient({33, 17})), 0);
}
