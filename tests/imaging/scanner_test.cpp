// Scanning against SANE's "test" backend, the virtual devices test:0 and test:1, through a
// private SANE configuration that loads no other backend.
#include "imaging/error.h"
#include "imaging/scanner.h"
#include "imaging/scanning/pictureassembler.h"
#include "support/sanetestbackend.h"
#include "support/tempdir.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <QColor>
#include <QImage>
#include <set>
#include <thread>

using imaging::Error;
using imaging::ErrorCode;
using imaging::ScanSettings;
using imaging::TaskControl;
using Options = std::vector<std::pair<QString, QString>>;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

void writeBackendList(const TempDir& config, const char* backends)
{
    std::ofstream(config / "dll.conf") << backends;
}

// SANE reads SANE_CONFIG_DIR once per process and keeps it across sane_exit, so there is one
// private configuration for the whole test program. The test backend's own test.conf has to
// be there as well: without it the default resolution is broken.
struct SaneConfig {
    SaneConfig()
    {
        keepSaneTestBackendLoaded();
        writeBackendList(dir, "test\n");
        std::filesystem::copy_file("/etc/sane.d/test.conf", dir / "test.conf");
        qputenv("SANE_CONFIG_DIR", QByteArray::fromStdString(dir.str()));
    }
    TempDir dir;
};

const TempDir& saneConfig()
{
    static const SaneConfig config;
    return config.dir;
}

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// Test output names a case rather than dumping its bytes.
template <typename Case>
requires requires(const Case& c)
{
    c.name;
}
void PrintTo(const Case& aCase, std::ostream* out)
{
    *out << aCase.name;
}

ScanSettings with(ScanSettings settings, const Options& extra)
{
    settings.options.insert(settings.options.end(), extra.begin(), extra.end());
    return settings;
}

// 2 × 3 mm at 254 dpi: 20 × 30 pixels.
ScanSettings smallScan(const QString& mode, const Options& extra = {})
{
    return with({mode, 254, {{"br-x", "2"}, {"br-y", "3"}}}, extra);
}

QImage scan(const ScanSettings& settings, const TaskControl& control = {})
{
    return imaging::acquireScan(QStringLiteral("test:0"), control, settings);
}

template <typename Call> Error errorOf(Call&& call)
{
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error was thrown";
    return Error(ErrorCode::UnknownFormat, {});
}

std::size_t colourCount(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

testing::AssertionResult sameImage(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size() || actual.format() != expected.format())
        return testing::AssertionFailure()
               << actual.width() << " × " << actual.height() << " format " << actual.format() << " instead of "
               << expected.width() << " × " << expected.height() << " format " << expected.format();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return testing::AssertionFailure() << "first difference at " << x << ", " << y << ": " << std::hex
                                                   << actual.pixel(x, y) << " instead of " << expected.pixel(x, y);
    return testing::AssertionSuccess();
}

class ScannerTest : public testing::Test {
protected:
    static void SetUpTestSuite() { saneConfig(); }
    void TearDown() override { writeBackendList(saneConfig(), "test\n"); }
};

TEST_F(ScannerTest, ListsTheTestDevices)
{
    const std::vector<imaging::ScannerDevice> devices = imaging::listScanners();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, "test:0");
    EXPECT_EQ(devices[1].name, "test:1");
    EXPECT_EQ(devices[0].vendor, "Noname");
    EXPECT_EQ(devices[0].model, "frontend-tester");
    EXPECT_EQ(devices[0].type, "virtual device");
    EXPECT_EQ(devices[0].label(), "Noname frontend-tester (test:0)");
}

TEST_F(ScannerTest, WithoutScannersNothingIsListedAndScanningSaysSo)
{
    writeBackendList(saneConfig(), "");
    EXPECT_TRUE(imaging::listScanners().empty());
    const Error error = errorOf([] { imaging::acquireScan({}, {}, {}); });
    EXPECT_EQ(error.code(), ErrorCode::ScannerFailed);
    EXPECT_EQ(error.text(), "No scanner was found");
}

TEST_F(ScannerTest, UnknownDeviceIsNamedInTheError)
{
    const Error error = errorOf([] { imaging::acquireScan(QStringLiteral("test:9"), {}, smallScan("Gray")); });
    EXPECT_EQ(error.code(), ErrorCode::ScannerFailed);
    EXPECT_TRUE(error.text().contains("test:9")) << error.what();
}

struct Fill {
    const char* name;
    QString mode;
    Options options;
    QImage::Format format;
    QRgb colour;
};

class SolidFillTest : public ScannerTest, public testing::WithParamInterface<Fill> {};

TEST_P(SolidFillTest, EveryPixelHasTheFillColour)
{
    const Fill& fill = GetParam();
    QImage expected(20, 30, fill.format);
    expected.fill(QColor(fill.colour));
    EXPECT_TRUE(sameImage(scan(smallScan(fill.mode, fill.options)), expected));
}

