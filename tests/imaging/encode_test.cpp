#include "fixtures.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

using imaging::ErrorCode;
using imaging::SaveFormat;
using imaging::SaveSettings;
using imaging::TiffCompression;

namespace {

class Encoding : public testing::Test {
protected:
    QString save(const QImage& image, SaveFormat format, const SaveSettings& settings, const QString& name)
    {
        const QString path = folder_.filePath(name);
        imaging::encodeToFile(image, path, format, settings);
        return path;
    }

    QTemporaryDir folder_;
};

SaveSettings withTiff(TiffCompression compression)
{
    SaveSettings settings;
    settings.setTiffCompression(compression);
    return settings;
}

QImage halves(QSize size, QRgb left, QRgb right)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, left);
    }
    return image;
}

} // namespace

TEST_F(Encoding, WritesEveryFormatSoOtherReadersAgree)
{
    struct Case {
        SaveFormat format;
        const char* name;
        const char* identified;
    };
    const QImage picture = fixtures::quadrants({64, 48});
    for (const Case& c : {Case{SaveFormat::Jpg, "a.jpg", "JPEG"}, Case{SaveFormat::Gif, "a.gif", "GIF"},
                          Case{SaveFormat::Bmp, "a.bmp", "BMP3"}, Case{SaveFormat::Tif, "a.tif", "TIFF"},
                          Case{SaveFormat::Tga, "a.tga", "TGA"}, Case{SaveFormat::Pcx, "a.pcx", "PCX"},
                          Case{SaveFormat::Png, "a.png", "PNG"}}) {
        SCOPED_TRACE(c.name);
        const QString path = save(picture, c.format, {}, QString::fromLatin1(c.name));
        EXPECT_EQ(fixtures::identify(path, QStringLiteral("%m %w %h")), QStringLiteral("%1 64 48").arg(c.identified));
        const QImage decoded = imaging::decode(fixtures::fileBytes(path)).image;
        if (c.format == SaveFormat::Jpg) { // lossy, and blurred along the quadrants' borders
            EXPECT_LT(fixtures::meanDifference(fixtures::readWithImageMagick(path), picture), 4.0);
            EXPECT_LT(fixtures::meanDifference(decoded, picture), 4.0);
        } else {
            EXPECT_EQ(fixtures::maxDifference(fixtures::readWithImageMagick(path), picture), 0);
            EXPECT_EQ(fixtures::maxDifference(decoded, picture), 0);
        }
    }
}

TEST_F(Encoding, JpegQualityAndSmoothingReachTheFile)
{
    const QImage picture = fixtures::gradient({200, 150});
    SaveSettings settings;
    settings.setJpegQuality(10);
    const QString low = save(picture, SaveFormat::Jpg, settings, QStringLiteral("low.jpg"));
    settings.setJpegQuality(90);
    const QString high = save(picture, SaveFormat::Jpg, settings, QStringLiteral("high.jpg"));
    EXPECT_EQ(fixtures::identify(low, QStringLiteral("%Q")), QStringLiteral("10"));
    EXPECT_EQ(fixtures::identify(high, QStringLiteral("%Q")), QStringLiteral("90"));
    EXPECT_GT(QFile(high).size(), 2 * QFile(low).size());

    settings.setJpegSmoothing(80);
    const QByteArray smoothed = imaging::encode(picture, SaveFormat::Jpg, settings);
    EXPECT_NE(smoothed, fixtures::fileBytes(high));
    EXPECT_LT(smoothed.size(), fixtures::fileBytes(high).size());
}

TEST_F(Encoding, TiffCompressionModesAreWhatTiffinfoReports)
{
    // Dark and light grey: black and white once made bilevel.
    const QImage picture = halves({64, 40}, qRgb(60, 60, 60), qRgb(200, 200, 200));
    const std::vector<std::tuple<TiffCompression, const char*, int>> modes{
        {TiffCompression::sNONE, "None", 8},
        {TiffCompression::sCCITT, "CCITT RLE", 1},
        {TiffCompression::sFAXCCITT3, "CCITT Group 3", 1},
        {TiffCompression::sFAXCCITT4, "CCITT Group 4", 1},
        {TiffCompression::sLZW, "LZW", 8},
        {TiffCompression::sPACKBITS, "PackBits", 8},
    };
    for (const auto& [compression, scheme, bits] : modes) {
        SCOPED_TRACE(scheme);
        const QString path = save(picture, SaveFormat::Tif, withTiff(compression), QStringLiteral("t.tif"));
        const QString info = QString::fromLocal8Bit(fixtures::run(QStringLiteral("tiffinfo"), {path}).output);
        EXPECT_TRUE(info.contains(QStringLiteral("Compression Scheme: %1\n").arg(QLatin1String(scheme))))
            << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Bits/Sample: %1\n").arg(bits))) << info.toStdString();
        const QImage readBack = fixtures::readWithImageMagick(path);
        const QImage expected = bits == 1 ? halves({64, 40}, qRgb(0, 0, 0), qRgb(255, 255, 255)) : picture;
        EXPECT_EQ(fixtures::maxDifference(readBack, expected), 0);
        EXPECT_EQ(fixtures::maxDifference(imaging::decode(fixtures::fileBytes(path)).image, expected), 0);
    }
}

