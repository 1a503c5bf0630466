// Pictures with a colour profile of their own are shown in the sRGB colours the profile means,
// and exported in their own colours with their profile where the format can hold one.
#include "fixtures.h"
#include "heifwriter.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QColorSpace>
#include <QTemporaryDir>

using imaging::decode;
using imaging::SaveFormat;

namespace {

// sRGB's pure red written in Display P3 coordinates: a P3 picture of this colour means sRGB red.
const QRgb srgbRedInDisplayP3 = qRgb(234, 51, 35);

QByteArray written(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

} // namespace

TEST(TrueColours, ADisplayP3PicturesRedIsShownAsTheSrgbRedItMeans)
{
    QImage p3(64, 48, QImage::Format_RGB32);
    p3.fill(srgbRedInDisplayP3);
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    QTemporaryDir folder;
    const QString png = folder.filePath("p3.png");
    fixtures::writeFile(png, written(p3, "PNG"));
    const QString webp = folder.filePath("p3.webp"), heic = folder.filePath("p3.heic"), avif = folder.filePath("p3.avif");
    ASSERT_EQ(fixtures::run("cwebp", {"-quiet", "-lossless", "-metadata", "icc", png, "-o", webp}).exitCode, 0);
    ASSERT_EQ(fixtures::run("heif-enc", {"-L", "-p", "chroma=444", png, "-o", heic}).exitCode, 0);
    ASSERT_EQ(fixtures::run("heif-enc", {"-q", "100", png, "-o", avif}).exitCode, 0);
    const QByteArray pngBytes = fixtures::fileBytes(png);

    const std::vector<std::pair<const char*, QByteArray>> pictures{
        {"JPEG", written(p3, "JPG")},
        {"PNG", pngBytes},
        {"TIFF", fixtures::convert(pngBytes, {}, "TIFF:-")},
        {"WebP", fixtures::fileBytes(webp)},
        {"HEIC", fixtures::fileBytes(heic)},
        {"AVIF", fixtures::fileBytes(avif)},
    };
    for (const auto& [name, bytes] : pictures) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QStringLiteral("check.") + name);
        fixtures::writeFile(path, bytes);
        // ImageMagick does not tell the profiles of HEIF files; libheif's own tool does.
        const bool heif = QByteArrayView(name) == "HEIC" || QByteArrayView(name) == "AVIF";
        ASSERT_TRUE(heif ? fixtures::run("heif-info", {path}).output.contains("color profile: prof")
                         : !fixtures::identify(path, "%[profile:icc]").isEmpty())
            << "the file carries the profile";
        const auto picture = decode(bytes);
        EXPECT_LE(fixtures::distance(picture.image, {32, 24}, QColor(255, 0, 0)), 8);
        EXPECT_FALSE(picture.image.colorSpace().isValid()) << "handed out plainly, like every picture";
        const auto fitted = decode(bytes, {.fitInto = {16, 16}});
        EXPECT_LE(fixtures::distance(fitted.image, {8, 6}, QColor(255, 0, 0)), 8);
    }
}

// HEIF files mostly describe their colours by code points rather than an ICC profile.
TEST(TrueColours, AHeifPictureMarkedDisplayP3IsShownInSrgb)
{
    QImage plain(64, 48, QImage::Format_RGB32);
    plain.fill(srgbRedInDisplayP3);
    for (const bool avif : {false, true}) {
        SCOPED_TRACE(avif ? "AVIF" : "HEIC");
        const QByteArray bytes = fixtures::heifBytes(plain, {.avif = avif, .quality = 95, .displayP3 = true});
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_LE(fixtures::distance(decode(bytes).image, {32, 24}, QColor(255, 0, 0)), 8);
        const QByteArray unmarked = fixtures::heifBytes(plain, {.avif = avif, .quality = 95});
        EXPECT_LE(fixtures::distance(decode(unmarked).image, {32, 24}, QColor(srgbRedInDisplayP3)), 8);
    }
}

TEST(TrueColours, PicturesWithoutAProfileKeepTheirValues)
{
    QImage plain(64, 48, QImage::Format_RGB32);
    plain.fill(srgbRedInDisplayP3);
    const QByteArray png = fixtures::pngBytes(plain);
    // ImageMagick notes sRGB's gamma and primaries in chunks of their own: not a profile.
    const QByteArray noted = fixtures::convert(png, {}, "PNG:-");
    for (const QByteArray& bytes : {png, noted, written(plain, "JPG")})
        EXPECT_LE(fixtures::distance(decode(bytes).image, {32, 24}, QColor(srgbRedInDisplayP3)), 2);
}