const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Modes, SolidFillTest,
    testing::Values(
        Fill{"ColourWhite", "Color", {{"test-picture", "Solid white"}}, QImage::Format_RGB32, white},
        Fill{"ColourBlack", "Color", {{"test-picture", "Solid black"}}, QImage::Format_RGB32, black},
        // Each frame must set its own channel and keep the others.
        Fill{"ThreePassWhite",
             "Color",
             {{"three-pass", "yes"}, {"test-picture", "Solid white"}},
             QImage::Format_RGB32,
             white},
        // One-bit colour samples are intensities: 1 is full.
        Fill{"OneBitColourWhite",
             "Color",
             {{"depth", "1"}, {"test-picture", "Solid white"}},
             QImage::Format_RGB32,
             white},
        Fill{"GreyWhite", "Gray", {{"test-picture", "Solid white"}}, QImage::Format_Grayscale8, white},
        Fill{"SixteenBitGreyWhite",
             "Gray",
             {{"depth", "16"}, {"test-picture", "Solid white"}},
             QImage::Format_Grayscale8,
             white},
        // The test backend has no line-art mode: grey at one bit, where 1 means black.
        Fill{"LineartBlack", "Lineart", {{"test-picture", "Solid black"}}, QImage::Format_Grayscale8, black},
        Fill{"LineartWhite", "Lineart", {{"test-picture", "Solid white"}}, QImage::Format_Grayscale8, white}),
    caseName<Fill>);

// A scan of 40 × 30 mm at 50 dpi: 78 × 59 pixels.
ScanSettings area(const QString& mode, const QString& picture, const Options& extra = {})
{
    return with({mode, 50, {{"br-x", "40"}, {"br-y", "30"}, {"test-picture", picture}}}, extra);
}

// The same picture sent another way must come out as the plain 8-bit one-pass scan.
struct Variant {
    const char* name;
    const char* picture;
    QString plainMode;
    QString mode;
    Options options;
    int lostPixels = 0; // at the end of each line
};

class TransferTest : public ScannerTest, public testing::WithParamInterface<Variant> {};

TEST_P(TransferTest, GivesThePlainScansPicture)
{
    const Variant& variant = GetParam();
    const QImage plain = scan(area(variant.plainMode, variant.picture));
    ASSERT_GE(colourCount(plain), 2u);
    const QImage image = scan(area(variant.mode, variant.picture, variant.options));
    EXPECT_TRUE(sameImage(image, plain.copy(0, 0, plain.width() - variant.lostPixels, plain.height())));
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, TransferTest,
    testing::Values(
        Variant{"ThreePassRgb", "Color pattern", "Color", "Color", {{"three-pass", "yes"}}},
        Variant{
            "ThreePassBgr", "Color pattern", "Color", "Color", {{"three-pass", "yes"}, {"three-pass-order", "BGR"}}},
        // Pieces that split lines and pixels.
        Variant{"OddReads", "Color pattern", "Color", "Color", {{"read-limit", "yes"}, {"read-limit-size", "7"}}},
        // Lines longer than their pixels.
        Variant{"PaddedLines", "Color pattern", "Color", "Color", {{"ppl-loss", "5"}}, 5},
        // The grid's squares do not start on byte boundaries at this resolution.
        Variant{"LineartGrid", "Grid", "Gray", "Lineart", {}}),
    caseName<Variant>);

// In the test picture's 16-bit colour pattern, line 8 crosses a band whose red high byte climbs
// along the line while the low byte stays the same.
TEST_F(ScannerTest, SixteenBitSamplesGiveTheirHighByte)
{
    const QImage image = scan(area("Color", "Color pattern", {{"depth", "16"}}));
    std::set<int> reds;
    for (int x = 0; x < image.width(); ++x)
        reds.insert(qRed(image.pixel(x, 8)));
    EXPECT_GE(reds.size(), 40u);
}

// A hand scanner does not announce the height; its 11 cm wide strip must equal a flatbed scan
// of the same area, which does.
TEST_F(ScannerTest, UnknownHeightGrowsWithTheData)
{
    std::vector<int> percents;
    const TaskControl control{[&](int percent, const QString&) { percents.push_back(percent); }, nullptr};
    const QImage hand = scan({"Gray", 50, {{"hand-scanner", "yes"}, {"test-picture", "Grid"}}}, control);
    ASSERT_EQ(hand.width(), 216);
    const QImage flatbed = scan({"Gray", 50, {{"test-picture", "Grid"}, {"br-x", "110"}, {"br-y", "200"}}});
    ASSERT_GT(flatbed.height(), hand.height());
    EXPECT_TRUE(sameImage(hand, flatbed.copy(0, 0, 216, hand.height())));
    // Progress moved on an estimate before the end.
    EXPECT_TRUE(
        std::any_of(percents.begin(), percents.end(), [](int percent) { return percent > 0 && percent < 100; }));
    EXPECT_EQ(percents.back(), 100);
}

