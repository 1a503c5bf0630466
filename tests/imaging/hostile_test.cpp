// Hostile pictures: each asks its decoder for unbounded work. Decodes run in a child process
// with 1 GiB of room and 30 seconds, so a decoder that does what they ask fails here instead
// of exhausting the machine.
#include "child_run.h"
#include "fixtures.h"
#include "hostile_pictures.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <atomic>
#include <gtest/gtest.h>

using fixtures::ChildRun;
using fixtures::runInChild;
using imaging::decode;
using imaging::ErrorCode;

namespace {

// Memory a decode that gives up early may take; a runaway decode takes gigabytes.
constexpr long modestMiB = 256;

// Decodes with a cancel request raised from the decoder's own progress report once `when`
// holds for the percentage, so the moment does not depend on timing.
void decodeCancelledWhen(const QByteArray& bytes, const std::function<bool(int)>& when)
{
    std::atomic_bool cancel{false};
    imaging::DecodeRequest request;
    request.control.cancel = &cancel;
    request.control.progress = [&](int percent, const QString&) {
        if (when(percent))
            cancel = true;
    };
    decode(bytes, std::move(request));
}

} // namespace

TEST(HostileDrawings, EndQuicklyWithAnErrorInLittleMemory)
{
    const std::vector<std::tuple<const char*, QByteArray, ErrorCode>> cases{
        {"self-inserting block", hostile::selfInsertingBlock(), ErrorCode::DamagedPicture},
        {"polyline declaring 2^31 - 1 vertices", hostile::polylineDeclaringBillionsOfVertices(),
         ErrorCode::DamagedPicture},
        {"32767 x 32767 inserts", hostile::insertArray(), ErrorCode::TooLarge},
        {"20^7 nested inserts", hostile::nestedInserts(), ErrorCode::TooLarge},
    };
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        const ChildRun run = runInChild([&] { decode(bytes, {.fitInto = {640, 480}}); });
        EXPECT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
        if (run.end == ChildRun::End::Error) {
            EXPECT_EQ(run.code, expected) << run.text.toStdString();
        }
        EXPECT_LT(run.peakGrowthMiB, modestMiB);
    }
}

// Angles are turned into one turn at most: an arc to 10^9 degrees is the arc to 280 degrees.
TEST(HostileDrawings, AnArcOfAnyAngleIsDrawnOnceAround)
{
    QImage drawn;
    const ChildRun run = runInChild([&] {
        const QImage image = decode(hostile::arcOfBillionDegrees()).image;
        // Where the arc should and should not run, on a unit circle drawn into 1024 pixels
        // less the margins: angle 90 at the top, 300 lower right, 0 at the right.
        const auto darkAt = [&](double degrees) {
            const double radians = degrees * M_PI / 180.0;
            const QPointF centre(image.width() / 2.0, image.height() / 2.0);
            const QPointF at = centre + QPointF(std::cos(radians), -std::sin(radians)) * (image.width() / 2.0 - 10.24);
            int darkest = 255;
            for (int dy = -3; dy <= 3; ++dy) {
                for (int dx = -3; dx <= 3; ++dx) {
                    const QPoint pixel = at.toPoint() + QPoint(dx, dy);
                    if (image.rect().contains(pixel))
                        darkest = std::min(darkest, qGray(image.pixel(pixel)));
                }
            }
            return darkest < 128;
        };
        if (!darkAt(90) || !darkAt(180) || !darkAt(270) || darkAt(315))
            throw std::runtime_error("the arc is not the arc from 0 to 280 degrees");
    });
    EXPECT_EQ(run.end, ChildRun::End::Returned) << run.describe().toStdString();
    EXPECT_LT(run.peakGrowthMiB, modestMiB);
}

// ImageMagick's drawing cannot be bounded by counting; it is stopped at the time limit.
TEST(HostileMetafiles, DrawingOverAndOverStopsAtTheTimeLimit)
{
    const ChildRun run = runInChild([] {
        imaging::DecodeRequest request;
        request.timeLimit = std::chrono::seconds(1);
        decode(hostile::metafileFilledOverAndOver(), std::move(request));
    });
    ASSERT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
    EXPECT_EQ(run.code, ErrorCode::TooLarge) << run.text.toStdString();
}

TEST(HostilePostScript, AnEndlessProgramStopsAtTheTimeLimit)
{
    const ChildRun run = runInChild([] {
        imaging::DecodeRequest request;
        request.timeLimit = std::chrono::seconds(1);
        decode(hostile::endlessEps(), std::move(request));
    });
    ASSERT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
    EXPECT_EQ(run.code, ErrorCode::ToolFailed) << run.text.toStdString();
}

TEST(HostilePostScript, EndlessPrintingEndsQuicklyWithAnErrorInLittleMemory)
{
    const ChildRun run = runInChild([] { decode(hostile::endlesslyPrintingEps()); });
    ASSERT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
    EXPECT_EQ(run.code, ErrorCode::ToolFailed) << run.text.toStdString();
    EXPECT_LT(run.peakGrowthMiB, modestMiB);
}

TEST(HostilePostScript, GhostscriptGetsLimitedMemory)
{
    const ChildRun run = runInChild([] { decode(hostile::memoryHungryEps()); }, 4096);
    ASSERT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
    EXPECT_LT(run.programPeakMiB, 768) << "Ghostscript's peak memory";
}

TEST(Cancelling, EveryDecoderStopsPromptlyAtACancelRequest)
{
    const QImage picture = fixtures::quadrants({2000, 1500});
    const QByteArray png = fixtures::pngBytes(picture);
    // 20^4 lines: a drawing within every limit that takes a while to draw.
    const QByteArray drawing = hostile::nestedInserts(4);
    const std::vector<std::tuple<const char*, QByteArray, std::function<bool(int)>>> cases{
        {"DXF while drawing", drawing, [](int percent) { return percent > 90; }},
        {"JPEG", imaging::encode(picture, imaging::SaveFormat::Jpg, {}), [](int percent) { return percent > 0; }},
        {"TIFF", fixtures::convert(png, {}, "TIFF:-"), [](int percent) { return percent > 0; }},
        {"WMF", hostile::metafileFilledOverAndOver(), [](int percent) { return percent > 0; }},
        {"EPS", hostile::endlessEps(), [](int) { return true; }},
    };
    for (const auto& [name, bytes, when] : cases) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(bytes.isEmpty());
        const ChildRun run = runInChild([&] { decodeCancelledWhen(bytes, when); });
        ASSERT_EQ(run.end, ChildRun::End::Error) << run.describe().toStdString();
        EXPECT_EQ(run.code, ErrorCode::Cancelled) << run.text.toStdString();
    }
}
