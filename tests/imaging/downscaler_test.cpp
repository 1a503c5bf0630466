#include "imaging/codecs/areadownscaler.h"

#include <gtest/gtest.h>

using imaging::codecs::AreaDownscaler;

namespace {

QImage shrink(const QImage& source, QSize size)
{
    QImage target(size, source.format());
    AreaDownscaler downscaler(source.size(), target);
    for (int y = 0; y < source.height(); ++y)
        downscaler.addRow(source.constScanLine(y));
    return target;
}

QImage greyRows(const std::vector<std::vector<uchar>>& rows)
{
    QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        std::copy(rows[y].begin(), rows[y].end(), image.scanLine(y));
    return image;
}

} // namespace

TEST(AreaDownscaler, KeepsAPlainColourExactAtAnyRatio)
{
    for (const QSize target : {QSize(10, 7), QSize(1, 1), QSize(37, 23), QSize(19, 3)}) {
        QImage source(37, 23, QImage::Format_RGB32);
        source.fill(qRgb(201, 13, 77));
        const QImage result = shrink(source, target);
        for (int y = 0; y < result.height(); ++y) {
            for (int x = 0; x < result.width(); ++x)
                ASSERT_EQ(result.pixel(x, y), qRgb(201, 13, 77)) << x << "," << y << " of " << target.width();
        }
    }
}

TEST(AreaDownscaler, WeighsSourcePixelsByTheAreaTheyCover)
{
    // Three columns into two: each target pixel takes one source pixel and half of the middle one.
    const QImage across = shrink(greyRows({{0, 255, 0}}), QSize(2, 1));
    EXPECT_EQ(across.pixelColor(0, 0).red(), 85);
    EXPECT_EQ(across.pixelColor(1, 0).red(), 85);

    const QImage down = shrink(greyRows({{30}, {90}, {240}}), QSize(1, 2));
    EXPECT_EQ(down.pixelColor(0, 0).red(), 50);  // (30 + 90 / 2) / 1.5
    EXPECT_EQ(down.pixelColor(0, 1).red(), 190); // (90 / 2 + 240) / 1.5

    const QImage halved = shrink(greyRows({{0, 255, 10, 20}, {255, 0, 30, 40}}), QSize(2, 1));
    EXPECT_EQ(halved.pixelColor(0, 0).red(), 128);
    EXPECT_EQ(halved.pixelColor(1, 0).red(), 25);
}
