// Browsing speed through the real main window: stepping through 50 photos of 6000x4000 in a
// 1280x800 view (decoded ahead, and cold next to djpeg -scale 1/4 of the same files), finding
// text that is in no memo of 10,000 pictures, and switching a category filter on them.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSplitter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

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
#include "imaging/pdbmultiimage.h"

namespace {

using Clock = std::chrono::steady_clock;

void createMemoAlbum(const QString& folder, int count)
{
    createAlbum(folder, "memos", [&](TTable& pictures) {
        const std::string memo(290, 'w');
        for (int i = 0; i < count; ++i) {
            pictures.append();
            pictures.fieldByName("MEMO").setAsString(memo + std::to_string(i));
            pictures.fieldByName("3").setAsBoolean(i % 3 == 0);
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    BenchProgram bench(argc, argv);
    const QTemporaryDir& work = bench.work;
    constexpr int photoCount = 50;
    std::printf("making %d photos of 6000x4000 ...\n", photoCount);
    const auto started = Clock::now();
    const std::vector<QString> files = createPhotoAlbum(work.path(), "photos", photoCount);
    createMemoAlbum(work.path(), 10000);
    std::printf("albums made in %.0f s\n", std::chrono::duration<double>(Clock::now() - started).count());

    QtDialogService dialogs;
    Program program(dialogs);
    TForm1& form = showMainWindow(program);
    TPDBMultiImage& view = pictureView(form);
    sizePictureView(form, QSize(1280, 800));

    openAlbum(form, program.db(), dialogs, work.path().toStdString(), "photos");
    view.setStretchRatio(true);
    std::vector<double> ahead;
    const auto browsing = Clock::now();
    for (int i = 0; i < photoCount; ++i) {
        view.waitForPrefetch(); // the user looks at the picture meanwhile
        ahead.push_back(timedStep(form));
    }
    std::printf("stepped through in %.0f s\n", std::chrono::duration<double>(Clock::now() - browsing).count());
    view.setPrefetching(false);
    std::vector<double> cold;
    for (int i = 0; i < 15; ++i)
        cold.push_back(timedStep(form));
    std::vector<double> djpeg;
    for (int i = 0; i < 15; ++i)
        djpeg.push_back(milliseconds([&] {
            runProgram(
                {"djpeg", "-scale", "1/4", "-outfile", "/dev/null", files[static_cast<std::size_t>(i)].toStdString()});
        }));

    openAlbum(form, program.db(), dialogs, work.path().toStdString(), "memos");
    QLineEdit& findBox = *form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    findBox.setText(QStringLiteral("in no memo"));
    std::vector<double> finds;
    for (int i = 0; i < 7; ++i)
        finds.push_back(milliseconds([&] { form.SpeedButton2Click(); }));
    findBox.clear();
    std::vector<double> filters;
    for (int i = 0; i < 7; ++i) {
        filters.push_back(milliseconds([&] { form.RzLabel4Click(); }));
        filters.push_back(milliseconds([&] { form.SpeedButton7Click(); }));
    }

    std::printf("\n");
    row("step to a photo decoded ahead (median of 50)", median(ahead), "target <= 20 ms");
    const double coldMedian = median(cold);
    const double djpegMedian = median(djpeg);
    row("step to a photo not decoded ahead (median of 15)", coldMedian, "");
    row("djpeg -scale 1/4 of the same files (median of 15)", djpegMedian, "");
    std::printf("%-58s %9.2f      target <= 1.2\n", "cold step / djpeg -scale 1/4", coldMedian / djpegMedian);
    row("find over 10,000 memos, no match", median(finds), "target <= 150 ms");
    row("category filter switch on 10,000 pictures", median(filters), "target <= 20 ms");
    form.close();
    return 0;
}
