#include "fixtures.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>

using imaging::decode;
using imaging::DecodeRequest;
using imaging::ErrorCode;

namespace {

QByteArray encodeJpeg(const QImage& image, int quality)
{
    imaging::SaveSettings settings;
    settings.setJpegQuality(quality);
    return imaging::encode(image, imaging::SaveFormat::Jpg, settings);
}

class JpegDecoding : public testing::Test {
protected:
    static void SetUpTestSuite() { photo = new QByteArray(encodeJpeg(fixtures::quadrants({4000, 3000}), 90)); }
    static void TearDownTestSuite()
    {
        delete photo;
        photo = nullptr;
    }
    static QByteArray* photo;
};

QByteArray* JpegDecoding::photo = nullptr;

} // namespace

TEST_F(JpegDecoding, FitsIntoABoxThroughTheDctScaling)
{
    const auto fitted = decode(*photo, {.fitInto = {800, 600}});
    EXPECT_EQ(fitted.format, imaging::PictureFormat::Jpeg);
    EXPECT_EQ(fitted.fullSize, QSize(4000, 3000));
    EXPECT_EQ(fitted.image.size(), QSize(800, 600));
    EXPECT_EQ(fitted.scaleDenominator, 4); // 1000 x 750 decoded, then shrunk

    const auto wide = decode(*photo, {.fitInto = {1280, 800}});
    EXPECT_EQ(wide.image.size(), QSize(1067, 800));
    EXPECT_EQ(wide.scaleDenominator, 2); // a quarter (1000 wide) would be too small

    // The same picture as a full decode shrunk by Qt, up to filtering differences at the edges.
    const QImage reference = decode(*photo).image.scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(fixtures::meanDifference(fitted.image, reference), 1.5);
    EXPECT_LE(fixtures::distance(fitted.image, {200, 150}, QColor(220, 0, 0)), 6);
    EXPECT_LE(fixtures::distance(fitted.image, {600, 450}, Qt::white), 6);
}

TEST_F(JpegDecoding, NeverEnlarges)
{
    const auto result = decode(encodeJpeg(fixtures::quadrants({120, 80}), 90), {.fitInto = {1280, 800}});
    EXPECT_EQ(result.image.size(), QSize(120, 80));
    EXPECT_EQ(result.scaleDenominator, 1);
}

TEST_F(JpegDecoding, ReportsRisingProgressUpToComplete)
{
    std::vector<int> reported;
    QString status;
    decode(*photo, {.control = {.progress = [&](int percent, const QString& text) {
                        reported.push_back(percent);
                        status = text;
                    }}});
    ASSERT_GE(reported.size(), 10u);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_EQ(reported.back(), 100);
    EXPECT_FALSE(status.isEmpty());
}

TEST_F(JpegDecoding, StopsWhenCancelledFromTheProgressCallback)
{
    const QByteArray progressive =
        fixtures::convert(fixtures::pngBytes(fixtures::quadrants({800, 600})),
                          {QStringLiteral("-interlace"), QStringLiteral("Plane")}, QStringLiteral("JPEG:-"));
    ASSERT_FALSE(progressive.isEmpty());
    for (const QByteArray* picture : std::array<const QByteArray*, 2>{photo, &progressive}) {
        std::atomic_bool cancel = false;
        int last = 0;
        const auto stopAtAThird = [&](int percent, const QString&) {
            last = percent;
            if (percent >= 30)
                cancel = true;
        };
        EXPECT_EQ(fixtures::errorOf([&] {
                      decode(*picture, {.control = {stopAtAThird, &cancel}});
                  }),
                  ErrorCode::Cancelled);
        EXPECT_LT(last, 60);
    }
}

TEST_F(JpegDecoding, ReusesAnUnsharedBufferOfTheRightSize)
{
    QImage previous = decode(*photo, {.fitInto = {800, 600}}).image;
    const uchar* memory = previous.constBits();
    const QImage again = decode(*photo, {.fitInto = {800, 600}, .buffer = std::move(previous)}).image;
    EXPECT_EQ(again.constBits(), memory);

    // A buffer the caller still shows must not be overwritten.
    QImage shown(800, 600, QImage::Format_RGB32);
    shown.fill(Qt::black);
    const QImage copy = shown;
    imaging::DecodeRequest request;
    request.fitInto = {800, 600};
    request.buffer = shown;
    const QImage fresh = decode(*photo, std::move(request)).image;
    EXPECT_NE(fresh.constBits(), copy.constBits());
    EXPECT_EQ(copy.pixel(10, 10), qRgb(0, 0, 0));

    QImage full = decode(*photo).image;
    const uchar* fullMemory = full.constBits();
    EXPECT_EQ(decode(*photo, {.buffer = std::move(full)}).image.constBits(), fullMemory);
}

TEST(JpegColours, GreyStaysGreyAndCmykBecomesRgb)
{
    QImage grey(64, 32, QImage::Format_Grayscale8);
    grey.fill(QColor(90, 90, 90));
    const auto greyResult = decode(encodeJpeg(grey, 95));
    EXPECT_EQ(greyResult.image.format(), QImage::Format_Grayscale8);
    EXPECT_LE(fixtures::distance(greyResult.image, {30, 15}, QColor(90, 90, 90)), 2);

    // ImageMagick writes CMYK JPEGs the Adobe way, with inverted inks.
    const QByteArray cmyk =
        fixtures::convert(fixtures::pngBytes(fixtures::quadrants({64, 64})),
                          {QStringLiteral("-colorspace"), QStringLiteral("CMYK")}, QStringLiteral("JPEG:-"));
    ASSERT_TRUE(cmyk.contains("Adobe"));
    const QImage decoded = decode(cmyk).image;
    EXPECT_LE(fixtures::distance(decoded, {16, 16}, QColor(220, 0, 0)), 12);
    EXPECT_LE(fixtures::distance(decoded, {48, 48}, Qt::white), 12);
    EXPECT_LE(fixtures::distance(decoded, {16, 48}, QColor(0, 0, 210)), 12);
}
