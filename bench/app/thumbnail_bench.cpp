// A page of the thumbnail manager: 20 photos of 6000x4000 read from the album and shown at
// thumbnail size, timed next to vipsthumbnail making thumbnails of the same size from the same
// 20 files, interleaved in the same run. The page's peak memory is measured in a process of
// its own (`thumbnail_bench --page FOLDER` loads one page and reports it).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "benchalbum.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "data/schema.h"
#include "timing.h"
#include "views/Thumb.h"

namespace {

constexpr int pictureCount = TForm10::pageSize;
constexpr int rounds = 7;
const char* const thumbnailSize = "93x81";

// A status line of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKilobytes(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(static_cast<int>(std::strlen(name)) + 1).trimmed().split(' ').front().toLong();
    return -1;
}

struct OpenPage {
    TTable pictures;
    QWidget mainView;
    TForm10 manager;

    explicit OpenPage(const QString& folder)
    {
        pictures.setDatabaseName(folder.toStdString());
        pictures.setTableName(schema::pictureTableName("thumbs"));
        pictures.open();
        manager.bind(pictures, mainView);
    }
    // The page from the first picture, until every thumbnail is in its slot.
    double load()
    {
        pictures.first();
        return milliseconds([this] {
            manager.ShowThumbs();
            manager.waitForThumbnails();
        });
    }
};

int measurePage(const QString& folder)
{
    OpenPage page(folder);
    const long before = statusKilobytes("VmRSS");
    page.load();
    const long peak = statusKilobytes("VmHWM");
    std::printf("%ld %ld\n", before, peak);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    BenchProgram bench(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--page"))
        return measurePage(arguments[2]);

    const QString folder = bench.work.path();
    std::printf("making %d photos of 6000x4000...\n", pictureCount);
    const std::vector<QString> files = createPhotoAlbum(folder, "thumbs", pictureCount);
    qint64 bytes = 0;
    for (const QString& file : files)
        bytes += QFileInfo(file).size();
    std::printf("%d JPEG files, %.1f MB in all\n", pictureCount, static_cast<double>(bytes) / 1e6);

    const QString out = QDir(folder).filePath(QStringLiteral("vips"));
    QDir().mkpath(out);
    std::vector<std::string> vips{"vipsthumbnail", "-s", thumbnailSize, "-o", (out + "/%s.jpg").toStdString()};
    for (const QString& file : files)
        vips.push_back(file.toStdString());
    if (runProgram(vips) != 0) {
        std::fprintf(stderr, "vipsthumbnail did not run (package libvips-tools)\n");
        return 1;
    }

    OpenPage page(folder);
    std::vector<double> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(page.load());
        theirs.push_back(milliseconds([&] { runProgram(vips); }));
    }
    const double pageMs = median(ours), vipsMs = median(theirs);
    std::printf("page of %d thumbnails      %8.1f ms (median of %d)\n", pictureCount, pageMs, rounds);
    std::printf("vipsthumbnail, same files   %8.1f ms\n", vipsMs);
    std::printf("ratio page / vipsthumbnail  %8.2f (target <= 1.0)\n", pageMs / vipsMs);

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--page"), folder});
    child.waitForFinished(-1);
    const QList<QByteArray> memory = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || memory.size() != 2) {
        std::fprintf(stderr, "the page's memory could not be measured\n");
        return 1;
    }
    const double before = memory[0].toDouble() / 1024.0, peak = memory[1].toDouble() / 1024.0;
    std::printf("memory before the page      %8.1f MB\n", before);
    std::printf("peak with the page          %8.1f MB\n", peak);
    std::printf("the page's peak             %8.1f MB (target <= 150)\n", peak - before);
    return 0;
}
