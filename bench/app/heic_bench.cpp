// Stepping through 30 phone photos in a 1280x800 view: HEIC of 12 megapixels stored sideways
// and turned upright by the container (with the same turn told in the EXIF block, as phones
// write them). Decoded ahead, and cold next to libheif's own heif-convert of the same files.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

#include "app/main.h"
#include "app/program.h"
#include "benchalbum.h"
#include "benchprogram.h"
#include "benchsupport.h"
#include "framework/qtdialogservice.h"
#include "heifwriter.h"
#include "imaging/pdbmultiimage.h"
#include "timing.h"

namespace {

using Clock = std::chrono::steady_clock;

// An EXIF block (big-endian TIFF structure) holding only "turn a quarter clockwise".
QByteArray quarterTurnExif()
{
    return QByteArray("MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 26);
}

std::vector<QString> createHeicAlbum(const QString& folder, int count)
{
    const QImage base = photoLikePicture(QSize(4032, 3024)); // stored sideways: 3024x4032 upright
    std::vector<QString> files;
    createAlbum(folder, "phone", [&](TTable& pictures) {
        for (int i = 0; i < count; ++i) {
            QImage photo = base.copy();
            for (int y = i * 90; y < i * 90 + 90; ++y)
                std::fill_n(reinterpret_cast<QRgb*>(photo.scanLine(y)), photo.width(), qRgb(i * 8, 80, 200 - i * 5));
            const QByteArray heic = fixtures::heifBytes(
                photo, {.quality = 70, .containerTurn = 6, .exif = quarterTurnExif(), .fastest = true});
            files.push_back(QStringLiteral("%1/photo%2.heic").arg(folder).arg(i));
            QFile file(files.back());
            file.open(QIODevice::WriteOnly);
            file.write(heic);
            pictures.append();
            pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(heic.begin(), heic.end()));
            std::printf(".");
            std::fflush(stdout);
        }
    });
    std::printf("\n");
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    BenchProgram bench(argc, argv);
    const QTemporaryDir& work = bench.work;
    constexpr int photoCount = 30;
    constexpr int coldCount = 10;
    std::printf("making %d HEIC photos of 4032x3024 turned to portrait ", photoCount);
    const auto started = Clock::now();
    const std::vector<QString> files = createHeicAlbum(work.path(), photoCount);
    std::printf("album made in %.0f s\n", std::chrono::duration<double>(Clock::now() - started).count());

    QtDialogService dialogs;
    Program program(dialogs);
    TForm1& form = showMainWindow(program);
    TPDBMultiImage& view = pictureView(form);
    sizePictureView(form, QSize(1280, 800));

    openAlbum(form, program.db(), dialogs, work.path().toStdString(), "phone");
    view.setStretchRatio(true);
    view.waitForDisplay();
    if (view.pictureSize() != QSize(3024, 4032))
        std::printf("WARNING: the photo is %dx%d, not upright 3024x4032\n", view.pictureSize().width(),
                    view.pictureSize().height());
    std::vector<double> ahead;
    for (int i = 0; i < photoCount; ++i) {
        view.waitForPrefetch(); // the user looks at the picture meanwhile
        ahead.push_back(timedStep(form));
    }
    view.setPrefetching(false);
    std::vector<double> cold;
    for (int i = 0; i < coldCount; ++i)
        cold.push_back(timedStep(form));
    // heif-convert decodes the same way (libheif, libde265) and writes the fastest output it
    // has: raw Y'CbCr (.y4m), no conversion to RGB. The shell only silences its messages.
    const std::string output = work.filePath("out.y4m").toStdString();
    std::vector<double> outside;
    for (int i = 0; i < coldCount; ++i) {
        const std::string command =
            "heif-convert '" + files[static_cast<std::size_t>(i)].toStdString() + "' '" + output + "' >/dev/null";
        outside.push_back(milliseconds([&] { runProgram({"sh", "-c", command}); }));
    }

    std::printf("\n");
    row("step to a HEIC photo decoded ahead (median of 30)", median(ahead), "target <= 20 ms");
    const double coldMedian = median(cold);
    const double outsideMedian = median(outside);
    row("step to a HEIC photo not decoded ahead (median of 10)", coldMedian, "");
    row("heif-convert to .y4m of the same files (median of 10)", outsideMedian, "");
    std::printf("%-62s %9.2f      target <= 1.2\n", "cold step / heif-convert", coldMedian / outsideMedian);
    form.close();
    return 0;
}
