// Mark all and unmark all over 10,000 pictures through the real main window's commands (the
// picture view and the other bound controls suspended meanwhile). Target: each at most 2 s.
// Usage: maintenance_bench [picture count, default 10000]
#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/main.h"
#include "app/program.h"
#include "benchalbum.h"
#include "benchprogram.h"
#include "timing.h"
#include "framework/qtdialogservice.h"

namespace {

// A small JPEG, so that the table holds a picture per record as an album does.
paradox::Bytes smallPicture()
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG");
    return paradox::Bytes(bytes.begin(), bytes.end());
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    BenchProgram bench(argc, argv);
    const paradox::Bytes picture = smallPicture();
    createAlbum(bench.work.path(), "marks", [&](TTable& pictures) {
        for (int i = 0; i < count; ++i) {
            pictures.append();
            pictures.fieldByName("NAAM").setAsString("picture " + std::to_string(i));
            pictures.fieldByName("FOTO").setAsBytes(picture);
        }
    });
    QtDialogService dialogs;
    Program program(dialogs);
    TForm1& form = showMainWindow(program);
    openAlbum(form, program.db(), dialogs, bench.work.path().toStdString(), "marks");
    std::printf("%d pictures\n", program.db().Table1.recordCount());

    std::vector<double> markTimes;
    std::vector<double> unmarkTimes;
    for (int round = 0; round < 3; ++round) {
        markTimes.push_back(milliseconds([&] { form.MarkallPictures1Click(); }) / 1000.0);
        unmarkTimes.push_back(milliseconds([&] { form.Unmarkallpictures1Click(); }) / 1000.0);
        std::printf("round %d: mark all %.2f s, unmark all %.2f s\n", round + 1, markTimes.back(), unmarkTimes.back());
    }
    std::printf("Mark all Pictures (median)      %7.2f s   target <= 2 s\n", median(markTimes));
    std::printf("Unmark all Pictures (median)    %7.2f s   target <= 2 s\n", median(unmarkTimes));
    closeAlbum(form, program.db(), dialogs);
    form.close();
    return 0;
}
