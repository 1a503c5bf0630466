// Exporting the marked pictures of an album of 24-megapixel JPEGs as JPG through the real
// "as JPG" batch command, next to ImageMagick's convert doing the same conversions at the same
// quality one file at a time, in the same run. Usage: export_bench [picture count, default 200]
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "app/main.h"
#include "app/program.h"
#include "benchalbum.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "data/data.h"
#include "framework/qtdialogservice.h"
#include "imaging/encoder.h"
#include "timing.h"

namespace {

// Answers the folder chooser with the output folder; every other dialog is the real one.
class ChosenFolder : public QtDialogService {
public:
    explicit ChosenFolder(QString folder) : folder_(std::move(folder)) {}
    std::optional<QString> chooseDirectory(QWidget*, const QString&, const QString&) override { return folder_; }

private:
    QString folder_;
};

// A photo-like 24-megapixel JPEG at quality 90.
QByteArray photoJpeg()
{
    imaging::SaveSettings settings;
    settings.setJpegQuality(90);
    return imaging::encode(photoLikePicture(QSize(6000, 4000)), imaging::SaveFormat::Jpg, settings);
}

// ImageMagick's own program, not a stand-in that may come first on PATH.
const std::string convertProgram = QFile::exists("/usr/bin/convert-im6.q16") ? "/usr/bin/convert-im6.q16" : "convert";

void emptyFolder(const QString& path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    BenchProgram bench(argc, argv);
    const QTemporaryDir& work = bench.work;
    const QByteArray jpeg = photoJpeg();
    std::printf("%d pictures of 6000x4000, %.1f MB each as JPEG\n", count, double(jpeg.size()) / 1e6);

    // The album, every picture marked, and the same pictures as files for convert.
    QDir(work.path()).mkdir("in");
    QStringList files;
    createAlbum(work.path(), "photos", [&](TTable& pictures) {
        for (int i = 0; i < count; ++i) {
            const QByteArray bytes = jpeg + QByteArray::number(i);
            pictures.append();
            pictures.fieldByName("NAAM").setAsString("photo " + std::to_string(i));
            pictures.fieldByName("MARK").setAsBoolean(true);
            pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(bytes.begin(), bytes.end()));
            files << work.filePath(QStringLiteral("in/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
            QFile file(files.back());
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
    });

    const QString out = work.filePath("out");
    ChosenFolder dialogs(out);
    Program program(dialogs);
    TForm1& form = showMainWindow(program);
    openAlbum(form, program.db(), dialogs, work.path().toStdString(), "photos");
    const int quality = pictureView(form).settings().jpegQuality();

    // Rounds alternate the two sides; each is timed until its files are on disk.
    std::vector<double> convertTimes;
    std::vector<double> exportTimes;
    for (int round = 0; round < 3; ++round) {
        emptyFolder(out);
        runProgram({"sync"});
        convertTimes.push_back(milliseconds([&] {
            for (int i = 0; i < count; ++i)
                runProgram({convertProgram, files[i].toStdString(), "-quality", std::to_string(quality),
                            QStringLiteral("%1/pic%2.jpg").arg(out).arg(i + 1, 4, 10, QLatin1Char('0')).toStdString()});
            runProgram({"sync"});
        }) / 1000.0);
        emptyFolder(out);
        runProgram({"sync"});
        exportTimes.push_back(milliseconds([&] {
            form.asJPG1Click();
            runProgram({"sync"});
        }) / 1000.0);
        std::printf("round %d: convert %.2f s, as JPG %.2f s, %lld files\n", round + 1, convertTimes.back(),
                    exportTimes.back(), static_cast<long long>(QDir(out).entryList(QDir::Files).size()));
    }
    const double convert = median(convertTimes);
    const double exported = median(exportTimes);
    std::printf("convert one file at a time (median)  %7.2f s\n", convert);
    std::printf("batch export as JPG (median)          %7.2f s\n", exported);
    std::printf("export / convert                      %7.2f    target <= 0.5\n", exported / convert);
    form.close();
    return 0;
}