TEST_F(Encoding, PngInterlacesOnlyWhenAsked)
{
    SaveSettings settings;
    const QString plain = save(fixtures::gradient({50, 40}), SaveFormat::Png, settings, QStringLiteral("p.png"));
    settings.setPngInterlaced(true);
    const QString interlaced = save(fixtures::gradient({50, 40}), SaveFormat::Png, settings, QStringLiteral("i.png"));
    EXPECT_EQ(fixtures::identify(plain, QStringLiteral("%[interlace]")), QStringLiteral("None"));
    EXPECT_EQ(fixtures::identify(interlaced, QStringLiteral("%[interlace]")), QStringLiteral("PNG"));
    EXPECT_EQ(fixtures::maxDifference(fixtures::readWithImageMagick(interlaced), fixtures::gradient({50, 40})), 0);
}

TEST_F(Encoding, TgaIsUprightForImageMagickAndGraphicsMagick)
{
    const QImage picture = fixtures::gradient({37, 21});
    const QString path = save(picture, SaveFormat::Tga, {}, QStringLiteral("o.tga"));
    EXPECT_EQ(fixtures::maxDifference(fixtures::readWithImageMagick(path), picture), 0);
    EXPECT_EQ(fixtures::maxDifference(fixtures::readWithGraphicsMagick(path), picture), 0);
}

TEST_F(Encoding, EpsRendersInGhostscriptAsThePicture)
{
    const QImage picture = fixtures::gradient({61, 43});
    const QString path = save(picture, SaveFormat::Eps, {}, QStringLiteral("e.eps"));
    const QByteArray eps = fixtures::fileBytes(path);
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    EXPECT_TRUE(eps.contains("%%BoundingBox: 0 0 61 43\n"));
    const auto gs = fixtures::run(QStringLiteral("gs"),
                                  {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                                   QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"), QStringLiteral("-r72"),
                                   QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-sOutputFile=%stdout"), path});
    ASSERT_EQ(gs.exitCode, 0) << gs.errors.toStdString();
    EXPECT_EQ(fixtures::maxDifference(QImage::fromData(gs.output, "PNG"), picture), 0);
}

TEST_F(Encoding, FormatsWithoutTransparencyPutThePictureOnWhite)
{
    QImage halfClear(20, 10, QImage::Format_ARGB32);
    halfClear.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            halfClear.setPixel(x, y, qRgba(0, 0, 255, 255));
    }
    const QImage jpeg = imaging::decode(imaging::encode(halfClear, SaveFormat::Jpg, {})).image;
    EXPECT_LE(fixtures::distance(jpeg, {16, 5}, Qt::white), 10);
    EXPECT_LE(fixtures::distance(jpeg, {3, 5}, Qt::blue), 30);
    const QImage png = imaging::decode(imaging::encode(halfClear, SaveFormat::Png, {})).image;
    EXPECT_EQ(qAlpha(png.pixel(16, 5)), 0);
}

TEST_F(Encoding, CancelledSaveLeavesNoFile)
{
    std::atomic_bool cancel = false;
    const imaging::TaskControl control{[&](int percent, const QString&) { cancel = percent >= 10; }, &cancel};
    const QString path = folder_.filePath(QStringLiteral("never.tif"));
    EXPECT_EQ(fixtures::errorOf([&] {
                  imaging::encodeToFile(fixtures::gradient({300, 300}), path, SaveFormat::Tif, {}, control);
              }),
              ErrorCode::Cancelled);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(fixtures::errorOf([] { imaging::encode(QImage(), SaveFormat::Png, {}); }), ErrorCode::NothingToSave);
}

TEST(SaveFormats, FollowTheFileSuffix)
{
    EXPECT_EQ(imaging::saveFormatForFileName(QStringLiteral("/a/b.JPEG")), SaveFormat::Jpg);
    EXPECT_EQ(imaging::saveFormatForFileName(QStringLiteral("b.tiff")), SaveFormat::Tif);
    EXPECT_EQ(imaging::saveFormatForFileName(QStringLiteral("x.y.pcx")), SaveFormat::Pcx);
    EXPECT_EQ(imaging::saveFormatForFileName(QStringLiteral("c.eps")), SaveFormat::Eps);
    EXPECT_EQ(fixtures::errorOf([] { imaging::saveFormatForFileName(QStringLiteral("d.webp")); }),
              ErrorCode::UnknownFormat);
}