class DeviceFailureTest : public ScannerTest, public testing::WithParamInterface<std::pair<QString, QString>> {};

// Without a device name the first one listed is used: the error names it.
TEST_P(DeviceFailureTest, ReportsTheDeviceAndSanesReason)
{
    const auto& [status, reason] = GetParam();
    // With a descriptor to wait on, the scan waits for data before reading.
    const Options failure{{"select-fd", "yes"}, {"read-return-value", status}};
    const Error error = errorOf([&] { imaging::acquireScan({}, {}, smallScan("Gray", failure)); });
    EXPECT_EQ(error.code(), ErrorCode::ScannerFailed);
    EXPECT_EQ(error.text(), "The scanner test:0 reports: " + reason);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DeviceFailureTest,
    testing::Values(std::pair<QString, QString>{"SANE_STATUS_JAMMED", "Document feeder jammed"},
                    std::pair<QString, QString>{"SANE_STATUS_NO_DOCS", "Document feeder out of documents"},
                    std::pair<QString, QString>{"SANE_STATUS_IO_ERROR", "Error during device I/O"}));

TEST_F(ScannerTest, RefusedSettingsNameTheSetting)
{
    for (const auto& [option, value] : Options{{"test-picture", "Sunset"},
                                               {"no-such-option", "1"},
                                               {"hand-scanner", "maybe"},
                                               {"ppl-loss", "many"},
                                               {"br-x", "1e9"}}) {
        const Error error = errorOf([&] { scan(smallScan("Gray", {{option, value}})); });
        EXPECT_EQ(error.code(), ErrorCode::ScannerFailed);
        EXPECT_TRUE(error.text().contains(option)) << error.what();
    }
    const Error error = errorOf([] { scan(smallScan("Sepia")); });
    EXPECT_TRUE(error.text().contains("mode = Sepia")) << error.what();
}

TEST_F(ScannerTest, CancelRequestStopsTheScan)
{
    std::atomic_bool cancel = false;
    int lastPercent = -1;
    const TaskControl control{[&](int percent, const QString&) {
                                  lastPercent = percent;
                                  cancel = percent > 0;
                              },
                              &cancel};
    const Error error = errorOf([&] {
        scan(smallScan("Gray", {{"read-limit", "yes"}, {"read-limit-size", "40"}}), control);
    });
    EXPECT_EQ(error.code(), ErrorCode::Cancelled);
    EXPECT_GT(lastPercent, 0);
    EXPECT_LT(lastPercent, 100);
    // The session was given back.
    EXPECT_EQ(imaging::listScanners().size(), 2u);
}

// The program scans on a worker thread; SANE allows one session per process, so anything else
// asking for the scanner meanwhile is refused instead of tearing the session down.
TEST_F(ScannerTest, ScansOnAWorkerThreadAndRefusesASecondSession)
{
    std::optional<Error> refusal;
    QImage image;
    const TaskControl control{[&](int, const QString&) {
                                  if (!refusal)
                                      refusal = errorOf([] { imaging::listScanners(); });
                              },
                              nullptr};
    std::thread worker([&] { image = scan(smallScan("Gray", {{"test-picture", "Solid white"}}), control); });
    worker.join();
    EXPECT_EQ(image.size(), QSize(20, 30));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->code(), ErrorCode::ScannerFailed);
    EXPECT_EQ(imaging::listScanners().size(), 2u);
}

// Limits no test device reaches, fed to the assembler directly.
SANE_Parameters greyFrame(SANE_Int width, SANE_Int lines, SANE_Int bytesPerLine)
{
    return {SANE_FRAME_GRAY, SANE_TRUE, bytesPerLine, width, lines, 8};
}

TEST(PictureAssemblerTest, RefusesWhatItCannotHold)
{
    imaging::scanning::PictureAssembler huge(QStringLiteral("big"));
    EXPECT_EQ(errorOf([&] { huge.beginFrame(greyFrame(100'000, 100'000, 100'000)); }).code(), ErrorCode::TooLarge);

    imaging::scanning::PictureAssembler endless(QStringLiteral("endless"), 1000);
    endless.beginFrame(greyFrame(10, -1, 10));
    const std::vector<SANE_Byte> rows(1000);
    endless.append(rows.data(), static_cast<qsizetype>(rows.size()));
    EXPECT_EQ(errorOf([&] { endless.append(rows.data(), 10); }).code(), ErrorCode::TooLarge);

    imaging::scanning::PictureAssembler shortLines(QStringLiteral("short"));
    EXPECT_EQ(errorOf([&] { shortLines.beginFrame(greyFrame(10, 5, 9)); }).code(), ErrorCode::ScannerFailed);

    imaging::scanning::PictureAssembler empty(QStringLiteral("empty"));
    empty.beginFrame(greyFrame(10, 5, 10));
    empty.append(rows.data(), 9);
    EXPECT_EQ(errorOf([&] { empty.takePicture(); }).code(), ErrorCode::ScannerFailed);
}

} // namespace
