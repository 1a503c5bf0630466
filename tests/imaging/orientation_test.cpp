// Pictures stored sideways or mirrored, with an EXIF orientation tag, come out of the decoder
// upright, at their upright size, fitted as the upright picture.
#include "fixtures.h"
#include "exifjpeg.h"
#include "heifwriter.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"
#include "imaging/orientation.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

using imaging::decode;
using imaging::Orientation;
using imaging::PcdMode;
using testexif::Entry;
using testexif::exifBlock;
using testexif::tiffStructure;
using testexif::withExif;

namespace {

QByteArray goodJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

const QColor red(220, 0, 0), green(0, 200, 0), blue(0, 0, 210), white(Qt::white);

struct Corners {
    QColor topLeft;
    QColor topRight;
};

void expectCorners(const QImage& image, Corners corners)
{
    const int inset = std::max(2, image.width() / 8);
    EXPECT_LE(fixtures::distance(image, {inset, inset}, corners.topLeft), 16);
    EXPECT_LE(fixtures::distance(image, {image.width() - 1 - inset, inset}, corners.topRight), 16);
}

} // namespace

// The stored quadrants: red top left, green top right, blue bottom left, white bottom right.
// Each orientation puts a different pair of colours into the upright top corners.
TEST(UprightPictures, EachOfTheEightJpegOrientationsStandsUprightAsImageMagickTurnsIt)
{
    const QSize stored(60, 40);
    const QByteArray jpeg = goodJpeg(fixtures::quadrants(stored));
    const std::array<Corners, 8> expected{{{red, green},
                                           {green, red},
                                           {white, blue},
                                           {blue, white},
                                           {red, blue},
                                           {blue, red},
                                           {white, green},
                                           {green, white}}};
    for (int value = 1; value <= 8; ++value) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(testing::Message() << "orientation " << value << (bigEndian ? ", big-endian" : ""));
            const QByteArray tagged = withExif(jpeg, exifBlock(value, bigEndian));
            const QSize upright = value >= 5 ? stored.transposed() : stored;
            const auto picture = decode(tagged);
            EXPECT_EQ(picture.fullSize, upright);
            EXPECT_EQ(picture.image.size(), upright);
            EXPECT_EQ(imaging::probeSize(tagged, PcdMode::pcd_BASE), upright) << "from the headers alone";
            expectCorners(picture.image, expected[value - 1]);

            const QImage byImageMagick = QImage::fromData(fixtures::convert(tagged, {"-auto-orient"}, "PNG:-"));
            ASSERT_EQ(byImageMagick.size(), upright);
            EXPECT_LT(fixtures::meanDifference(picture.image, byImageMagick.convertToFormat(QImage::Format_RGB32)), 3.0);

            const auto fitted = decode(tagged, {.fitInto = {30, 30}});
            EXPECT_EQ(fitted.image.size(), value >= 5 ? QSize(20, 30) : QSize(30, 20));
            EXPECT_EQ(fitted.fullSize, upright);
            expectCorners(fitted.image, expected[value - 1]);
        }
    }
}

TEST(UprightPictures, APortraitPhotoStoredSidewaysIsFittedAsPortrait)
{
    // A 6000 × 4000 photo tagged "turn a quarter clockwise", at a sixth of the size.
    const QByteArray photo = withExif(goodJpeg(fixtures::quadrants({1200, 800})), exifBlock(6, true));
    const auto inWindow = decode(photo, {.fitInto = {1280, 800}});
    EXPECT_EQ(inWindow.fullSize, QSize(800, 1200));
    EXPECT_EQ(inWindow.image.size(), QSize(533, 800)) << "fitted by its height, as a portrait";
    // Reduced while decoding by the side that is upright's width.
    const auto small = decode(photo, {.fitInto = {200, 300}});
    EXPECT_EQ(small.image.size(), QSize(200, 300));
    EXPECT_EQ(small.scaleDenominator, 4);
    expectCorners(small.image, {blue, red});
}

