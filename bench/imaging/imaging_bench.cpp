// Decoding and encoding a 24-megapixel photo with the album's codecs, next to djpeg and cjpeg
// doing the same work on the same files. Prints the medians side by side and their ratios.
#include "imaging/decoder.h"
#include "imaging/encoder.h"
#include "imaging/initialise.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "benchsupport.h"

namespace {

constexpr QSize photoSize(6000, 4000);
constexpr QSize screenBox(1280, 800);

struct Files {
    QTemporaryDir folder;
    QString ppm = folder.filePath(QStringLiteral("photo.ppm"));
    QString jpeg = folder.filePath(QStringLiteral("photo.jpg"));
    QImage photo;
    QByteArray jpegBytes;
};

Files* files = nullptr;

void fitCold(benchmark::State& state)
{
    for (auto _ : state) {
        imaging::DecodeRequest request;
        request.fitInto = screenBox;
        benchmark::DoNotOptimize(imaging::decode(files->jpegBytes, std::move(request)));
    }
}

void djpegQuarter(benchmark::State& state)
{
    const std::string jpeg = files->jpeg.toStdString();
    for (auto _ : state)
        runProgram({"djpeg", "-scale", "1/4", "-outfile", "/dev/null", jpeg});
}

void fullReused(benchmark::State& state)
{
    QImage buffer = imaging::decode(files->jpegBytes).image; // the picture shown before
    for (auto _ : state) {
        imaging::DecodeRequest request;
        request.buffer = std::move(buffer);
        buffer = imaging::decode(files->jpegBytes, std::move(request)).image;
    }
}

void fullCold(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::decode(files->jpegBytes));
}

void djpegFull(benchmark::State& state)
{
    const std::string jpeg = files->jpeg.toStdString();
    for (auto _ : state)
        runProgram({"djpeg", "-outfile", "/dev/null", jpeg});
}

void encodeQuality90(benchmark::State& state)
{
    imaging::SaveSettings settings;
    settings.setJpegQuality(90);
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::encode(files->photo, imaging::SaveFormat::Jpg, settings));
}

void cjpegQuality90(benchmark::State& state)
{
    const std::string ppm = files->ppm.toStdString();
    for (auto _ : state)
        runProgram({"cjpeg", "-quality", "90", "-outfile", "/dev/null", ppm});
}

// Keeps the median of each benchmark's repetitions for the comparison table.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

void printComparison(const std::map<std::string, double>& medians)
{
    struct Row {
        const char* what;
        const char* ours;
        const char* theirs;
    };
    std::printf("\n%-46s %10s %10s %7s  %s\n", "6000x4000 JPEG, quality 90 (median ms)", "album", "libjpeg", "ratio",
                "target");
    for (const Row& row : {Row{"decode fitted into 1280x800, fresh buffers", "fit_cold", "djpeg_scale_1/4"},
                           Row{"decode full size into a reused buffer", "full_reused", "djpeg_full"},
                           Row{"decode full size into a fresh buffer", "full_cold", "djpeg_full"},
                           Row{"encode at quality 90", "encode_q90", "cjpeg_q90"}}) {
        const double ours = medians.at(row.ours);
        const double theirs = medians.at(row.theirs);
        std::printf("%-46s %10.1f %10.1f %7.2f  %s\n", row.what, ours, theirs, ours / theirs,
                    ours / theirs <= 1.2 ? "<= 1.2 met" : "<= 1.2 MISSED");
    }
}

} // namespace

int main(int argc, char** argv)
{
    imaging::initialise();
    Files prepared;
    files = &prepared;
    prepared.photo = photoLikePicture(photoSize);
    writePpm(prepared.photo, prepared.ppm);
    if (runProgram({"cjpeg", "-quality", "90", "-outfile", prepared.jpeg.toStdString(), prepared.ppm.toStdString()}) !=
        0) {
        std::fprintf(stderr, "cjpeg (libjpeg-turbo-progs) is needed\n");
        return 1;
    }
    QFile jpeg(prepared.jpeg);
    jpeg.open(QIODevice::ReadOnly);
    prepared.jpegBytes = jpeg.readAll();
    std::printf("test photo: %dx%d, %.1f MB as JPEG\n", photoSize.width(), photoSize.height(),
                double(prepared.jpegBytes.size()) / 1e6);

    const auto add = [](const char* name, void (*function)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(0.5)
            ->Repetitions(7)
            ->ReportAggregatesOnly(true);
    };
    add("fit_cold", fitCold);
    add("djpeg_scale_1/4", djpegQuarter);
    add("full_reused", fullReused);
    add("full_cold", fullCold);
    add("djpeg_full", djpegFull);
    add("encode_q90", encodeQuality90);
    add("cjpeg_q90", cjpegQuality90);

    benchmark::Initialize(&argc, argv);
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison(reporter.medians);
    return 0;
}