namespace {

struct Exported {
    SaveFormat format;
    const char* name;
};

// The formats that hold an ICC profile, and those that do not.
const std::vector<Exported> holdingAProfile{{SaveFormat::Jpg, "a.jpg"}, {SaveFormat::Png, "a.png"}, {SaveFormat::Tif, "a.tif"}};
const std::vector<Exported> withoutAProfile{
    {SaveFormat::Bmp, "a.bmp"}, {SaveFormat::Gif, "a.gif"}, {SaveFormat::Tga, "a.tga"}, {SaveFormat::Pcx, "a.pcx"}};

QImage filled(QRgb colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(TrueColours, ADisplayP3PictureAskedInItsOwnColoursKeepsThemAndItsColourSpace)
{
    QImage p3 = filled(srgbRedInDisplayP3);
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const auto own = decode(written(p3, "JPG"), {.keepOwnColours = true});
    EXPECT_TRUE(own.ownColours);
    EXPECT_EQ(own.image.colorSpace(), QColorSpace(QColorSpace::DisplayP3));
    EXPECT_LE(fixtures::distance(own.image, {32, 24}, QColor(srgbRedInDisplayP3)), 2);
    const auto shown = decode(written(p3, "JPG"));
    EXPECT_TRUE(shown.ownColours) << "told even when converted";
    EXPECT_LE(fixtures::distance(shown.image, {32, 24}, QColor(255, 0, 0)), 8);

    const auto plain = decode(written(filled(srgbRedInDisplayP3), "JPG"), {.keepOwnColours = true});
    EXPECT_FALSE(plain.ownColours);
    EXPECT_FALSE(plain.image.colorSpace().isValid());
}

TEST(TrueColours, ExportWritesAPictureInItsOwnColoursWithItsProfileWhereTheFormatHoldsOne)
{
    QImage p3 = filled(srgbRedInDisplayP3);
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    QTemporaryDir folder;
    for (const auto& [format, name] : holdingAProfile) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QString::fromLatin1(name));
        imaging::encodeToFile(p3, path, format, {});
        EXPECT_FALSE(fixtures::identify(path, "%[profile:icc]").isEmpty()) << "the file carries a profile";
        // ImageMagick reads the values as written: the picture's own, not converted.
        EXPECT_LE(fixtures::distance(fixtures::readWithImageMagick(path), {32, 24}, QColor(srgbRedInDisplayP3)), 2);
        const auto again = decode(fixtures::fileBytes(path), {.keepOwnColours = true});
        EXPECT_EQ(again.image.colorSpace(), QColorSpace(QColorSpace::DisplayP3)) << "the profile is Display P3's";
        EXPECT_LE(fixtures::distance(decode(fixtures::fileBytes(path)).image, {32, 24}, QColor(255, 0, 0)), 8);
    }
    for (const auto& [format, name] : withoutAProfile) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QString::fromLatin1(name));
        imaging::encodeToFile(p3, path, format, {});
        EXPECT_TRUE(fixtures::identify(path, "%[profile:icc]").isEmpty());
        EXPECT_LE(fixtures::distance(fixtures::readWithImageMagick(path), {32, 24}, QColor(255, 0, 0)), 8)
            << "the sRGB red it means";
    }
    // Two-tone TIFF has no room for colour profiles either.
    imaging::SaveSettings fax;
    fax.setTiffCompression(imaging::TiffCompression::sFAXCCITT4);
    const QString bilevel = folder.filePath("fax.tif");
    imaging::encodeToFile(p3, bilevel, SaveFormat::Tif, fax);
    EXPECT_TRUE(fixtures::identify(bilevel, "%[profile:icc]").isEmpty());
}

// HEIF files marked Display P3 by code points carry no profile to copy: one is made for export.
TEST(TrueColours, AHeifPictureMarkedDisplayP3IsExportedWithADisplayP3Profile)
{
    const QByteArray heic = fixtures::heifBytes(filled(srgbRedInDisplayP3), {.quality = 95, .displayP3 = true});
    ASSERT_FALSE(heic.isEmpty());
    const auto own = decode(heic, {.keepOwnColours = true});
    ASSERT_TRUE(own.ownColours);
    QTemporaryDir folder;
    const QString path = folder.filePath("heic.png");
    imaging::encodeToFile(own.image, path, SaveFormat::Png, {});
    EXPECT_FALSE(fixtures::identify(path, "%[profile:icc]").isEmpty());
    EXPECT_LE(fixtures::distance(fixtures::readWithImageMagick(path), {32, 24}, QColor(srgbRedInDisplayP3)), 8);
    EXPECT_LE(fixtures::distance(decode(fixtures::fileBytes(path)).image, {32, 24}, QColor(255, 0, 0)), 8);
}

TEST(TrueColours, APictureWithoutAProfileIsExportedWithoutOne)
{
    QTemporaryDir folder;
    for (const auto& [format, name] : holdingAProfile) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QString::fromLatin1(name));
        imaging::encodeToFile(filled(srgbRedInDisplayP3), path, format, {});
        EXPECT_TRUE(fixtures::identify(path, "%[profile:icc]").isEmpty());
        EXPECT_LE(fixtures::distance(fixtures::readWithImageMagick(path), {32, 24}, QColor(srgbRedInDisplayP3)), 2);
    }
}
