// The kinds of today's phones and of the web: HEIC, AVIF and WebP.
#include "child_run.h"
#include "fixtures.h"
#include "imaging/decoder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using fixtures::ChildRun;
using fixtures::runInChild;
using imaging::decode;
using imaging::ErrorCode;
using imaging::PcdMode;
using imaging::PictureFormat;

namespace {

struct Kind {
    const char* name;
    PictureFormat format;
    QByteArray bytes;
    int tolerance; // of the colours after lossy coding
};

// The quadrants picture in each new kind, written by the outside tools.
std::vector<Kind> newKinds(QSize size)
{
    const QByteArray png = fixtures::pngBytes(fixtures::quadrants(size));
    return {
        {"HEIC", PictureFormat::Heic, fixtures::convert(png, {"-quality", "95"}, "HEIC:-"), 12},
        {"AVIF", PictureFormat::Avif, fixtures::convert(png, {"-quality", "95"}, "AVIF:-"), 12},
        {"WebP lossy", PictureFormat::WebP, fixtures::convert(png, {"-quality", "95"}, "WEBP:-"), 12},
        {"WebP lossless", PictureFormat::WebP, fixtures::convert(png, {"-define", "webp:lossless=true"}, "WEBP:-"), 0},
    };
}

} // namespace

TEST(NewFormats, HeicAvifAndWebPAreRecognisedByContentDecodedAndFitted)
{
    for (const Kind& kind : newKinds({64, 48})) {
        SCOPED_TRACE(kind.name);
        ASSERT_FALSE(kind.bytes.isEmpty());
        EXPECT_EQ(imaging::sniffFormat(kind.bytes), kind.format);
        EXPECT_EQ(imaging::probeSize(kind.bytes, PcdMode::pcd_BASE), QSize(64, 48));
        const auto full = decode(kind.bytes);
        EXPECT_EQ(full.format, kind.format);
        EXPECT_EQ(full.fullSize, QSize(64, 48));
        EXPECT_EQ(full.image.format(), QImage::Format_RGB32);
        fixtures::expectQuadrants(full.image, kind.tolerance);
        if (kind.tolerance == 0) {
            EXPECT_EQ(fixtures::maxDifference(full.image, fixtures::quadrants({64, 48})), 0);
        }

        const auto fitted = decode(kind.bytes, {.fitInto = {32, 32}});
        EXPECT_EQ(fitted.image.size(), QSize(32, 24));
        EXPECT_EQ(fitted.fullSize, QSize(64, 48));
        fixtures::expectQuadrants(fitted.image, kind.tolerance + 4);
    }
}

TEST(NewFormats, TransparencyIsKept)
{
    QImage half(40, 20, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            half.setPixel(x, y, qRgba(0, 0, 255, 255));
    QTemporaryDir folder;
    const QString png = folder.filePath("half.png"), heic = folder.filePath("half.heic");
    fixtures::writeFile(png, fixtures::pngBytes(half));
    ASSERT_EQ(fixtures::run("heif-enc", {"-q", "95", png, "-o", heic}).exitCode, 0);
    const std::vector<std::pair<const char*, QByteArray>> pictures{
        {"WebP", fixtures::convert(fixtures::pngBytes(half), {"-define", "webp:lossless=true"}, "WEBP:-")},
        {"HEIC", fixtures::fileBytes(heic)}};
    for (const auto& [name, bytes] : pictures) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(bytes.isEmpty());
        const QImage image = decode(bytes).image;
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_LE(qAlpha(image.pixel(30, 10)), 8);
        EXPECT_LE(fixtures::distance(image, {10, 10}, Qt::blue), 12);
    }
}

TEST(NewFormats, BrandsOfTheFileTypeBoxTellHeicFromAvif)
{
    const auto fileType = [](QByteArray major, const QList<QByteArray>& compatible) {
        QByteArray box = "ftyp" + major + QByteArray(4, '\0');
        for (const QByteArray& brand : compatible)
            box += brand;
        const auto size = static_cast<int>(box.size()) + 4;
        return QByteArray(1, '\0') + char(size >> 16) + char(size >> 8) + char(size) + box + QByteArray(16, '\0');
    };
    EXPECT_EQ(imaging::sniffFormat(fileType("heic", {"mif1", "heic"})), PictureFormat::Heic);
    EXPECT_EQ(imaging::sniffFormat(fileType("mif1", {"mif1", "heix"})), PictureFormat::Heic);
    EXPECT_EQ(imaging::sniffFormat(fileType("avif", {"mif1", "miaf"})), PictureFormat::Avif);
    EXPECT_EQ(imaging::sniffFormat(fileType("mif1", {"avif", "miaf"})), PictureFormat::Avif);
    EXPECT_EQ(fixtures::errorOf([&] { imaging::sniffFormat(fileType("isom", {"mp41", "avc1"})); }),
              ErrorCode::UnknownFormat)
        << "a video is no picture";
    EXPECT_EQ(imaging::sniffFormat(QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16)), PictureFormat::WebP);
    EXPECT_EQ(fixtures::errorOf([] { imaging::sniffFormat(QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16)); }),
              ErrorCode::UnknownFormat)
        << "a sound is no picture";
}

// Cut, garbled and boastful files of the new kinds end in an error, in little memory.
TEST(NewFormats, DamagedAndBoastfulFilesGiveAnError)
{
    for (const Kind& kind : newKinds({256, 192})) {
        SCOPED_TRACE(kind.name);
        std::vector<std::pair<const char*, QByteArray>> hostile{
            {"cut to a third", kind.bytes.left(kind.bytes.size() / 3)},
            {"cut after the header", kind.bytes.left(40)},
        };
        QByteArray garbled = kind.bytes;
        for (qsizetype at = garbled.size() / 2; at < garbled.size(); at += 7)
            garbled[at] = char(garbled[at] ^ 0x5A);
        hostile.emplace_back("garbled in its second half", garbled);
        for (const auto& [what, bytes] : hostile) {
            SCOPED_TRACE(what);
            const ChildRun run = runInChild([&] { decode(bytes, {.fitInto = {100, 100}}); });
            EXPECT_TRUE(run.end == ChildRun::End::Error || run.end == ChildRun::End::Returned)
                << run.describe().toStdString();
            EXPECT_LT(run.peakGrowthMiB, 64);
        }
    }
}

TEST(NewFormats, PicturesAnnouncingTooManyPixelsAreRefusedBeforeDecoding)
{
    const QByteArray png = fixtures::pngBytes(fixtures::quadrants({64, 48}));
    for (const char* output : {"HEIC:-", "AVIF:-", "WEBP:-"}) {
        SCOPED_TRACE(output);
        const QByteArray bytes = fixtures::convert(png, {}, output);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(fixtures::errorOf([&] { decode(bytes, {.pixelLimit = 1000}); }), ErrorCode::TooLarge);
    }
    // A WebP header announcing 16383 × 16383 pixels with no picture data behind it.
    QByteArray boastful("RIFF\x1E\0\0\0WEBPVP8L\x12\0\0\0\x2F", 21);
    const quint32 sides = 16382u | 16382u << 14;
    for (int i = 0; i < 4; ++i)
        boastful.append(char(sides >> (8 * i)));
    boastful.append(QByteArray(13, '\0'));
    const ChildRun run = runInChild([&] { decode(boastful, {.fitInto = {1280, 800}}); });
    EXPECT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
    EXPECT_LT(run.peakGrowthMiB, 64);
}