TEST(UprightPictures, TurnedPicturesKeepTheirPixelFormat)
{
    QImage grey(60, 40, QImage::Format_Grayscale8);
    grey.fill(0);
    for (int y = 0; y < 20; ++y)
        std::fill_n(grey.scanLine(y), 30, uchar(255)); // white top left
    const auto turned = decode(withExif(goodJpeg(grey), exifBlock(8, false)));
    EXPECT_EQ(turned.image.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(turned.image.size(), QSize(40, 60));
    EXPECT_GT(qGray(turned.image.pixel(8, 52)), 200) << "the white corner is now bottom left";
    EXPECT_LT(qGray(turned.image.pixel(8, 8)), 50);

    QImage translucent(60, 40, QImage::Format_ARGB32);
    translucent.fill(Qt::transparent);
    const auto fromPng = decode(fixtures::convert(fixtures::pngBytes(translucent), {"-orient", "RightTop"}, "TIFF:-"));
    EXPECT_EQ(fromPng.image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(fromPng.image.size(), QSize(40, 60));
}

TEST(UprightPictures, TiffAndWebPTagsAreAppliedToo)
{
    const QByteArray png = fixtures::pngBytes(fixtures::quadrants({60, 40}));
    const QByteArray tiff = fixtures::convert(png, {"-orient", "RightTop"}, "TIFF:-");
    ASSERT_FALSE(tiff.isEmpty());
    const auto fromTiff = decode(tiff);
    EXPECT_EQ(fromTiff.image.size(), QSize(40, 60));
    expectCorners(fromTiff.image, {blue, red});

    QTemporaryDir folder;
    const QString plain = folder.filePath("plain.webp"), tagged = folder.filePath("tagged.webp");
    const QString exif = folder.filePath("exif");
    fixtures::writeFile(folder.filePath("in.png"), png);
    fixtures::writeFile(exif, tiffStructure({{0x0112, 3, 1, 8}}, false));
    ASSERT_EQ(fixtures::run("cwebp", {"-quiet", "-lossless", folder.filePath("in.png"), "-o", plain}).exitCode, 0);
    ASSERT_EQ(fixtures::run("webpmux", {"-set", "exif", exif, plain, "-o", tagged}).exitCode, 0);
    const QByteArray webp = fixtures::fileBytes(tagged);
    const auto fromWebP = decode(webp);
    EXPECT_EQ(fromWebP.image.size(), QSize(40, 60));
    EXPECT_EQ(imaging::probeSize(webp, PcdMode::pcd_BASE), QSize(40, 60));
    expectCorners(fromWebP.image, {green, white});
}

// Phones turn HEIF pictures with the container's own properties and often tell the same turn in
// the EXIF block too; tools that convert from JPEG copy only the EXIF block. Either way the
// picture is turned once.
TEST(UprightPictures, HeifPicturesTurnedByTheirContainerOrTheirExifTagAreTurnedOnce)
{
    const QImage stored = fixtures::quadrants({64, 48});
    struct Case {
        const char* name;
        fixtures::HeifWriting how;
        QSize upright;
        Corners corners;
    };
    const auto exif = [](int value) { return tiffStructure({{0x0112, 3, 1, static_cast<quint16>(value)}}, true); };
    const std::vector<Case> cases{
        {"container and EXIF a quarter clockwise", {.containerTurn = 6, .exif = exif(6)}, {48, 64}, {blue, red}},
        {"EXIF alone a quarter clockwise", {.exif = exif(6)}, {48, 64}, {blue, red}},
        {"container and EXIF half round", {.containerTurn = 3, .exif = exif(3)}, {64, 48}, {white, blue}},
        {"container mirrored, EXIF saying otherwise", {.containerTurn = 2, .exif = exif(8)}, {64, 48}, {green, red}},
        {"AVIF, container a quarter anticlockwise", {.avif = true, .containerTurn = 8}, {48, 64}, {green, white}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::HeifWriting how = c.how;
        how.quality = 95;
        const QByteArray bytes = fixtures::heifBytes(stored, how);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(imaging::probeSize(bytes, PcdMode::pcd_BASE), c.upright);
        const auto picture = decode(bytes);
        EXPECT_EQ(picture.fullSize, c.upright);
        EXPECT_EQ(picture.image.size(), c.upright);
        expectCorners(picture.image, c.corners);
        const auto fitted = decode(bytes, {.fitInto = {32, 32}});
        EXPECT_EQ(fitted.image.size(), c.upright.scaled(32, 32, Qt::KeepAspectRatio));
        expectCorners(fitted.image, c.corners);
    }
}

// What an effect or a re-encoding writes is the upright picture without a tag, so it is not
// turned a second time when it is read back.
TEST(UprightPictures, AnUprightPictureReEncodedCarriesNoOrientationAndReadsBackTheSame)
{
    const QByteArray tagged = withExif(goodJpeg(fixtures::quadrants({60, 40})), exifBlock(6, false));
    const QImage upright = decode(tagged).image;
    QTemporaryDir folder;
    for (const imaging::SaveFormat format : {imaging::SaveFormat::Jpg, imaging::SaveFormat::Tif}) {
        const QString path = folder.filePath(format == imaging::SaveFormat::Jpg ? "again.jpg" : "again.tif");
        imaging::encodeToFile(upright, path, format, {});
        SCOPED_TRACE(path.toStdString());
        const QString told = fixtures::identify(path, "%[orientation]");
        EXPECT_TRUE(told == "Undefined" || told == "TopLeft") << told.toStdString();
        const QByteArray written = fixtures::fileBytes(path);
        EXPECT_EQ(imaging::storedOrientation(written, imaging::sniffFormat(written)), Orientation::TopLeft);
        const QImage readBack = decode(written).image;
        EXPECT_EQ(readBack.size(), QSize(40, 60));
        expectCorners(readBack, {blue, red});
    }
}

TEST(UprightPictures, DamagedOrStrangeTagsLeaveThePictureAsStored)
{
    const QByteArray good = tiffStructure({{0x0112, 3, 1, 6}}, true);
    EXPECT_EQ(imaging::exifOrientation(good), Orientation::RightTop);
    const std::vector<std::pair<const char*, QByteArray>> cases{
        {"value 0", tiffStructure({{0x0112, 3, 1, 0}}, true)},
        {"value 9", tiffStructure({{0x0112, 3, 1, 9}}, false)},
        {"a LONG instead of a SHORT", tiffStructure({{0x0112, 4, 1, 6}}, false)},
        {"a count of two", tiffStructure({{0x0112, 3, 2, 6}}, false)},
        {"cut inside the entry", good.left(16)},
        {"no byte order", "XX" + good.mid(2)},
        {"directory beyond the end", good.left(4) + QByteArray("\x7F\xFF\xFF\xFF", 4) + good.mid(8)},
        {"65535 entries announced, none of them the tag",
         tiffStructure({{0x0100, 3, 1, 6}}, true).left(8) + QByteArray("\xFF\xFF", 2) + good.mid(10, 2)},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(imaging::exifOrientation(bytes), Orientation::TopLeft);
    }
    // Entries that are there are read; an announced count does not lead past the end.
    EXPECT_EQ(imaging::exifOrientation(good.left(8) + QByteArray("\xFF\xFF", 2) + good.mid(10)), Orientation::RightTop);
    // A JPEG whose EXIF segment claims more bytes than the file has.
    QByteArray overlong = withExif(goodJpeg(fixtures::quadrants({60, 40})), exifBlock(6, true));
    overlong[4] = '\x7F';
    EXPECT_EQ(imaging::storedOrientation(overlong, imaging::PictureFormat::Jpeg), Orientation::TopLeft);
}
