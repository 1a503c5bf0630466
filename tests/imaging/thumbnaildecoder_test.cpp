// The thumbnail decoder: each slot gets its own picture at thumbnail size, a new page drops
// what is left of the old one, and a damaged picture leaves its slot empty.
#include <QBuffer>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <map>

#include "imaging/thumbnaildecoder.h"

using imaging::ThumbnailDecoder;

namespace {

QByteArray jpegOf(QSize size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

struct Received {
    std::map<int, QImage> bySlot;
    int count = 0;
};

} // namespace

TEST(ThumbnailDecoder, EachSlotGetsItsPictureFittedIntoTheBox)
{
    Received received;
    ThumbnailDecoder decoder(QSize(93, 81), [&received](int slot, QImage image) {
        received.bySlot[slot] = std::move(image);
        ++received.count;
    });
    for (int slot = 1; slot <= 20; ++slot)
        decoder.decode(slot, jpegOf(QSize(1600, 1200), QColor(10 * slot, 100, 50)));
    decoder.wait();
    ASSERT_EQ(received.count, 20);
    for (int slot = 1; slot <= 20; ++slot) {
        const QImage& image = received.bySlot[slot];
        ASSERT_FALSE(image.isNull()) << slot;
        EXPECT_EQ(image.size(), QSize(93, 70)) << "4:3 fitted into 93 × 81";
        EXPECT_NEAR(qRed(image.pixel(40, 30)), 10 * slot, 4) << slot;
    }
}

TEST(ThumbnailDecoder, ANewPageDropsTheResultsOfTheOldOne)
{
    Received received;
    ThumbnailDecoder decoder(QSize(93, 81), [&received](int slot, QImage image) {
        received.bySlot[slot] = std::move(image);
        ++received.count;
    });
    const QByteArray big = jpegOf(QSize(2400, 1800), Qt::red);
    for (int slot = 1; slot <= 20; ++slot)
        decoder.decode(slot, big);
    decoder.newPage();
    decoder.decode(7, jpegOf(QSize(300, 200), Qt::blue));
    decoder.wait();
    // Results of the old page posted before the page turn must not arrive either.
    QCoreApplication::processEvents();
    EXPECT_EQ(received.count, 1);
    ASSERT_TRUE(received.bySlot.count(7));
    EXPECT_EQ(received.bySlot[7].size(), QSize(93, 62));
    EXPECT_GT(qBlue(received.bySlot[7].pixel(10, 10)), 200);
}

TEST(ThumbnailDecoder, ADamagedPictureLeavesItsSlotEmpty)
{
    Received received;
    ThumbnailDecoder decoder(QSize(93, 81), [&received](int slot, QImage image) {
        received.bySlot[slot] = std::move(image);
        ++received.count;
    });
    QByteArray damaged = jpegOf(QSize(200, 100), Qt::green).left(40);
    decoder.decode(1, damaged);
    decoder.decode(2, QByteArray("not a picture at all"));
    decoder.wait();
    EXPECT_EQ(received.count, 2);
    EXPECT_TRUE(received.bySlot[1].isNull());
    EXPECT_TRUE(received.bySlot[2].isNull());
}
