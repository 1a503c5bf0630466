// Importing many 3 MB JPEG files through the real "Import Multiple" command, next to cp of the
// same files in the same run. Usage: import_bench [file count, default 1000]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/main.h"
#include "app/program.h"
#include "benchalbum.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "timing.h"
#include "data/albumcreation.h"
#include "data/data.h"
#include "data/schema.h"
#include "framework/application.h"
#include "framework/qtdialogservice.h"
#include "imaging/encoder.h"
#include "imaging/initialise.h"

namespace {

double seconds(const std::function<void()>& work)
{
    return milliseconds(work) / 1000.0;
}

// Answers the file dialog with the prepared files; every other dialog is the real one.
class ChosenFiles : public QtDialogService {
public:
    explicit ChosenFiles(QStringList files) : files_(std::move(files)) {}
    std::optional<QStringList> openFiles(QWidget*, const FileDialogRequest&) override { return files_; }

private:
    QStringList files_;
};

// A photo-like JPEG of about 3 MB, and `count` files of it that differ in their last bytes.
QStringList writeFiles(const QString& folder, int count)
{
    imaging::SaveSettings settings;
    settings.setJpegQuality(95);
    const QByteArray jpeg = imaging::encode(photoLikePicture(QSize(3000, 2250)), imaging::SaveFormat::Jpg, settings);
    QStringList files;
    for (int i = 0; i < count; ++i) {
        files << QStringLiteral("%1/IMG_%2.JPG").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
        QFile file(files.back());
        file.open(QIODevice::WriteOnly);
        file.write(jpeg);
        file.write(QByteArray::number(i)); // after the end of the picture: a different file
    }
    std::printf("%d files of %.1f MB\n", count, double(jpeg.size()) / 1e6);
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    BenchProgram bench(argc, argv);
    const QTemporaryDir& work = bench.work;
    QDir(work.path()).mkdir("in");
    const QStringList files = writeFiles(work.filePath("in"), count);

    ChosenFiles dialogs(files);
    Program program(dialogs);
    TForm1& form = showMainWindow(program);

    // Rounds alternate the two sides; each starts with nothing left to write back and the
    // other side's copies gone, so neither pays for the other. Each side is timed until its
    // bytes are on disk, so how much the page cache holds back does not decide the figure.
    std::vector<double> cpTimes;
    std::vector<double> importTimes;
    for (int round = 0; round < 3; ++round) {
        QDir(work.filePath("copy")).removeRecursively();
        QDir(work.path()).mkdir("copy");
        runProgram({"sync"});
        cpTimes.push_back(seconds([&] {
            std::vector<std::string> command{"cp"};
            for (const QString& file : files)
                command.push_back(file.toStdString());
            command.push_back(work.filePath("copy").toStdString());
            runProgram(command);
            runProgram({"sync"});
        }));
        QDir(work.filePath("copy")).removeRecursively();
        const std::string album = "import" + std::to_string(round);
        createAlbum(work.path(), album, [](TTable&) {});
        runProgram({"sync"});
        openAlbum(form, program.db(), dialogs, work.path().toStdString(), album);
        importTimes.push_back(seconds([&] {
            form.ImportMulti1Click();
            program.db().Table1.refresh(); // the last picture is stored too
            runProgram({"sync"});
        }));
        std::printf("round %d: cp %.2f s, import %.2f s, %d records\n", round + 1, cpTimes.back(), importTimes.back(),
                    program.db().Table1.recordCount());
        closeAlbum(form, program.db(), dialogs);
        for (const char* suffix : {".db", ".mb", "1.db", "2.db"})
            QFile::remove(work.filePath(QString::fromStdString(album) + suffix));
    }
    const double cp = median(cpTimes);
    const double import = median(importTimes);
    const double megabytes = double(QFileInfo(files.front()).size()) * count / 1e6;
    std::printf("cp of the files (median)        %7.2f s  %7.0f MB/s\n", cp, megabytes / cp);
    std::printf("Import Multiple (median)        %7.2f s  %7.0f MB/s\n", import, megabytes / import);
    std::printf("import throughput / cp          %7.2f    target >= 0.8\n", cp / import);
    form.close();
    return 0;
}
